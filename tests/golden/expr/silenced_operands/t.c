#if 0 && 1/0
a
#elif 1 ? 2 : 1 % 0
b
#endif
#if (0 || 1) ? 3 : 1/0
c
#endif
