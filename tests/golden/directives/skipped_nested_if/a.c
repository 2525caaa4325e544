#if 0
#if 1
a
#else
b
#endif
#endif
c
