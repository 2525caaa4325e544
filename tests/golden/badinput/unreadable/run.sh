# Files that exist but cannot be read report 141 like missing ones. Root
# reads any file, so as root the program runs as the unprivileged user
# (which wine, whose prefix belongs to root, does not allow).
as_user=()
if [ "$(id -u)" = 0 ]; then
  if [ -n "${CPP_EMULATOR:-}" ]; then
    echo "skipped: running as root under an emulator" >&2
    exit 77
  fi
  if ! command -v setpriv >/dev/null; then
    echo "skipped: running as root without setpriv" >&2
    exit 77
  fi
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  chmod 755 .
fi
printf 'a\n' > in.c
printf 'x\n' > h.h
printf '#include "h.h"\n' > inc.c
printf 'in.c\n' > cmds
chmod 000 in.c h.h cmds
for args in "in.c" "inc.c" "@cmds"; do
  echo "cpp $args:"
  "${as_user[@]}" "$CPP" $args 2>&1 | sed -n -E 's/^[^(]*\(([0-9]+)\) .*/message \1/p'
  echo "status ${PIPESTATUS[0]}"
done
