#define CAT(a, b) a ## b
#define VERSION_2 7
#define PICK(n) VERSION_ ## n
#if CAT(VERS, ION_2) == 7 && PICK(2) == 7 && CAT(no, where) == 0
yes
#else
no
#endif
