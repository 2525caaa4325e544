# A guarded header already read, named again where the files open have
# reached their limit (the main file and 199 levels of #include), draws
# the error that ends the run, as any header would there, though it would
# only be passed over: first in <...> form, as read before at the top, and
# below the first line of the deepest file; then in "..." form, written in
# a file that included it already higher up.
run() {
  "$CPP" "$@" > o.txt 2> e.txt
  echo "status $?"
  cat o.txt e.txt
}
printf '#ifndef G_H\n#define G_H\nint g;\n#endif\n' > g.h
chain() {
  for i in $(seq 1 198); do printf '#include "%s%d.h"\n' "$1" $((i + 1)) > "$1$i.h"; done
}
chain a
printf 'int deepest;\n#include <g.h>\n' > a199.h
printf '#include <g.h>\n#include "a1.h"\nend;\n' > angle.c
run -I. angle.c
# b199.h is read twice: from the main file, and at the end of the chain.
chain b
printf 'int shallow;\n#include "g.h"\n' > b199.h
printf '#include "b199.h"\n#include "b1.h"\nend;\n' > quoted.c
run quoted.c
