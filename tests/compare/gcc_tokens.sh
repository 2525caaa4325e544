#!/usr/bin/env bash
# The benchmark's eight kinds of input (macro-heavy text with nested calls,
# #, ## and redefinitions, include trees, #if nests, comments, a register
# map, X-macro tables under #undef/#define churn), generated small with two seeds, preprocessed by cpp and by
# gcc -E -undef -std=gnu89: the token streams must agree.
#   gcc_tokens.sh <cpp>     exit 0 when they do, 1 otherwise, 77 without gcc
set -eu
command -v gcc > /dev/null || exit 77
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for seed in 1 2; do
  python3 "$root/bench/gen_corpus.py" --out "$work/$seed/corpus" --scale 0.05 --seed $seed
  python3 "$root/bench/peers.py" --check-only --cpp "$1" --corpus "$work/$seed/corpus"
done
