#assert sizeof(int) == 4 && sizeof(double) == 8
#assert 1 - 1
#assert defined(X
ok
#if 'ab' == 24930 && 0 ? 'cd' : 1
x
#endif
#if 1 / 0 == 0
y
#endif
#if 0 2 3
yes
#endif
#if 1 , 0
again
#endif
#if sizeof(void)
third
#endif
#if 1 +
yes
#else
no
#endif
#define EMPTY
#if EMPTY
c
#endif
