# A file is read in blocks of 64 KiB. Text that only the bytes of the next
# block complete must not be taken for whole at the end of a block: a
# comment whose '/' ends the block ("name/" + "* c */"), a trigraph whose
# first '?' ends it ("name?" + "?=x"), a name or a number cut in two. Each
# is laid over the edge in turn, with comments kept (-C shows where a
# comment is read relative to the name before it).
edge() {
  # $1: text that ends exactly at byte 65536, $2: text after it
  local fill=$((65536 - 4 - ${#1}))
  {
    local i=0
    while [ $i -lt $((fill / 3)) ]; do printf 't;\n'; i=$((i + 1)); done
    printf '%*s' $((fill % 3)) ''
    printf 'x = %s' "$1"
    printf '%s\nlast = __LINE__;\n' "$2"
  } > in.c
  "$CPP" -C in.c | tail -n 2
}
edge 'name/' '* c */ tail;'
edge 'name?' '?=y;'
edge 'na' 'me;'
edge '12' '34;'
edge 'a +' '+ b;'
edge '"str' 'ing";'
