# Files that exist but cannot be read report 141 like missing ones. The
# permission test means nothing to root, who reads any file.
if [ "$(id -u)" = 0 ]; then
  echo "skipped: running as root, where chmod 000 does not stop reading" >&2
  exit 77
fi
printf 'a\n' > in.c
printf 'x\n' > h.h
printf '#include "h.h"\n' > inc.c
printf 'in.c\n' > cmds
chmod 000 in.c h.h cmds
for args in "in.c" "inc.c" "@cmds"; do
  echo "cpp $args:"
  "$CPP" $args 2>&1 | sed -n -E 's/^[^(]*\(([0-9]+)\) .*/message \1/p'
  echo "status ${PIPESTATUS[0]}"
done
