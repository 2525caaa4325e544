# The same name in "..." form, included from files in other directories,
# names another file each time: a/x.h and b/x.h each include "common.h",
# which is a/common.h, b/common.h or, from the main file, ./common.h. The
# <...> form finds the first in the -I directories wherever it is written.
# A header whose guard is still defined is passed over; once its guard is
# undefined it is read again. The dependency list (-L, no text) names each
# file once.
"$CPP" -Ia -Ib main.c
echo "status $?"
"$CPP" -L -Ib -Ia main.c
echo "status $?"
# A header found only under its name in lower case (or, on Windows, under
# another letter case than written) draws its message at every #include,
# passed over or not.
"$CPP" -I. cased.c 2>&1
echo "status $?"
