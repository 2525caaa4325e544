# ISO C limits: conditionals nested as deep as memory allows, includes as
# deep as the system lets files be open, and #line numbers 1 to 2147483647.

# Runs the program, shows its text without line markers and blank lines,
# and gives its exit status.
run() {
  "$CPP" "$@" > out.c
  status=$?
  text < out.c
  return $status
}

# Nested conditionals: far past the 31 of the toolchain's dialect (144 at
# the 32nd, which ends the run), live and skipped, with #elif and #else at
# the innermost level and one left open (100).
nested() {
  { echo before; rep '#if 1\n' "$2"; printf '#if 0\nno\n#elif 1\ninside\n#endif\n'
    rep '#endif\n' "$2"; echo after; } > in.c
  run $1 in.c
}
piece "cond_32 []" nested "" 32
piece "cond_100000 [--std=c99]" nested --std=c99 100000
skipped() {
  { printf '#if 0\n'; rep '#ifdef X\n#else\n' 5000; echo no; rep '#endif\n' 5000
    printf '#else\nyes\n#endif\n'; rep '#ifndef X\n' 200; echo open; rep '#endif\n' 199; } > in.c
  run --std=c99 in.c
}
piece cond_skipped_and_open skipped

# Include nesting: a file that includes itself goes as deep as the files
# the system lets the run hold open, less 16 kept free (192, which ends the
# run); the lines read on the way stay written. The toolchain's dialect stops
# at 200 files with 141. Linux lowers the limit here; Windows has its C
# library's 512 streams, 496 of them for includes (and wine does not run
# with a lowered limit).
limit_files() {
  [ -n "${CPP_EMULATOR:-}" ] || ulimit -n "$1"
}
self_include() {
  printf 'x\n#include "self.h"\ny\n' > self.h
  printf '#include "self.h"\n' > in.c
  (limit_files "$2" && "$CPP" $1 in.c > out.c)
  status=$?
  echo "x $(grep -c '^x' out.c) y $(grep -c '^y' out.c)"
  exit $status
}
piece "include_depth_64 [--std=c99]" self_include --std=c99 64
piece "include_depth_64 []" self_include "" 256
# 15 levels of distinct files, the least ISO C asks for, with the system's
# limit far below the 16 files kept free.
chain() {
  for i in $(seq 1 14); do printf 'in%d\n#include "h%d.h"\n' "$i" $((i + 1)) > h$i.h; done
  echo 'deepest' > h15.h
  printf '#include "h1.h"\n' > in.c
  (limit_files 24 && run --std=c99 in.c > t.txt)
  status=$?
  tr '\n' ' ' < t.txt
  echo
  return $status
}
piece include_chain_15 chain

# Replacements far longer than a line, written whole: 8 to the 5th names
# with blanks between, and 40001 units of parentheses with none.
long_replacements() {
  printf '#define F(x) x x x x x x x x\nF(F(F(F(F(a)))))\n' > in.c
  printf '#define J(x) %s\n%s\n' "$(rep '(' 100)x$(rep ')' 100)" "$(rep 'J(' 200)a$(rep ')' 200)" >> in.c
  run --std=c99 in.c > t.txt
  status=$?
  awk '{ print NF, length($0) }' t.txt
  return $status
}
piece long_replacements long_replacements

# A replacement that fills the save buffer to its last unit is cut there
# and reported (156), as a longer one is; a paste whose right operand the
# cut took off leaves its left operand. The toolchain's dialect cuts the
# first silently and reports the second as a paste of the text's end (169).
full_replacement() {
  printf '#define M %s xyzw\nM\n#define P %s x##y\nP\n' "$(rep 1 8187)" "$(rep 1 8188)" > in.c
  run "$@" in.c > t.txt
  status=$?
  sed 's/^1*//' t.txt
  return $status
}
piece "full_replacement []" full_replacement
piece "full_replacement [--std=c99]" full_replacement --std=c99

# #line: 2147483647 is the largest number, and the count goes on past it;
# 0 and anything larger are reported (191) and taken all the same. The
# toolchain's dialect takes every number silently and wraps.
lines() {
  printf '#line 2147483647\na __LINE__\nb __LINE__\n#line 0\nc __LINE__\n#line 2147483648 "x.c"\nd __LINE__\n#line 00000000001\ne __LINE__\n#line 99999999999999999999999999\nf __LINE__\n' > in.c
  "$CPP" $1 in.c > out.c
  status=$?
  crlf_to_lf < out.c | grep .
  return $status
}
piece "line_numbers []" lines ""
piece "line_numbers [--std=c99]" lines --std=c99
