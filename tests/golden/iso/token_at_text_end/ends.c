/* A name or number that ends a macro's text or an argument ends there: it
   never runs into what follows the text. */
#define id(x) x
#define two(a, b) a b
#define N 12
#define E 1e
#define P 0x1p
#define D .5
#define NAME abc
id(N.5) id(N+1) id(E+1) id(P-3) id(D.D) id(N)N id(NAME)NAME
two(N, .5) two(E, +1) two(NAME, 2) two(1, N) two(x, NAME)
id(id(N)) id(id(E)+1) id(id(NAME)) id(id(N)id(N))
/* A disabled name at the end of its own text, and inside an argument. */
#define f(x) x f
#define self self
#define loop id(loop)
f(1)(2) id(f(3))(4) id(self) id(id(self)) loop id(loop)
/* A function-like macro named last: the '(' is looked for after the text. */
#define g(x) [x]
#define name_g g
#define call(m) m
name_g(1) call(g)(2) id(name_g)(3) call(name_g) (4)
/* A name longer than its significant length at the end. */
#define abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_63_chars_long_yes 1
#define long_end abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_63_chars_long_yes_more
long_end id(long_end) id(abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_63_chars_long_yes_more)
/* A number or name in an argument that a spliced line goes on. */
id(12\
34) id(ab\
cd) two(N\
N, E\
5)
