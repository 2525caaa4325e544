# A UTF-16 file (a byte-order mark FF FE or FE FF) is refused with message
# 188 instead of being read as bytes (every other one a NUL): as the main
# input before the output file is created, and as an include file at its
# #include, with the text before it kept.
printf '\xff\xfei\0n\0t\0 \0x\0;\0\n\0' > le.c
printf '\xfe\xff\0i\0n\0t\0 \0y\0;\0\n' > be.h
printf 'before;\n#include "be.h"\nafter;\n' > inc.c
"$CPP" le.c le.i
echo "status $?"
[ -e le.i ] && echo "le.i created"
"$CPP" inc.c
echo "status $?"
