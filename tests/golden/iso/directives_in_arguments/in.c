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
#define h(x) (x)
#define k 1
h(
#if k
#endif
#undef h
4)
h(5)
#define h(x) [x]
h
#undef h
(5)
#define h(x) [x]
h(
#undef h
#define h(x, y) {x y}
6)
h(7, 8)
#define two(x, y) [x|y]
#define one(a) a
two(1 2 3,
#if one(1) + one(2)
#endif
4 5)
two(6,
#define Z one(7)
#if Z
#endif
8)
two(9,
#pragma  weak  sym
10)
