# A run with an error leaves the report as far as it got: the macro table
# and the main page unclosed, the contents count not filled in.
# The program name is listed in the report: it is given a fixed one, which
# Windows replaces by the full path of the program (put back here).
(exec -a cpp "$CPP" --udf=r.html -U__DATE__ -U__TIME__ -U__STDC__ -U__FILE__ in.c out.i)
status=$?
sed -i 's|^<code>[A-Z]:\\.*\\cpp\.exe</code>|<code>cpp</code>|' main_r.html
exit $status
