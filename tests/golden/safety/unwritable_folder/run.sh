# Where no temporary can be made beside the target, in a folder the user may
# not write, an existing file the user may write is written in place; a new
# file cannot be created there at all (message 141). A file the user may not
# write is not replaced either, even in a folder the user may write: the run
# fails as it would writing the file itself. Run as root, the program runs
# as the user nobody, for whom the permissions hold.
if [ -n "${CPP_EMULATOR:-}" ]; then
  echo "skipped: a folder marked read-only does not stop Windows creating files in it" >&2
  exit 77
fi
if [ "$(id -u)" = 0 ]; then
  if ! command -v setpriv > /dev/null; then
    echo "skipped: run as root, and no setpriv to run as another user" >&2
    exit 77
  fi
  chmod 755 .
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
  give() { chown 65534:65534 "$@"; }
else
  as_user() { "$@"; }
  give() { :; }
fi
mkdir locked open
printf 'old\n' > locked/out.i
printf 'old\n' > open/read_only.i
give locked/out.i open open/read_only.i
chmod 444 open/read_only.i
chmod 555 locked
before=$(stat -c %i locked/out.i)
piece existing_file as_user "$CPP" in.c locked/out.i
[ "$(stat -c %i locked/out.i)" = "$before" ] && echo "written in place"
grep -v '^#' locked/out.i | grep .
piece new_file as_user "$CPP" in.c locked/new.i
piece read_only_file as_user "$CPP" in.c open/read_only.i
cat open/read_only.i
ls -A locked open
chmod 755 locked
