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
