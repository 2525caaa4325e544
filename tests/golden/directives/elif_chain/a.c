#define B
#if 0
a
#elif defined(B)
b
#elif 1
c
#else
d
#endif
#ifndef B
e
#else
f
#endif
