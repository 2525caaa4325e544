#define A(__VA_ARGS__) 1
#define B(x) __VA_ARGS__ x
#define C(x, x) x
#define D(x,) x
#define E(x, ...) x
B(1) E(1) E() C(1,2)
