# Identifiers in ISO C are significant to 63 characters by default: names
# that agree in their first 63 characters are one macro, names that differ
# within them two. -N sets the count from 63 to 255 there; a smaller count
# is taken as 63. The toolchain's own dialect keeps 31 by default.
significance() {
  for width in 30 31 62 63 64; do
    q=$(rep q "$width")
    printf '#define %sa same%d\n%sb\n' "$q" "$width" "$q"
  done > in.c
  for args in "" "-N31" "-N62" "-N63" "-N64" "-N255"; do
    echo "--std=c99 $args:"
    "$CPP" --std=c99 $args in.c 2>/dev/null | text | cut -c1-8,60- | tr '\n' ' '
    echo "status ${PIPESTATUS[0]}"
  done
  echo "default:"
  "$CPP" in.c 2>/dev/null | text | cut -c1-8,60- | tr '\n' ' '
  echo "status ${PIPESTATUS[0]}"
}
piece significance significance

# The same in the bulk copy of plain lines and in macro text: a long name
# that agrees with a macro in 63 characters is the macro, wherever it is
# read, and a name written is cut to 63 characters.
places() {
  a=$(rep a 63)
  printf '#define %sX one\n#define M(x) x %sY\n%sZ plain %sW;\nM(%sV)\n' "$a" "$a" "$a" "$a" "$a" > in.c
  "$CPP" --std=c99 in.c | text
  printf 'int %s_tail = 1;\n' "$(rep b 70)" > in.c
  "$CPP" --std=c99 in.c | text
}
piece places places
