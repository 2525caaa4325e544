# A dependency file that cannot be written fails the run, while the
# preprocessed text still reaches standard output.
printf 'x\n' > h.h
printf '#include "h.h"\na\n' > in.c
"$CPP" -L/dev/full in.c
