#!/usr/bin/env bash
# Runs one golden case: usage run_case.sh <cpp binary> <case folder> [emulator...].
#
# A case folder holds its input files and:
#   args             the arguments, one shell-quoted line (or run.sh instead:
#                    a script run with $CPP set, whose output is checked)
#   stdin            optional standard input (else empty)
#   env              optional NAME=VALUE lines added to a clean environment
#   expected.out     expected standard output, byte for byte (optional)
#   expected.err     expected standard error, byte for byte (optional)
#   expected.status  expected exit status (default 0)
#   expected.msgs    message numbers reported on standard error, in order
#                    (absent: none)
#   expected.files/  files the run must leave behind, compared byte for byte
# A run.sh that exits 77 after writing "skipped: <why>" to standard error
# marks the case skipped (for example a permission test run as root).
#
# $CPP_BINARY names the program file itself, for a run.sh that copies it.
#
# With an emulator (tests/windows/wine.sh and its prefix, for the Windows
# program) $CPP runs the program through it, and $CPP_EMULATOR holds the
# emulator's command for a run.sh that runs other programs under it. Where
# Windows writes something else (separators, letter case of names), the case
# holds expected.win.out, .err, .msgs, .status or .files/, used there instead
# of expected.* (expected.win.files/ holds only the files that differ). Windows ends the lines of the text it writes with CR LF:
# the program's output, messages and files must end every line so, and are
# compared with CR LF read as LF. A run.sh that looks into what the program
# wrote reads it through crlf_to_lf (a filter) or crlf_to_lf_files (files
# changed in place), which do nothing on Linux; name_in_reports puts the
# name given with "exec -a" into the reports of the Windows program.
set -u
CPP=$(realpath "$1")
export CPP_BINARY=$CPP
case_dir=$(realpath "$2")
shift 2
# The case runs in a folder of its own: the emulator's arguments that name
# files (its script, its prefix) are taken from here.
emulator=()
for arg in "$@"; do
  if [ -e "$arg" ]; then emulator+=("$(realpath "$arg")"); else emulator+=("$arg"); fi
done
set -- "${emulator[@]}"
work=$(mktemp -d)
tools=$(mktemp -d)
trap 'rm -rf "$work" "$tools"' EXIT
cp -r "$case_dir"/. "$work"/
cd "$work" || exit 2

variant=""
if [ $# -gt 0 ]; then
  variant=win
  export CPP_EMULATOR="$*"
  printf '#!/bin/bash\nexec %s %q "$@"\n' "$(printf '%q ' "$@")" "$CPP" > "$tools/cpp"
  chmod +x "$tools/cpp"
  CPP=$tools/cpp
fi

crlf_to_lf() {
  if [ -n "${CPP_EMULATOR:-}" ]; then sed 's/\r$//'; else cat; fi
}
crlf_to_lf_files() {
  if [ -n "${CPP_EMULATOR:-}" ]; then sed -i 's/\r$//' "$@"; fi
}
# Windows passes the program's own path as its name, whatever name "exec -a"
# gives: in the HTML reports named, that path becomes the given name.
name_in_reports() {
  local name=$1
  shift
  if [ -n "${CPP_EMULATOR:-}" ]; then
    sed -i "s|^<code>[^<]*cpp\\.exe</code><br>|<code>$name</code><br>|" "$@"
  fi
}
# For a run.sh: msgs filters messages to their numbers; text keeps the lines
# of preprocessed text that are neither line markers nor blank; rep TEXT N
# writes TEXT (with printf escapes) N times; piece NAME COMMAND... prints
# "== NAME", the command's exit status, its output and its message numbers.
msgs() { sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/\1/p'; }
text() { crlf_to_lf | grep -v '^#' | grep .; }
rep() { printf -- "$1%.0s" $(seq "$2"); }
piece() {
  echo "== $1"
  ("${@:2}") > o.txt 2> e.txt
  echo "status $?"
  cat o.txt
  msgs < e.txt | sed 's/^/message /'
}
export -f crlf_to_lf crlf_to_lf_files name_in_reports msgs text rep piece

# The expectation of this platform: expected.win.<what> where the case has one
# (what: out, err, ..., files/<name>).
expected() {
  if [ -n "$variant" ] && [ -e "expected.$variant.$1" ]; then echo "expected.$variant.$1"; else echo "expected.$1"; fi
}
# The files the run must leave.
expected_files() {
  for d in expected.files ${variant:+"expected.$variant.files"}; do
    [ -d "$d" ] && (cd "$d" && find . -type f)
  done | sort -u
}

# A clean, predictable environment: English, no templates, no catalogue path.
unset LANG LC_ALL LC_MESSAGES ZQT_ERR_FORMAT ZQT_WARN_FORMAT ZQT_MSG_FORMAT ZQT_ERR_FILE ZQT_INSTDIR
export CPP
if [ -f env ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    [ -n "$line" ] && export "${line?}"
  done < env
fi

input=/dev/null
[ -f stdin ] && input=stdin
if [ -f run.sh ]; then
  bash run.sh < "$input" > actual.out 2> actual.err
  status=$?
  # A script that cannot test anything here says why and exits 77.
  if [ "$status" = 77 ] && grep -q '^skipped: ' actual.err; then
    cat actual.err
    exit 77
  fi
else
  eval "set -- $(cat args)"
  "$CPP" "$@" < "$input" > actual.out 2> actual.err
  status=$?
fi

fail=0
# Windows text: every line ended by CR LF (checked where only the program
# wrote), then read as LF.
if [ -n "$variant" ]; then
  for f in actual.out actual.err $(expected_files); do
    [ -f "$f" ] || continue
    if [ ! -f run.sh ] && ! perl -0777 -ne 'exit(/(?<!\r)\n/ ? 1 : 0)' "$f"; then
      echo "$f: a line ends in LF without CR"
      fail=1
    fi
    perl -0777 -pi -e 's/\r\n/\n/g' "$f"
  done
fi
expected_status=0
[ -f "$(expected status)" ] && expected_status=$(tr -d ' \n' < "$(expected status)")
if [ "$status" != "$expected_status" ]; then
  echo "exit status: expected $expected_status, got $status"
  fail=1
fi
for what in "out:standard output" "err:standard error"; do
  f=$(expected "${what%%:*}")
  if [ -f "$f" ] && ! cmp -s "$f" "actual.${what%%:*}"; then
    echo "${what#*:} differs:"
    diff "$f" "actual.${what%%:*}" | head -40
    fail=1
  fi
done
# Message numbers: the first "(N) " of each line that is not an echoed source
# line ("%6d:<tab>").
actual_msgs=$(msgs < actual.err | tr '\n' ' ')
expected_msgs=""
[ -f "$(expected msgs)" ] && expected_msgs=$(tr -s ' \n' '  ' < "$(expected msgs)" | sed 's/^ *//')
if [ "$(echo $actual_msgs)" != "$(echo $expected_msgs)" ]; then
  echo "messages: expected [$(echo $expected_msgs)], got [$(echo $actual_msgs)]"
  fail=1
fi
for f in $(expected_files); do
  if ! cmp -s "$(expected "files/$f")" "$f"; then
    echo "file $f differs:"
    diff "$(expected "files/$f")" "$f" | head -20
    fail=1
  fi
done
[ "$fail" = 0 ] || { echo "--- standard error ---"; head -30 actual.err; }
exit $fail
