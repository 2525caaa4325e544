/* An argument that reaches a call again as it stood, through several
   levels of calls, brackets, commas inside them and numbers included. */
#define L0(x) ((x) + 1)
#define L1(x) L0(((x) ^ 273) + 1)
#define L2(x) L1(((x) ^ 546) + 2)
#define L3(x) L2(((x) ^ 819) + 3)
L3(v * (w, 0x40044000UL) - 1.5e+3)
L3((a,b)+(c,(d,e)))
#define PAIR(a, b) [a|b]
#define SWAP(a, b) PAIR(b, a)
#define ROT(a, b) SWAP(b, a)
ROT(first_long_argument + 12345, second_long_argument * (6, 7))
/* The variable arguments hold commas outside brackets: they split again. */
#define VA(...) PAIR(__VA_ARGS__)
#define VB(...) VA(__VA_ARGS__)
VB(left_hand_side_value, right_hand_side_value)
/* A number that ends the argument, and what follows it in the body. */
#define NUM(x) L0(x.5) L0(x+1) L0(x##e)
#define TWICE_NUM(x) NUM(x)
TWICE_NUM(0x1234567890abcdefe)
TWICE_NUM(123456789012345678)
/* Names met again where their macro is disabled are painted. */
#define SELF(x) PAIR(x, SELF (long_enough_argument))
SELF(long_enough_argument + SELF)
#define OUTER(x) INNER(x + x_outer_operand)
#define INNER(x) OUTER(x)
OUTER(some_long_argument_text)
/* A name of the argument becomes a macro's while the call is read: the
   argument, collected before, is looked at again. */
#define ID2(y) [y]
#define TWICE(x) ID2(x)
TWICE(alpha and some long enough words +
#define alpha ID2(q)
1)
TWICE(alpha and some long enough words + 1)
/* Literals and comments in a long argument. */
L3("a string, with (brackets" + 'c' /* , */ + 1)
