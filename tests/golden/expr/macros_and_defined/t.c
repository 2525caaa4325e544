#define EMPTY
#define TWICE(x) ((x) * 2)
#define LIMIT TWICE(3)
#if defined EMPTY && defined(TWICE) && !defined ( NOPE ) && LIMIT == 6
a
#endif
#if EMPTY 1 && NOPE == 0
b
#endif
#if EMPTY
c
#endif
