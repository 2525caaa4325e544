#!/usr/bin/env bash
# Builds the fuzz target and fuzzes for a bounded time.
# usage: tests/fuzz/run_fuzz.sh [seconds] [jobs]
#
# Bounds: inputs up to 8192 bytes (-max_len), 10 s per input (-timeout),
# 2048 MB of memory (-rss_limit_mb). Inputs that only take long because their
# expansion is enormous (macro bombs) are outside what the fuzzer judges: it
# runs in fork mode with timeouts ignored, so only crashes, sanitizer reports
# and memory exhaustion are findings. Findings land in build/fuzz/findings/.
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

"$root/build/fuzz/tests/fuzz/preprocess_fuzzer" "$corpus" \
  -dict="$root/tests/fuzz/cpp.dict" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -max_total_time="$seconds" -fork="$jobs" -ignore_timeouts=1 -ignore_ooms=0 \
  -ignore_crashes=0 -artifact_prefix="$findings/" -print_final_stats=1
