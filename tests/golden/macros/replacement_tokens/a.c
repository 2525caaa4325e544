/* Replacement lists as stored: every token below stands after the first,
   in a line read straight from the buffer where nothing stops it. */
#define ID(x) x
#define SELF (SELF + 1)
#define SELF2 ( 1 +   SELF2 )
r = ID(ID(SELF)) ID(ID(SELF2));
/* numbers: a suffix, an exponent and a fraction are no parameter */
#define U(u, e, l) (1u 2U 1e 1.e 3l 0x1e u e l)
r = U(a, b, c);
#define D(x) (1.5 .5 x.1 12x 1_x x1)
r = D(y);
/* a name spliced over a line end is one name */
#define SPL(ab, cd) (a\
b c\
d)
r = SPL(1, 2);
/* blanks and tabs */
#define BL(a)	(	a	  + 	 a   )
r = BL(z);
/* operators and marks of their own */
#define OP(a) (a+-*&|^~!<>=,;:[]{}@`$a)
r = OP(q);
#define VA(a) (a, __VA_ARGS__)
r = VA(v);
