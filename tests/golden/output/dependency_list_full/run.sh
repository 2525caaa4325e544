# -L alone writes only the dependency list to standard output; a full
# device fails the run.
printf 'x\n' > h.h
printf '#include "h.h"\na\n' > in.c
"$CPP" -L in.c > /dev/full
