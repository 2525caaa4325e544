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
