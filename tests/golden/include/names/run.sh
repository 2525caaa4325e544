# Include names that cannot be used as they stand, run by run with the
# diagnostics after the output: no quotes (109; nothing of the line is
# written), found only under the lower-case name (164, 165), a directory too
# long with the name (146; the search goes on), a name past the collection
# buffer (156, cut, not found: 141), a name cut at 259 characters, absolute
# names (tried as they stand, in either form), not found at all (141 ends
# the run), and <...> without include directories.
printf 'one;\n#include b.h\ntwo;\n#include\nthree;\n#include   \nfour;\n#include "B.H"\n#include <a.h>\nend;\n' > main.c
echo 'lower;' > b.h
echo 'a;' > a.h
long=$(printf 'd%.0s' $(seq 8188))
run() {
  "$CPP" "$@" > o.txt 2> e.txt
  echo "status $?"
  cat o.txt e.txt | sed "s|$PWD|ROOT|g; s|$long|LONG|g"
}
run "-I$long" -I. main.c
{ printf '#include "'; printf 'n%.0s' $(seq 9000); printf '"\nafter;\n'; } > over.c
run over.c | sed -E 's/n{259}/N259/; s/n{200,}/NNN/; s/ {50,}/ ... /'
dir=$(printf 'a%.0s' $(seq 200))/$(printf 'b%.0s' $(seq 50))   # 251 characters
mkdir -p "$dir"
echo 'cut;' > "$dir/xxxxxxx"       # 251 + 1 + 7 = 259 characters
echo 'whole;' > "$dir/xxxxxxxx"
printf '#include "%s/xxxxxxxxyyyy"\n#include "%s/a.h"\n#include <%s/a.h>\n' "$dir" "$PWD" "$PWD" > cut.c
run -Inowhere cut.c | sed "s|$dir|DIR|g"
printf 'before;\n#include "sub\\missing.h"\nafter;\n' > missing.c
run -Iinc missing.c
printf 'before;\n#include <a.h>\nafter;\n' > angle.c
run angle.c
