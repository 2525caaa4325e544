# Conditional limits: 31 open conditionals and a 32nd (144, which ends the
# run), and the 127-entry operator and value stacks of #if (121, 118).

# 31 nested conditionals are the most the stack holds: all accepted. The
# 32nd ends the run; the lines before it stay written.
nested() {
  { echo before; rep '#if 1\n' "$1"; echo inside; rep '#endif\n' "$1"; echo after; } > in.c
  "$CPP" in.c
}
piece cond_31_open nested 31
piece cond_32_open nested 32

# With a catalogue that makes 144 an error, the run goes on: the 32nd
# conditional has no room on the stack, so it is only counted, all its
# groups are skipped, and its #endif gives back the state around it.
not_fatal() {
  printf '144 E no room\n' > cat.txt
  { rep '#if 1\n' 32; printf 'skipped\n#else\nskipped too\n#endif\ninside\n'; rep '#endif\n' 31; echo after; } > in.c
  "$CPP" --edf=cat.txt in.c
}
piece cond_32_not_fatal not_fatal

# The operator stack holds 127 pending operators and the value stack 127
# values: one past either stops the evaluation with its message, the
# condition counts as true and the rest of the file is read.
expr_stacks() {
  for c in "$(rep '(' 127)0$(rep ')' 127)" "$(rep '(' 128)0$(rep ')' 128)" \
    "$(rep '0?' 125)0$(rep ':0' 125)" "$(rep '0?' 126)0$(rep ':0' 126)"; do
    printf '#if %s\nyes\n#else\nno\n#endif\nafter\n' "$c" > in.c
    "$CPP" in.c 2>/dev/null | text | tr '\n' ' '
    echo "status ${PIPESTATUS[0]}"
    "$CPP" in.c 2>&1 >/dev/null | msgs | tr '\n' ' '
    echo
  done
}
piece expr_stacks expr_stacks
