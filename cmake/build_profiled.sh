#!/usr/bin/env bash
# Builds the release program in two passes, its optimiser guided by a profile
# of training runs:
#
#   cmake/build_profiled.sh [--tests] [build-dir]      (default build/profiled)
#
# 1. configure and build with -DCPP_PROFILE=generate (the program records
#    where its runs go);
# 2. run it on a training corpus: the benchmark generator's inputs at a
#    quarter of their size and with another seed than the benchmark's, each in
#    the toolchain's dialect and with --std=c99, and the same with -C;
# 3. configure and build again with -DCPP_PROFILE=use, the tests too with
#    --tests (then `ctest --test-dir build-dir` runs them on this build).
#
# The result is <build-dir>/bin/cpp beside <build-dir>/dat, and
# `cmake --install <build-dir>` installs it like any other build.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
tests=OFF
dir=
while [ $# -gt 0 ]; do
  case $1 in
    --tests) tests=ON ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    -*) echo "build_profiled.sh: unknown option $1" >&2; exit 2 ;;
    *) dir=$1 ;;
  esac
  shift
done
dir=${dir:-$root/build/profiled}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
profile=$dir/profile

configure() {
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
    -DCPP_WERROR=ON -DCPP_LTO=ON -DCPP_PROFILE_DIR="$profile" "$@" >/dev/null
}

echo "== build_profiled: instrumented build"
configure -DCPP_PROFILE=generate -DCPP_BUILD_TESTS=OFF
cmake --build "$dir"

echo "== build_profiled: training runs"
rm -rf "$profile" "$dir/training"
python3 "$root/bench/gen_corpus.py" --out "$dir/training" --scale 0.25 --seed 1 >/dev/null
(
  cd "$dir/training"
  while read -r input folders; do
    includes=()
    for f in $folders; do includes+=("-I$f"); done
    for args in "" "--std=c99" "-C" "-C --std=c99"; do
      # shellcheck disable=SC2086 # the words of args are options
      "$dir/bin/cpp" $args "${includes[@]}" "$input" /dev/null
    done
  done <manifest.txt
)
[ -d "$profile" ] || { echo "build_profiled.sh: the training runs recorded nothing" >&2; exit 1; }

echo "== build_profiled: build from the profile"
configure -DCPP_PROFILE=use -DCPP_BUILD_TESTS=$tests
cmake --build "$dir"
