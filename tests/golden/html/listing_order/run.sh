# The macros defined before the input are listed chain by chain; within a
# chain, records of other hashes keep the order they were made in. AB, D
# and ab share a chain with three hashes: a redefined name keeps its place,
# a name removed and defined again goes to the end.
"$CPP" --udf=r.html -U__DATE__ -U__TIME__ -U__FILE__ -U__LINE__ -U__STDC__ \
  -DAB=1 -Dab=1 -DD=1 -DAB=2 -Uab -Dab=3 in.c out.i
echo "status $?"
crlf_to_lf_files main_r.html
sed -n -E 's#^<tr><td><code>([A-Za-z]*)</code></td><td>none</td><td>(.*)</td>(</tr>|</table>)$#\1 \2#p' main_r.html
