# Guarded headers included again and again. Reading such a header once its
# guard is defined only skips its group; whether it is read or passed over,
# the output (line markers and blank lines), the messages and the
# dependency list stay the same. The headers: a clean guard (g1.h, behind
# a comment, with a blank line after #endif), #if !defined forms (g2.h, and
# g3.h, two lines only, whose guard the command line defines), a skipped
# part holding an unknown directive (bad1.h: 107 every time), "#endif junk"
# (bad2.h: 163 every time), text after #endif (bad3.h), an #else of the
# guard's own (bad4.h), nests that overflow the conditional stack when
# included deep down (deep.h), comments outside the group (cmt.h, copied
# by -C), and a file included through a macro, whose end is read after it
# with the line ends passed since the last text line written out as blank
# lines (via.h).
run() {
  "$CPP" "$@" > o.txt 2> e.txt
  echo "status $?"
  cat o.txt e.txt
}
run -I. -DG3_H main.c
run -I. -C comments.c
run -L -I. main.c
# deep.h opens three levels: passed over at depth 28, read at depth 29 (144).
{
  echo '#include "deep.h"'
  for i in $(seq 28); do echo '#if 1'; done
  echo '#include "deep.h"'
  echo '#if 1'
  echo '#include "deep.h"'
  echo inside
  for i in $(seq 29); do echo '#endif'; done
} > deep.c
run -I. deep.c
