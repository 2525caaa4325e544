# Line splices in ISO C are removed everywhere before the text is read:
# inside string and character literals, a line comment's "//", a block
# comment's "/*" and "*/", names, numbers and punctuators, also when the
# backslash is the trigraph ??/. The joined line is written as one line,
# and a line marker brings the line count back in step after it. The
# toolchain's own dialect keeps the splices of literals and comments.
piece iso "$CPP" --std=c99 sp.c
piece default "$CPP" sp.c

# In directives: a macro body's literal, an include name, an #if, the
# literal of #error.
directives() {
  printf 'inner\n' > inc.h
  printf '#define S "x\\\ny" 1\\\n2\n#include "in\\\nc.h"\n#if 1 +\\\n1 == 2\nS\n#endif\n#error "a\\\nb"\n__LINE__\n' > in.c
  "$CPP" --std=c99 in.c
}
piece directives directives
