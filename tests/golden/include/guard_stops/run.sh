# Guarded headers whose group holds, at a column on either side of a
# sixteen-byte step of the pass over the group's text, one of the bytes
# the pass must stop at: a trigraph, a splice, a comment of either kind, a
# lone CR, a CR LF, a NUL, a '?' or '\' that begins nothing, a quote (a
# literal in ISO C); and lines longer than the pass follows. Each header is
# included twice: passed over or read, the output and the messages must be
# what reading it gives.
if [ -n "${CPP_EMULATOR:-}" ]; then
  echo "skipped: bytes the Windows text checks of the output would take for line ends" >&2
  exit 77
fi
kinds=('??=' '\\\n' '/* c */' '// c' '\r' '\r\n' '\0' '?x' '\\x' "'q'" '"q"' '/x')
: > main.c
k=0
for kind in "${kinds[@]}"; do
  for column in 0 1 14 15 16 17 31 32 47; do
    name=h_${k}_$column
    {
      printf '#ifndef G_%s\n#define G_%s\nint v_%s;\n' "$name" "$name" "$name"
      printf "x%${column}s" ''
      printf -- "$kind"
      printf ' tail_%s;\n#endif\n' "$name"
    } > "$name.h"
    printf '#include "%s.h"\n#include "%s.h"\n' "$name" "$name" >> main.c
  done
  k=$((k + 1))
done
# Lines of 4095 to 4098 units in the group, and one of 9000.
for length in 4095 4096 4097 4098 9000; do
  name=long_$length
  {
    printf '#ifndef G_%s\n#define G_%s\n' "$name" "$name"
    printf "%${length}s\n" 'x'
    printf '#endif\n'
  } > "$name.h"
  printf '#include "%s.h"\n#include "%s.h"\n' "$name" "$name" >> main.c
done
for args in "" "-C" "--std=c99"; do
  echo "== $args"
  # shellcheck disable=SC2086
  "$CPP" $args main.c > o.txt 2> e.txt
  echo "status $?"
  tr -d '\000' < o.txt | sed 's/  *$//' | grep -v '^$'
  msgs < e.txt | sort | uniq -c
done
