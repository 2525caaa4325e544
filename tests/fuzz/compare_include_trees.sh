#!/usr/bin/env bash
# Runs two builds of cpp on the include trees of the benchmark corpus
# (bench/gen_corpus.py: includes.c and many_includes.c, with their include
# directories) as they stand, with the dependency list alone (-L), with
# comments kept (-C), with a dependency file and with the HTML report, and
# compares everything each run writes: output, diagnostics, exit status
# and files. Meant for a build that passes over guarded headers against one
# that reads them.
#
# usage: compare_include_trees.sh <cpp A> <cpp B> [scale]
set -euo pipefail
a=$(realpath "$1")
b=$(realpath "$2")
scale=${3:-0.25}
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/gen_corpus.py" --out "$work/corpus" --scale "$scale"

# One run in a fresh folder of its own; the report names the program "cpp".
run() {
  local bin=$1 dir=$2
  shift 2
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && SOURCE_DATE_EPOCH=0 exec -a cpp "$bin" "$@" > stdout 2> stderr) || echo $? > "$dir/status"
}

status=0
for input in includes.c many_includes.c; do
  inc=($(grep "^$input " "$work/corpus/manifest.txt" | cut -d' ' -f2- | tr ' ' '\n' | sed "s|^|-I$work/corpus/|"))
  for extra in "" -L -C -Ldeps.txt --udf=r.html; do
    for side in a b; do run "${!side}" "$work/$side" "${inc[@]}" $extra "$work/corpus/$input" out.i; done
    if diff -r "$work/a" "$work/b" > /dev/null; then
      echo "same: $input $extra"
    else
      echo "DIFFERS: $input $extra"
      status=1
    fi
  done
done
exit $status
