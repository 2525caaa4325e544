# Skipped groups in ISO C: a string or character literal never opens a
# comment there, a lone quote (an apostrophe in prose) is no error and ends
# with its line, and the directives in the group are still seen. In the
# toolchain's own dialect the "/*" inside the first literal begins a
# comment that runs on over the live lines.
piece iso "$CPP" --std=c99 s.c
piece default "$CPP" s.c

# The same after a quote that a directive's extra text opens, read from
# the rest of a line being thrown away.
extra() {
  printf '#if 1\n#endif "/*"\nlive\n/* c */\nlive2\n' > in.c
  "$CPP" --std=c99 in.c | text
}
piece extra_text extra

# A header included again whose guard is defined is skipped the same way:
# a "/*" in a literal of its group hides no #else, and "%:else" is one.
guarded() {
  printf '#ifndef G\n#define G\nchar c = '"'"'/*'"'"';\n#else\nvisible\n*/\n#endif\n' > g.h
  printf '#ifndef H\n#define H\nhead\n%%:else\nvisible2\n#endif\n' > h.h
  printf '#include "g.h"\n#include "g.h"\n#include "h.h"\n#include "h.h"\nend\n' > in.c
  "$CPP" --std=c99 in.c
}
piece guarded guarded
