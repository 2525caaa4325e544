/* A name looked up just before, then removed or redefined: each look
   answers what the table holds at that moment. */
#define A 1
#define B(x) x + A
A B(A) A
#undef A
A B(A) A
#define A 2
A B(A) A
#define A(x) [x]
A B(A) A(A) A(B(3))
#undef B
#define B A
B(4) B B(B)
#define LONG_NAME_OF_SEVERAL_UNITS(x) x x
#define LONG_NAME_OF_SEVERAL_UNITT(x) (x)
LONG_NAME_OF_SEVERAL_UNITS(LONG_NAME_OF_SEVERAL_UNITT(5)) LONG_NAME_OF_SEVERAL_UNITT(6)
#undef LONG_NAME_OF_SEVERAL_UNITS
LONG_NAME_OF_SEVERAL_UNITS(LONG_NAME_OF_SEVERAL_UNITT(7))
