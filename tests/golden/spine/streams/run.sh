# Where the text comes from and goes: an empty file, standard input and
# output named "-" (the input known by the empty name), the arguments read
# from standard input when there are none, and from a command file.
: > empty.c
printf 'a  b\n' > in.c
printf 'in.c\nout.i\n' > cmds
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
