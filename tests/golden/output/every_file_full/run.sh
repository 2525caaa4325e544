# Every file of one run on a full device: the diagnostics file fails first
# and its own failure is told on standard error (185), where the other
# failures then go too, each with its file and the real reason: the
# dependency file (184), the output file (182) and the report (186).
printf 'x\n' > h.h
printf '#warning hi\n#include "h.h"\na\n' > in.c
"$CPP" -E/dev/full -L/dev/full --udf=/dev/full in.c /dev/full
echo "status $?"
