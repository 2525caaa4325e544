# The three pages of the report: the command line as received, then one
# row for every macro defined before the input (predefined, -D), for every
# #define and for every expansion. The program name is fixed for the test.
(exec -a cpp "$CPP" --udf=r.html -U__DATE__ -U__TIME__ -DDEBUG -DVER=2 in.c out.i)
echo "status $?"
name_in_reports cpp main_r.html
# __DATE__ and __TIME__ are listed with the string literals they expand to.
cd clock && "$CPP" --udf=r.html in.c out.i
crlf_to_lf_files main_r.html out.i
row='s#^<tr><td><code>(__[A-Z]*__)</code></td><td>none</td><td>(.*)</td>(</tr>|</table>)$#\1 \2#p'
sed -n -E "$row" main_r.html > rows
sed -E 's/"[A-Z][a-z]{2} [ 123][0-9] [0-9]{4}"/"Mmm dd yyyy"/; s/"[0-2][0-9]:[0-5][0-9]:[0-5][0-9]"/"hh:mm:ss"/' rows
[ "$(grep -v '^#' out.i | grep .)" = "$(sed -n 's/^__[DT][AI][TM]E__ //p' rows | head -2 | tr '\n' ' ' | sed 's/ $//')" ] && echo "same text in the output"
