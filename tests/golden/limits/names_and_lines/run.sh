# Names and lines at their limits: identifier significance 31 to 255 (-N),
# include names of 259 characters, 255 include directories (147), line
# numbers that wrap at 32 bits, lines far longer than the line buffer.

# Identifiers are significant to -N characters, held between 31 and 255:
# names that agree that far are one macro, names that differ within it are
# two.
significance() {
  for width in 30 31 32 254 255 256; do
    q=$(rep q "$width")
    printf '#define %sa same%d\n%sb\n' "$q" "$width" "$q"
  done > in.c
  for n in 10 31 32 255 300; do
    echo "-N$n:"
    "$CPP" -N$n in.c 2>/dev/null | text | cut -c1-12 | tr '\n' ' '
    echo "status ${PIPESTATUS[0]}"
  done
}
piece identifier_significance significance

# An include name of 259 characters opens; a longer one is cut to 259
# characters (here dropping the extra "x"): never a buffer overrun.
include_name() {
  name=$(rep d 200)/$(rep h 56).h
  mkdir -p "$(rep d 200)"
  echo 'found' > "$name"
  echo "${#name}"
  for text in "#include \"$name\"" "before\n#include \"${name}x\""; do
    printf "$text\n" > in.c
    "$CPP" in.c | text
    echo "status ${PIPESTATUS[0]}"
  done
}
piece include_name_259 include_name

# 255 include directories are searched, the last one included; a 256th is
# refused with message 147 and the run goes on.
include_dirs() {
  mkdir -p d255 && echo 'in_d255' > d255/h.h
  printf '#include <h.h>\n' > in.c
  for last in "" -Iextra; do
    "$CPP" $(seq -f -Id%g 255) $last in.c | text
    echo "status ${PIPESTATUS[0]}"
  done
}
piece include_dirs_255 include_dirs

# Line numbers set by #line past 32 bits wrap instead of overflowing.
wraps() {
  printf '#line 2147483648\nx __LINE__\n#line 4294967295\ny __LINE__\n# 2147483647\nz __LINE__\nafter __LINE__\n#line 99999999999\nbig __LINE__\n' > in.c
  "$CPP" in.c
}
piece line_number_wraps wraps

# Lines much longer than the 8192-unit line buffer are read in pieces and
# copied unchanged, with the line counting intact afterwards.
long_line() {
  printf '%send\n__LINE__ %s\n__LINE__\n' "$(rep 'ab ' 10000)" "$(rep 'cd;' 3000)" > in.c
  "$CPP" in.c > out.c
  status=$?
  crlf_to_lf < out.c | tail -n +3 | head -n 3 | cmp - <(head -n 1 in.c; echo "2 $(rep 'cd;' 3000)"; echo 3) &&
    echo "the same"
  exit $status
}
piece long_line long_line
