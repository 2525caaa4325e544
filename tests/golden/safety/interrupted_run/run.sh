# A run interrupted in the middle leaves every file it writes as it was.
# The input comes through a pipe the script holds open: the program writes
# what it has read (more than its 64 KiB output buffer, so the temporary
# holds text) and waits for more, and the signal arrives while it waits.
#
# Under wine, SIGINT reaches the Windows program as the console's Ctrl-C
# event, and its console handler does the work; SIGTERM and SIGHUP have no
# console event (wine ends the process as SIGKILL would), so those two are
# sent on Linux only.

# Job control: a job started in the background keeps SIGINT (a shell
# without it starts background jobs with SIGINT ignored).
set -m
printf 'h\n' > h.h
{ echo '#include "h.h"'; seq -f 'line %g of the input' 20000; } > big.c

# The previous files.
setup() {
  printf 'old output\n' > out.i
  printf 'old list\n' > deps.d
  printf 'old page\n' > r.html
  printf 'old contents\n' > toc_r.html
  printf 'old main\n' > main_r.html
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
  until [ -s "$(ls out.i.cpp-*.tmp 2> /dev/null)" ]; do
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
signals="INT TERM HUP"
[ -n "${CPP_EMULATOR:-}" ] && signals=INT
for sig in $signals; do
  echo "== $sig"
  interrupted $sig
done

# SIGKILL cannot be caught: the previous files stay as they were, and the
# temporaries are left behind, named after the target and the process.
echo "== KILL"
interrupted KILL 2> /dev/null
rm -f *.tmp

# The same run, not interrupted, replaces every file.
echo "== completed"
setup
"$CPP" -LM-deps.d --udf=r.html big.c out.i
echo "status $?"
ls *.i *.d *.html *.tmp 2> /dev/null
grep -c '^line' out.i
cat deps.d
echo
