# Comments removed, and kept with -C: block and line comments, a comment
# becoming one space or vanishing before blanks, runs of stars and slashes,
# '/*' inside a comment (179), splices and trigraphs inside comments, CR LF
# bodies, comments in macro bodies and arguments, a comment that runs out of
# an included file (180), and one the input ends in (139). A line comment
# read while looking ahead (after a name, inside a macro call) is still
# written after what comes before it: nothing lands inside it.
for args in in.c "-C in.c" main.c "-C main.c" "-C look.c" eof.c; do
  echo "== cpp $args"
  "$CPP" $args 2> e.txt
  echo "[status $?]"
  msgs < e.txt | sed 's/^/message /'
done
