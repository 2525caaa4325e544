# The make-rule form of the dependency list, to a full device.
printf 'x\n' > h.h
printf '#include "h.h"\na\n' > in.c
ln -s /dev/full deps.d
"$CPP" -LM-deps.d in.c
