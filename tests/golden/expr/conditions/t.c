#if 1 + \
1 == 2
yes
#endif
#define A 2
#if A == 1
one
#elif A == 2
two
#elif 1/0
again
#else
other
#endif
#if 0
a
#elif 2 < 1
b
#else
c
#endif
d
#define CAT(a, b) a ## b
#define VERSION_2 7
#define PICK(n) VERSION_ ## n
#if CAT(VERS, ION_2) == 7 && PICK(2) == 7 && CAT(no, where) == 0
yes
#else
no
#endif
#if 0 && 1/0
a
#elif 1 ? 2 : 1 % 0
b
#endif
#if (0 || 1) ? 3 : 1/0
c
#endif
#if 0
#if 1 +
#elif @
#endif
#elif 1
#elif 1 2
#endif
z
#if 0x1F == 31 && 017 == 15 && 1uL == 1 && '\377' == 255 && '\x41' == 'A'
a
#endif
#if -1 < 0u || 2147483648 < 0 || -6 / 2 == -3 || (1 << 33) != 2
b
#endif
#if sizeof(unsigned short int) == 2 && sizeof(char *) == 4 && sizeof(int (*)()) == 4
c
#endif
#define EMPTY
#define TWICE(x) ((x) * 2)
#define LIMIT TWICE(3)
#if defined EMPTY && defined(TWICE) && !defined ( NOPE ) && LIMIT == 6
a
#endif
#if EMPTY 1 && NOPE == 0
b
#endif
