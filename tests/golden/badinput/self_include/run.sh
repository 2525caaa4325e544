# A file that includes itself without a guard: the nesting ends with message
# 141 once too many files are open, after a bounded number of levels, and the
# lines written before stay in the output.
printf 'level\n#include "self.h"\n' > self.h
printf 'first\n#include "self.h"\n' > in.c
timeout 120 "$CPP" in.c > out.c
status=$?
crlf_to_lf_files out.c
grep -c '^level$' out.c
head -n 3 out.c
exit $status
