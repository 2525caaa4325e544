# Diagnostic limits: the 2047-character output line, catalogue texts that ask
# for other arguments than the report passes, catalogue lines of more than 255
# characters, command-file lines of 8191 and words of 255 characters.

# A caret far out on a long line would make a diagnostic line of thousands
# of characters: it is cut to 2047 characters and its newline.
diagnostic_line() {
  printf '#if 1%s@\nyes\n#endif\n' "$(rep ' ' 3000)" > in.c
  "$CPP" in.c 2> err.txt | text
  status=${PIPESTATUS[0]}
  crlf_to_lf_files err.txt
  awk '{ print length($0) }' err.txt
  grep -c '(124)' err.txt
  exit $status
}
piece diagnostic_line_2047 diagnostic_line

# A user catalogue whose texts ask for arguments the report does not pass
# (four strings for none, a %n) is shown as plain text, never formatted.
bad_conversions() {
  printf '107 E unknown %%s%%s%%s%%s directive\n163 0 extra %%n text %%s\n103 E error says %%d\n' > cat.txt
  printf '#foo\n#if 1\n#endif x\n#error here\nafter\n' > in.c
  "$CPP" --edf=cat.txt in.c
}
piece catalogue_bad_conversions bad_conversions

# Catalogue lines are read in pieces of 255 characters: the first piece
# carries the message cut at its end, the rest is parsed as a line of its
# own (here malformed, reported with its piece number).
long_line() {
  printf '107 E unknown thing #%%s %s\n# a comment counts as a line\n163 0 extra text\n' "$(rep x 300)" > cat.txt
  printf '#foo\nafter\n' > in.c
  "$CPP" --edf=cat.txt in.c 2>&1 | crlf_to_lf | awk '{ print length($0) ": " substr($0, 1, 60) }'
}
piece catalogue_long_line long_line

# Command-file lines hold 8191 characters and words 255: a line of 8189
# characters and its newline, and a word of 255 characters, pass silently;
# one more character gives message 337 or 917.
command_file() {
  printf 'A B\n' > main.c
  for cmds in "-DA=1$(rep ' ' 8172)-DB=2" "-DA=1$(rep ' ' 8173)-DB=2" \
    "-DA=$(rep x 251) -DB=2" "-DA=$(rep x 252) -DB=2"; do
    echo "$cmds main.c" > cmds
    case $cmds in *xx*) echo "word of $((${#cmds} - 6)):" ;; *) echo "line of $(wc -L < cmds):" ;; esac
    "$CPP" @cmds 2>&1 >/dev/null | msgs | tr '\n' ' '
    "$CPP" @cmds 2>/dev/null | text | cut -c1-20 | tr '\n' ' '
    echo "status ${PIPESTATUS[0]}"
  done
}
piece command_file_limits command_file
