# Include names read straight from the line, or unit by unit: names of 258
# to 261 characters (those past 259 are cut), in both forms, a name that
# runs to the line's end without its closing delimiter, one behind a
# comment, and names holding a '/', a '\' or a '?', each of which the
# reader may hand out otherwise. A name that cannot be opened ends the run,
# its message showing what was read: each include is a run of its own.
mkdir -p sub
printf 'in_sub;\n' > sub/a.h
printf 'plain;\n' > a.h
lines=()
for n in 258 259 260 261; do
  name=$(rep x "$n")
  lines+=("#include \"$name\"" "#include <$name>")
done
lines+=('#include "a.h' '#include <a.h' '#include /* c */ "a.h"' '#include "sub/a.h"'
  '#include <sub/a.h>' '#include "sub\a.h"' '#include "a?.h"' '#include "a.h"x'
  '#include "a.h"' '#include "a.h"  ')
for line in "${lines[@]}"; do
  printf '%s\nafter;\n' "$line" > main.c
  "$CPP" -I. main.c > o.txt 2> e.txt
  echo "== ${line:0:24} status $?"
  text < o.txt
  msgs < e.txt
  # The name a message shows, by its length when it is long.
  sed -n 's/.*(141) [^:]* \(xx*\): .*/\1/p' e.txt | awk '{ print "name of " length($0) }'
done
