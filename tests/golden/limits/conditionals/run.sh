# Conditional limits: 31 open conditionals and a 32nd (144, which ends the
# run), and the 127-entry operator and value stacks of #if (121, 118).
piece() {
  echo "== $1"
  ( "$2" ) > o.txt 2> e.txt
  echo "status $?"
  cat o.txt
  sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/message \1/p' e.txt
}

cond_31_open() {
# 31 nested conditionals are the most the stack holds: all accepted.
python3 -c "
print('before')
for i in range(31): print('#if 1')
print('inside')
for i in range(31): print('#endif')
print('after')" > in.c
"$CPP" in.c
}
piece cond_31_open cond_31_open

cond_32_open() {
# The 32nd open conditional ends the run; the lines before it stay written.
python3 -c "
print('before')
for i in range(32): print('#if 1')
print('inside')
for i in range(32): print('#endif')
print('after')" > in.c
"$CPP" in.c
}
piece cond_32_open cond_32_open

cond_32_not_fatal() {
# With a catalogue that makes 144 an error, the run goes on: the 32nd
# conditional has no room on the stack, so it is only counted, all its
# groups are skipped, and its #endif gives back the state around it.
printf '144 E no room\n' > cat.txt
python3 -c "
for i in range(31): print('#if 1')
print('#if 1')
print('skipped')
print('#else')
print('skipped too')
print('#endif')
print('inside')
for i in range(31): print('#endif')
print('after')" > in.c
"$CPP" --edf=cat.txt in.c
}
piece cond_32_not_fatal cond_32_not_fatal

expr_stacks() {
# The operator stack holds 127 pending operators and the value stack 127
# values: one past either stops the evaluation with its message, the
# condition counts as true and the rest of the file is read.
cond() {
  printf '#if %s\nyes\n#else\nno\n#endif\nafter\n' "$1" > in.c
  "$CPP" in.c 2>/dev/null | crlf_to_lf | grep -v '^#' | grep . | tr '\n' ' '
  echo "status ${PIPESTATUS[0]}"
  "$CPP" in.c 2>&1 >/dev/null | sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/\1/p' | tr '\n' ' '
  echo
}
cond "$(python3 -c "print('(' * 127 + '0' + ')' * 127)")"
cond "$(python3 -c "print('(' * 128 + '0' + ')' * 128)")"
cond "$(python3 -c "print('0?' * 125 + '0' + ':0' * 125)")"
cond "$(python3 -c "print('0?' * 126 + '0' + ':0' * 126)")"
}
piece expr_stacks expr_stacks
