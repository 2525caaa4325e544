# Two files including each other end the same way.
printf 'in_a\n#include "b.h"\n' > a.h
printf 'in_b\n#include "a.h"\n' > b.h
printf '#include "a.h"\n' > in.c
timeout 120 "$CPP" in.c | grep -c '^in_'
exit ${PIPESTATUS[0]}
