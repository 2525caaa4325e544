# The predefined macros in bucket order, the clock values shaped like the
# string literals they expand to, and the same text in the output.
"$CPP" --udf=r.html in.c out.i || exit 1
crlf_to_lf_files main_r.html out.i
sed -n 's/^<tr><td><code>\([^<]*\)<\/code>.*/\1/p' main_r.html
row='^<tr><td><code>__%s__</code></td><td>none</td><td>(%s)</td>(</tr>|</table>)$'
date_row=$(printf "$row" DATE '"[A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}"')
time_row=$(printf "$row" TIME '"[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"')
grep -E -c "$date_row" main_r.html
grep -E -c "$time_row" main_r.html
date=$(grep -E "$date_row" main_r.html | head -1 | sed -E "s#$date_row#\\1#")
time=$(grep -E "$time_row" main_r.html | head -1 | sed -E "s#$time_row#\\1#")
if grep -qxF "$date $time" out.i; then echo "output matches"; fi
