#!/usr/bin/env bash
# Builds the fuzz target and fuzzes for a bounded time.
# usage: tests/fuzz/run_fuzz.sh [seconds] [jobs]
#
# Bounds: inputs up to 8192 bytes (-max_len), 10 s per input (-timeout),
# 2048 MB of memory (-rss_limit_mb), 64 MB of preprocessed text per input (a
# file-size limit set by the target: an expansion bomb ends at its first
# failed write, as on a full disk). Crashes, sanitizer reports and memory
# exhaustion stop the campaign. Time-outs do not: the campaign goes on (fork
# mode, -ignore_timeouts=1), and each input that took more than 10 s is kept
# as build/fuzz/findings/timeout-* and replayed at the end with no time limit,
# so a true hang shows as a replay that does not end within 120 s.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-120}
jobs=${2:-1}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Seed corpus: every golden input, behind two option bytes of zero.
# Absolute paths: the target changes into a private folder of its own.
root=$(pwd)
corpus=$root/build/fuzz/corpus
findings=$root/build/fuzz/findings
mkdir -p "$corpus" "$findings"
find tests/golden -type f \( -name '*.c' -o -name '*.h' -o -name stdin \) -size -8k |
while read -r f; do
  name=$(printf '%s' "$f" | md5sum | cut -c1-16)
  [ -f "$corpus/$name" ] || { printf '\0\0'; cat "$f"; } > "$corpus/$name"
done
# And generated ISO C programs of every family (those that fit -max_len).
python3 tests/fuzz/gen_inputs.py iso "$root/build/fuzz/iso_seeds" --count 44 --seed 1
find "$root/build/fuzz/iso_seeds" -type f -size -8k -exec cp -n -t "$corpus" {} +

"$root/build/fuzz/tests/fuzz/preprocess_fuzzer" "$corpus" \
  -dict="$root/tests/fuzz/cpp.dict" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -max_total_time="$seconds" -fork="$jobs" -ignore_timeouts=1 -ignore_ooms=0 \
  -ignore_crashes=0 -artifact_prefix="$findings/" -print_final_stats=1

# Replay the slow inputs: each must end by itself (status 0: no report).
status=0
for t in "$findings"/timeout-*; do
  [ -e "$t" ] || continue
  start=$(date +%s)
  if timeout 120 "$root/build/fuzz/tests/fuzz/preprocess_fuzzer" "$t" >/dev/null 2>&1; then
    echo "slow input ended after $(( $(date +%s) - start )) s: $t"
  else
    echo "HANG or failure on replay: $t"
    status=1
  fi
done
exit $status
