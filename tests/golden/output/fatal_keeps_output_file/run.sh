# A fatal message ends the run, but every line written before it stays in
# the output file.
printf 'one\n#define X two\nX\n#include "missing.h"\nthree\n' > in.c
"$CPP" in.c out.c
