# Unknown option letters and keywords (-o, a gcc habit, among them) draw
# 168 and the run goes on; the 256th -I draws 147 and is dropped, the first
# 255 are searched in order.
printf 'a;\n' > main.c
"$CPP" -Q -7 -+ --versions -h --helpx -o -- --edf --emax --verx --foo=1 --udf main.c
echo "status $?"
args=()
for i in $(seq 1 256); do args+=("-Id$i"); done
mkdir d255 d256
echo 'from255;' > d255/a.h
echo 'from256;' > d256/a.h
echo 'from256only;' > d256/b.h
printf '#include <a.h>\n#include <b.h>\n' > main.c
"$CPP" "${args[@]}" main.c
echo "status $?"
