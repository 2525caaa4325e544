# A directory named where a file is expected: the C library opens it for
# reading, so each use is checked. Input, command file and include file
# report 141; an output file or -L file cannot be created (141, 200); -E
# (201) and --edf= leave diagnostics where they were. Each tells why.
mkdir dir
printf 'a\n#if 1\n#endif x\n' > in.c
printf '#include "dir"\nb\n' > inc.c
for args in "dir" "@dir" "in.c dir" "inc.c" "-Ldir in.c" "-Edir in.c" "--edf=dir in.c"; do
  echo "cpp $args:"
  "$CPP" $args 2>&1 | sed -n -E '/^ *[0-9]+:\t/d; s/^[^(]*\(([0-9]+)\) .*/message \1/p; t; /^[A-Za-z]/p'
  echo "status ${PIPESTATUS[0]}"
done
