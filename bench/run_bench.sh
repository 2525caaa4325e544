#!/usr/bin/env bash
# Benchmarks cpp against gcc -E, clang -E, mcpp, tcc -E and sdcpp.
#
#   bench/run_bench.sh [--peers-only] [--runs N] [--scale F] [--check-only]
#                      [--hyperfine] [--micro] [--no-install] [--std c99]
#                      [--no-profile]
#
# Builds the release binary as a release is built, guided by a profile of
# training runs (cmake/build_profiled.sh: build/profiled/bin/cpp; with
# --no-profile the plain Release preset, build/release/bin/cpp), the
# widen/narrow floor and the corpus (bench/out/corpus), installs missing Debian packages (mcpp,
# tcc, sdcc, hyperfine, time), checks that cpp's output has the same tokens
# as gcc's on every input, then prints one table of medians: wall and CPU
# seconds, MB/s, peak RSS and the ratio to the fastest peer. The table is
# also written to bench/out/results.md. --micro also builds and runs the
# Google Benchmark micro-benchmarks (build/bench/bench/micro_bench). --std c99
# runs cpp --std=c99 against every peer in its C99 mode (gcc and clang
# -std=c99, mcpp -V199901L, tcc and sdcpp -std=c99), the token check against
# gcc -std=c99.
#
# Environment: CPP=path tests another binary instead of building one (for
# instance CPP=/usr/bin/mcpp to try the harness before cpp exists).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/bench/out
runs=5
scale=1
peers_only=0
check_only=0
hyperfine=0
micro=0
install=1
profile=1

while [ $# -gt 0 ]; do
  case $1 in
    --peers-only) peers_only=1 ;;
    --check-only) check_only=1 ;;
    --hyperfine) hyperfine=1 ;;
    --micro) micro=1 ;;
    --no-install) install=0 ;;
    --no-profile) profile=0 ;;
    --runs) runs=$2; shift ;;
    --scale) scale=$2; shift ;;
    --std) std=$2; shift ;;
    -h|--help) sed -n '2,22p' "$0"; exit 0 ;;
    *) echo "run_bench.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done

# Peers and tools: Debian packages, installed only when missing.
if [ $install = 1 ]; then
  missing=()
  for pkg in mcpp tcc sdcc hyperfine time; do
    dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
fi

cd "$root"
cpp=${CPP:-}
if [ $peers_only = 0 ] && [ -z "$cpp" ]; then
  if [ $profile = 1 ]; then
    echo "== building the release binary from a profile"
    cmake/build_profiled.sh "$root/build/profiled"
    cpp=$root/build/profiled/bin/cpp
  else
    echo "== building the Release binary"
    cmake --preset release >/dev/null
    cmake --build --preset release
    cpp=$root/build/release/bin/cpp
  fi
fi

echo "== self-tests of the harness"
python3 -m unittest -q bench/test_bench.py

mkdir -p "$out"
echo "== building the widen/narrow floor"
g++ -std=c++20 -O2 -Wall -Wextra -o "$out/widen_floor" bench/widen_floor.cpp

echo "== generating the corpus (scale $scale)"
rm -rf "$out/corpus"
python3 bench/gen_corpus.py --out "$out/corpus" --scale "$scale"

echo "== machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
label="cpp $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '(no commit)')"
[ -n "$(git -C "$root" status --porcelain --untracked-files=no 2>/dev/null)" ] && label+=" with changes"
[ -n "${CPP:-}" ] && label="cpp $CPP"
[ $peers_only = 1 ] && label="peers only"
args=(--corpus "$out/corpus" --runs "$runs" --floor "$out/widen_floor" --markdown "$out/results.md"
  --label "$label")
[ $peers_only = 0 ] && args+=(--cpp "$cpp")
[ $check_only = 1 ] && args+=(--check-only)
[ $hyperfine = 1 ] && args+=(--hyperfine)
[ -n "${std:-}" ] && args+=(--std "$std")
status=0
python3 bench/peers.py "${args[@]}" || status=$?

if [ $micro = 1 ]; then
  echo "== micro-benchmarks"
  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
    -DCPP_BUILD_TESTS=OFF -DCPP_BUILD_BENCH=ON >/dev/null
  cmake --build build/bench --target micro_bench
  build/bench/bin/micro_bench --benchmark_min_time=0.2
fi
exit $status
