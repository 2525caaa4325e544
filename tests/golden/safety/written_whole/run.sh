# Each file the run writes takes its target's place when the run ends: a
# run that fails still writes it; a plain file keeps its permission bits; a
# symbolic link stays a link, and the file it names is replaced. Where no
# temporary can be made beside the target, the target is written in place:
# a device, a pipe, a file with another link (both names keep showing it).
printf 'kept\n#error stop\n' > bad.c
show() { for f in "$@"; do printf '%s: ' "$f"; crlf_to_lf < "$f" | grep -v '^#' | grep . | tr '\n' ' '; echo; done; }
left() { ls -A | grep '\.tmp$' || true; }
# Whether a run put a new file in the target's place or wrote the old one.
inode() { stat -L -c %i "$1"; }
how() { [ "$(inode "$2")" = "$1" ] && echo "$2 written in place" || echo "$2 replaced"; }

echo "== failed run"
printf 'old\n' > out.i
before=$(inode out.i)
"$CPP" bad.c out.i 2> /dev/null
echo "status $?"
how $before out.i
show out.i
left

# Windows has no permission bits, and wine sees no symbolic link that Linux
# made: those two groups are Linux only.
if [ -z "${CPP_EMULATOR:-}" ]; then
  echo "== permissions"
  printf 'old\n' > private.i
  printf 'old\n' > script.i
  chmod 600 private.i
  chmod 750 script.i
  before=$(inode private.i)
  "$CPP" in.c private.i && "$CPP" in.c script.i
  echo "status $?"
  how $before private.i
  stat -c '%a %n' private.i script.i
  show private.i script.i
  (umask 027 && "$CPP" in.c new.i)
  stat -c '%a %n' new.i
  left

  echo "== symbolic links"
  mkdir sub
  printf 'old\n' > sub/real.i
  ln -s sub/real.i link.i
  ln -s sub/absent.i dangling.i
  before=$(inode sub/real.i)
  "$CPP" in.c link.i && "$CPP" in.c dangling.i
  echo "status $?"
  for f in link.i dangling.i; do [ -L $f ] && echo "$f is a link to $(readlink $f)"; done
  how $before sub/real.i
  show sub/real.i sub/absent.i
  (cd sub && left)
  left
fi

echo "== devices and pipes"
"$CPP" in.c /dev/null
echo "status $? $([ -c /dev/null ] && echo /dev/null is a device)"
mkfifo pipe.i
cat pipe.i > from_pipe.txt &
"$CPP" in.c pipe.i
echo "status $?"
wait
[ -p pipe.i ] && echo "pipe.i is a pipe"
show from_pipe.txt
left

echo "== hard links"
printf 'old\n' > one.i
ln one.i two.i
before=$(inode one.i)
"$CPP" in.c one.i
echo "status $?"
show one.i two.i
stat -c '%h %n' one.i
how $before one.i
left
