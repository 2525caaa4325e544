# Where the text comes from and goes: an empty file, standard input and
# output named "-" (the input known by the empty name), the arguments read
# from standard input when there are none, and from a command file. With
# -L alone the dependency list is all the output, written to the output file
# when one is named (also where a -L file cannot be created, 200); a -L file
# that cannot be created leaves the text without the list.
: > empty.c
printf 'a  b\n' > in.c
printf 'in.c\nout.i\n' > cmds
printf '#include "in.c"\n' > inc.c
for args in empty.c "- -" "" @cmds; do
  echo "== cpp $args"
  if [ -z "$args" ]; then
    echo in.c | "$CPP"
  else
    "$CPP" $args < in.c
  fi
  echo "[status $?]"
done
cat out.i
for args in "-L inc.c deps.i" "-Lno/such/dir inc.c deps.i" "-Lno/such/dir -L inc.c deps.i"; do
  echo "== cpp $args"
  "$CPP" $args
  echo "[status $?]"
  cat deps.i
done
