# --msgformat=gcc: one line per message, "file:line:column: error: (N) text"
# with the column of the start of the token last read (1 for the first
# character, a tab counting as one; a literal is one token whatever it holds), "warning:", "note:" for the messages of
# kind M, and the program's name where a message has no place.
layout() {
  "$CPP" --msgformat=gcc "$@" 2> layout.txt > /dev/null
  local status=$?
  crlf_to_lf < layout.txt
  return $status
}
piece tokens layout in.c
# An include name in <...> is one token, as one in quotes is.
printf '  #  include <no/such.h>\n' > angle.c
piece angle_include layout angle.c
# Blanks read last stand for the token before them.
printf '#error   stop here   \n' > blanks.c
piece trailing_blanks layout blanks.c
# No file, no line: the program's name stands in front.
piece no_place layout missing.c
# The error limit's note.
piece note layout --emax=0 in.c
# The keyword and its value are read in either case; a later -E<digit> or
# --msgformat=fixed gives the fixed layout back, and a later --msgformat=gcc
# replaces the templates of -E1.
piece upper_case layout --MSGFORMAT=GCC in.c
fixed() { "$CPP" --msgformat=gcc "$@" in.c 2>&1 >/dev/null | crlf_to_lf | head -2; }
piece digit_after fixed -E0
piece fixed_after fixed --msgformat=fixed
templates() {
  ZQT_ERR_FORMAT='T %f %l %n' ZQT_WARN_FORMAT='T %f %l %n' "$CPP" "$@" in.c 2>&1 >/dev/null |
    crlf_to_lf | head -2
}
piece templates_then_gcc templates -E1 --msgformat=gcc
piece gcc_then_templates templates --msgformat=gcc -E1
# Any other value is an unknown option.
piece unknown layout --msgformat=clang in.c

# vim's default errorformat takes every line: file, line and column (or no
# column), all valid; a line without a place is only text (valid 0). Where vim is missing the patterns it would apply are
# applied here.
layout in.c > errors.txt
layout missing.c >> errors.txt
if command -v vim > /dev/null; then
  vim -u NONE -N -es -c 'cfile errors.txt' \
    -c 'call writefile(map(getqflist(), {_, e -> e.valid . " " . bufname(e.bufnr) . " " . e.lnum . " " . e.col}), "qf.txt")' \
    -c 'qa!' < /dev/null
else
  sed -E -n 's/^([^:]+):([0-9]+):([0-9]+):.*/1 \1 \2 \3/p; t; s/^([^:]+):([0-9]+):.*/1 \1 \2 0/p; t; s/.*/0  0 0/p' errors.txt > qf.txt
fi
echo "== vim"
cat qf.txt
# VS Code's $gcc problem matcher: its pattern takes file, line, column and
# severity of every error and warning with a place; the line without one is
# not taken, as gcc's own "cc1: error:" lines are not.
echo "== \$gcc"
perl -ne 'print /^(.*?):(\d+):(\d*):?\s+(?:fatal\s+)?(warning|error):\s+(.*)$/ ? "$1 $2 $3 $4\n" : "no match: $_"' errors.txt
