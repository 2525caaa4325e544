/* Numbers in macro text and arguments: measured where they lie, or read
   through the reader where their end needs a look past the text. */
#define u 7
#define l 8
#define f 9
#define e 3
#define A 12ulu
#define B 0x1fUL+0XaBl
#define C 0x
#define D 0b101+1e5+12.5+.5+07e1+1E+2
#define H 0x1
#define N 16
#define ID(x) x
#define P(x) x0
#define Q(x) (x)0x2f
#define R(x, y) x y+x##y
A B C D
H f Hf ID(H)f ID(0x)f ID(12)u ID(12u)l
P(1) P(N) P(0x) P(H)e Q(3)u
ID(ID(N)ID(N)) ID(1 2 3)4 ID((5)) ID(0xff+N)
R(1, 2) R(0x, f) R(N, 2)
x = ID(N)+N; y = ID(12ul)u; z = 12ulu;
