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
