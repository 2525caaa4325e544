# The 256th -I is dropped with 147; the first 255 are searched in order.
args=()
for i in $(seq 1 256); do args+=("-Id$i"); done
mkdir -p d255 d256
echo 'from255;' > d255/a.h
echo 'from256;' > d256/a.h
echo 'from256only;' > d256/b.h
printf '#include <a.h>\n#include <b.h>\n' > main.c
"$CPP" "${args[@]}" main.c
