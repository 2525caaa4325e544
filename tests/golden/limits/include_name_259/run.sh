# An include name of 259 characters opens; a longer one is cut to 259
# characters (here dropping the extra "x"): never a buffer overrun.
dir=$(printf 'd%.0s' $(seq 1 200))
mkdir -p "$dir"
name="$dir/$(printf 'h%.0s' $(seq 1 56)).h"
echo 'found' > "$name"
printf '#include "%s"\n' "$name" > ok.c
echo "${#name}"
"$CPP" ok.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
printf 'before\n#include "%s"\n' "${name}x" > long.c
"$CPP" long.c | crlf_to_lf | grep -v "^#" | grep .
echo "status ${PIPESTATUS[0]}"
