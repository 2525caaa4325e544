# The report's command-line section lists the arguments as received: the
# program name, then every argument whole and in order.
printf 'a;\n' > main.c
"$CPP" --udf=r.html -DX=1 main.c -Iinc out.c
echo "status $?"
crlf_to_lf_files main_r.html out.c
sed -n '/name="CLA"/,/symbol_table/p' main_r.html | sed 's|<code>.*[/\\]cpp\(\.exe\)\?</code>|<code>CPP</code>|'
cat out.c
