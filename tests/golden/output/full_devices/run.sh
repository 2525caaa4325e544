# Output that cannot be written fails the run, with the reason on standard
# error: the output file, the dependency list (to a file, as a make rule,
# to standard output) and a diagnostics file. The text still reaches a
# standard output that can take it. The run stops at the first failed write,
# so the directive after a line longer than the output buffer is not reached.
printf 'x\n' > h.h
printf '#include "h.h"\na\n' > in.c
"$CPP" in.c /dev/full
echo "status $?"
"$CPP" -L/dev/full in.c
echo "status $?"
ln -s /dev/full deps.d
"$CPP" -LM-deps.d in.c
echo "status $?"
"$CPP" -L in.c > /dev/full
echo "status $?"
printf '#warning hi\n#if 1\n#endif x\nafter\n' > w.c
"$CPP" -E/dev/full w.c
echo "status $?"
printf 'x %.0s' {1..40000} > long.c
printf '\n#error never reached\n' >> long.c
"$CPP" long.c /dev/full
echo "status $?"
# Nor is an #include after such a line, however it is read.
printf 'x %.0s' {1..40000} > long2.c
printf '\n#include "missing.h"\n' >> long2.c
"$CPP" long2.c /dev/full
echo "status $?"
