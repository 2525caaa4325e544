# The program name is listed in the report: it is given a fixed one, which
# Windows replaces by the full path of the program (put back here).
(exec -a cpp "$CPP" --udf=r.html -U__DATE__ -U__TIME__ -DDEBUG -DVER=2 in.c out.i)
status=$?
sed -i 's|^<code>[A-Z]:\\.*\\cpp\.exe</code>|<code>cpp</code>|' main_r.html
exit $status
