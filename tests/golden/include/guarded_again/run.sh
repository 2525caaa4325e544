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
# The headers, one line each.
printf '#ifndef BAD1_H\n#define BAD1_H\n#if 0\n#frobnicate\n#endif\n#endif\n' > bad1.h
printf '#ifndef BAD2_H\n#define BAD2_H\n#endif junk\n' > bad2.h
printf '#ifndef BAD3_H\n#define BAD3_H\n#endif\nafter_bad3;\n' > bad3.h
printf '#ifndef BAD4_H\n#define BAD4_H\nfirst_bad4;\n#else\nagain_bad4;\n#endif\n' > bad4.h
printf '/* before the guard */\n#ifndef CMT_H\n#define CMT_H\n#endif\n// after the guard\n' > cmt.h
printf '#ifndef DEEP_H\n#define DEEP_H\n#if 1\n#if 1\n#endif\n#endif\n#endif\n' > deep.h
printf '/* g1.h: a guarded header */\n#ifndef G1_H\n#define G1_H\n#define ONE 1\nint g1;\n#if 0\n#pragma anything   /* skipped */\n#endif\n#endif /* G1_H */\n\n' > g1.h
printf '#if !defined(G2_H)\n#define G2_H\nint g2;\n#endif\n' > g2.h
printf '#if ! defined G3_H\n#endif\n' > g3.h
printf '#include "g3.h"\n' > via.h
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
