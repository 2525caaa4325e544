# A fatal message ends the run, but every line written before it stays, in
# an output file and through a pipe.
printf 'one\n#define X two\nX\n#include "missing.h"\nthree\n' > in.c
"$CPP" in.c out.c
echo "status $?"
for i in $(seq 3000); do echo "line$i"; done > big.c
printf '#include "missing.h"\nnever\n' >> big.c
"$CPP" big.c | grep -c '^line'
echo "status ${PIPESTATUS[0]}"
