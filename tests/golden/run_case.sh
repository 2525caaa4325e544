#!/usr/bin/env bash
# Runs one golden case: usage run_case.sh <cpp binary> <case folder>.
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
set -u
CPP=$(realpath "$1")
case_dir=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$case_dir"/. "$work"/
cd "$work" || exit 2

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
expected_status=0
[ -f expected.status ] && expected_status=$(tr -d ' \n' < expected.status)
if [ "$status" != "$expected_status" ]; then
  echo "exit status: expected $expected_status, got $status"
  fail=1
fi
if [ -f expected.out ] && ! cmp -s expected.out actual.out; then
  echo "standard output differs:"
  diff expected.out actual.out | head -40
  fail=1
fi
if [ -f expected.err ] && ! cmp -s expected.err actual.err; then
  echo "standard error differs:"
  diff expected.err actual.err | head -40
  fail=1
fi
# Message numbers: the first "(N) " of each line that is not an echoed source
# line ("%6d:<tab>").
actual_msgs=$(sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/\1/p' actual.err | tr '\n' ' ')
expected_msgs=""
[ -f expected.msgs ] && expected_msgs=$(tr -s ' \n' '  ' < expected.msgs | sed 's/^ *//')
if [ "$(echo $actual_msgs)" != "$(echo $expected_msgs)" ]; then
  echo "messages: expected [$(echo $expected_msgs)], got [$(echo $actual_msgs)]"
  fail=1
fi
if [ -d expected.files ]; then
  for f in $(cd expected.files && find . -type f); do
    if ! cmp -s "expected.files/$f" "$f"; then
      echo "file $f differs:"
      diff "expected.files/$f" "$f" | head -20
      fail=1
    fi
  done
fi
if [ "$fail" != 0 ]; then
  echo "--- standard error ---"
  head -30 actual.err
fi
exit $fail
