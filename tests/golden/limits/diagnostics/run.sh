# Diagnostic limits: the 2047-character output line, catalogue texts that ask
# for other arguments than the report passes, catalogue lines of more than 255
# characters, command-file lines of 8191 and words of 255 characters.
piece() {
  echo "== $1"
  ( "$2" ) > o.txt 2> e.txt
  echo "status $?"
  cat o.txt
  sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/message \1/p' e.txt
}

diagnostic_line_2047() {
# A caret far out on a long line would make a diagnostic line of thousands
# of characters: it is cut to 2047 characters and its newline.
python3 -c "
print('#if 1' + ' ' * 3000 + '@')
print('yes')
print('#endif')" > in.c
"$CPP" in.c > out.c 2> err.txt
status=$?
crlf_to_lf_files out.c err.txt
grep -v '^#' out.c | grep .
awk '{ print length($0) }' err.txt
grep -c '(124)' err.txt
exit $status
}
piece diagnostic_line_2047 diagnostic_line_2047

catalogue_bad_conversions() {
# A user catalogue whose texts ask for arguments the report does not pass
# (four strings for none, a %n) is shown as plain text, never formatted.
printf '107 E unknown %%s%%s%%s%%s directive\n163 0 extra %%n text %%s\n103 E error says %%d\n' > cat.txt
printf '#foo\n#if 1\n#endif x\n#error here\nafter\n' > in.c
"$CPP" --edf=cat.txt in.c
}
piece catalogue_bad_conversions catalogue_bad_conversions

catalogue_long_line() {
# Catalogue lines are read in pieces of 255 characters: the first piece
# carries the message cut at its end, the rest is parsed as a line of its
# own (here malformed, reported with its piece number).
python3 -c "
print('107 E unknown thing #%s ' + 'x' * 300)
print('# a comment counts as a line')
print('163 0 extra text')" > cat.txt
printf '#foo\nafter\n' > in.c
"$CPP" --edf=cat.txt in.c 2>&1 | crlf_to_lf | awk '{ print length($0) ": " substr($0, 1, 60) }'
}
piece catalogue_long_line catalogue_long_line

command_file_limits() {
# Command-file lines hold 8191 characters and words 255: a line of 8189
# characters and its newline, and a word of 255 characters, pass silently;
# one more character gives message 337 or 917.
printf 'A B\n' > main.c
run() {
  "$CPP" @cmds 2>&1 >/dev/null | sed -n -E 's/^[^(]*\(([0-9]+)\) .*/\1/p' | tr '\n' ' '
  "$CPP" @cmds 2>/dev/null | crlf_to_lf | grep -v '^#' | grep . | cut -c1-20 | tr '\n' ' '
  echo "status ${PIPESTATUS[0]}"
}
for pad in 8172 8173; do
  python3 -c "print('-DA=1' + ' ' * $pad + '-DB=2 main.c')" > cmds
  echo "line of $(head -n 1 cmds | wc -L):"
  run
done
for width in 251 252; do
  python3 -c "print('-DA=' + 'x' * $width + ' -DB=2 main.c')" > cmds
  echo "word of $((width + 4)):"
  run
done
}
piece command_file_limits command_file_limits
