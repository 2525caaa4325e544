#define A 1
A
#error stop
#define B 2
B
