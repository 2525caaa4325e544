# Names read from macro text and arguments, of every length around the
# groups of eight units the reader takes them in and around the significant
# length: a name that differs from a macro's only past that length is the
# macro, and is cut in the output; a name one unit short of a macro's, or
# one unit longer, is none.
name() { printf "$1%.0s" $(seq "$2"); }
for n in 7 8 9 15 16 17 30 31 32 33; do
  printf '#define %s v%d\n' "$(name k "$n")" "$n"
done > main.c
cat >> main.c <<'END'
#define ID(x) x
#define PAIR(a, b) a b
END
for n in 6 7 8 9 16 17 24 31 32 33 34; do
  k=$(name k "$n")
  printf 'ID(%s) PAIR(%s, x%s) ID(ID(%s_))\n' "$k" "$k" "$k" "$k"
done >> main.c
# Names that a line splice cuts after 31 and 30 units read on below it.
printf 'spliced %s\\\n%s %s\\\n%s\n' "$(name k 31)" kk "$(name k 30)" k >> main.c
for n in 254 255; do
  printf '#define %s long%d\n' "$(name L "$n")" "$n"
  printf '#define USE%d %s %sz\n' "$n" "$(name L "$n")" "$(name L "$n")"
  printf 'USE%d ID(%sq)\n' "$n" "$(name L "$n")"
done >> main.c
run() {  # long words shown as their first letter and length
  "$CPP" "$@" main.c 2> err.txt | crlf_to_lf | grep -v '^#' | grep . |
    awk '{ for (i = 1; i <= NF; i++) if (length($i) > 9) $i = substr($i, 1, 1) "*" length($i); print }'
  echo "$*: status ${PIPESTATUS[0]} $(grep -o '([0-9]*)' err.txt | tr -d '\n')"
}
run
run -N32
run -N255
