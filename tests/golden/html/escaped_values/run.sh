# Text from the user's input is written into the report with '&', '<' and
# '>' escaped: macro values (and the report's notations for parameter
# references, control characters and other units), command-line arguments
# and the report's name in the page title. The program's own markup stays.
"$CPP" '-DX=<b>&' '--udf=r&d.html' in.c > /dev/null
echo "status $?"
grep TITLE 'r&d.html'
grep -v '<td><code>__' 'main_r&d.html' | sed 's|<code>.*[/\\]cpp\(\.exe\)\?</code>|<code>cpp</code>|'
