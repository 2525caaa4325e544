#if 0
a
#elif 2 < 1
b
#else
c
#endif
d
