#define A 1
A
#ifdef FAIL
#error stop
#define B 2
B
#endif
