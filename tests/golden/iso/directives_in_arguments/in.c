#define f(x) [x]
#define g(x, y) <x|y>
f(1
#ifdef A
2
#else
3
#endif
)
g(a,
#define Q 7
Q)
#if f(1
) == 1
not here
#endif
after
