#!/usr/bin/env bash
# The documentation agrees with the program: every option of the README's
# table is in cpp --help and in the manual page, and the manual page renders
# with man(1) without a single warning.
#
#   check_docs.sh options <cpp> <source dir>
#   check_docs.sh man <source dir>           (exits 77 without man)
set -uo pipefail
mode=$1
case $mode in
  options)
    cpp=$2
    src=$3
    # The first cell of each row of the option table: `-D`name[`=`text],
    # `-SP`list, `-S*`list, ... give -D, -SP, -S*.
    opts=$(sed -n -E '/^\| `-/{s/^\| ([^|]*) \|.*/\1/;p}' "$src/README.md" |
      grep -o '`-[^`]*`' | tr -d '`' | sort -u)
    [ "$(echo "$opts" | wc -l)" -ge 20 ] || { echo "option table not found"; exit 1; }
    help=$("$cpp" --help) || { echo "cpp --help failed"; exit 1; }
    # The manual page's source with its escaped hyphens as typed.
    man_text=$(sed 's/\\-/-/g; s/\\f[BIRP]//g; s/\\c$//' "$src/doc/cpp.1" | tr -d '\n')
    missing=0
    for o in $opts; do
      grep -qF -- " $o" <<<"$help" || { echo "cpp --help lacks $o"; missing=1; }
      grep -qF -- "$o" <<<"$man_text" || { echo "doc/cpp.1 lacks $o"; missing=1; }
    done
    [ "$missing" = 0 ] && echo "ok: $(echo $opts)"
    exit $missing
    ;;
  man)
    src=$2
    if ! command -v man >/dev/null; then
      echo "skipped: no man (Debian package man-db)"
      exit 77
    fi
    warnings=$(MANWIDTH=80 man --warnings -l "$src/doc/cpp.1" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
      echo "$warnings"
      exit 1
    fi
    MANWIDTH=80 man -l "$src/doc/cpp.1" 2>/dev/null | grep -q '^NAME' || { echo "no NAME section"; exit 1; }
    echo "ok: renders without warnings"
    ;;
esac
