# A run interrupted in the middle leaves every file it writes as it was.
# The input comes through a pipe the script holds open: the program writes
# what it has read (more than its 64 KiB output buffer, so the temporary
# holds text) and waits for more, and the signal arrives while it waits.
#
# Linux only: wine turns no signal sent from here into a console event for
# the Windows program, so its console handler cannot be driven this way.
if [ -n "${CPP_EMULATOR:-}" ]; then
  echo "skipped: wine delivers no console event for a signal sent to the program" >&2
  exit 77
fi
# Job control: a job started in the background keeps SIGINT (a shell
# without it starts background jobs with SIGINT ignored).
set -m
printf 'h\n' > h.h
{ echo '#include "h.h"'; seq -f 'line %g of the input' 20000; } > big.c

# The previous files, and their permission bits (kept by a completed run).
setup() {
  printf 'old output\n' > out.i
  printf 'old list\n' > deps.d
  printf 'old page\n' > r.html
  printf 'old contents\n' > toc_r.html
  printf 'old main\n' > main_r.html
  chmod 640 out.i
}

# Starts the run on the pipe, feeds it the big input, waits until its
# temporary holds text, sends the signal and tells the exit status, the
# files left and what they hold.
interrupted() {
  setup
  rm -f feed
  mkfifo feed
  "$CPP" -LM-deps.d --udf=r.html - out.i < feed 2> err.txt &
  local pid=$!
  exec 3> feed
  cat big.c >&3
  local tries=0
  until [ -s "out.i.cpp-$pid.tmp" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ]; then echo "no temporary"; break; fi
    sleep 0.05
  done
  ls *.tmp | sed 's/cpp-[0-9]*\./cpp-PID./'
  kill "-$1" "$pid"
  wait "$pid"
  echo "status $?"
  exec 3>&-
  rm -f feed
  ls *.i *.d *.html *.tmp 2> /dev/null | sed 's/cpp-[0-9]*\./cpp-PID./'
  cat out.i deps.d r.html toc_r.html main_r.html
  cat err.txt
}
for sig in INT TERM HUP; do
  echo "== $sig"
  interrupted $sig
done

# SIGKILL cannot be caught: the previous files stay as they were, and the
# temporaries are left behind, named after the target and the process.
echo "== KILL"
interrupted KILL 2> /dev/null
rm -f *.tmp

# The same run, not interrupted, replaces every file; the output keeps its
# permission bits, new files get those of the umask.
echo "== completed"
setup
rm -f deps.d
umask 022
"$CPP" -LM-deps.d --udf=r.html big.c out.i
echo "status $?"
ls *.i *.d *.html *.tmp 2> /dev/null
stat -c '%A %n' out.i deps.d r.html
grep -c '^line' out.i
cat deps.d
