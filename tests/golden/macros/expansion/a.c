#define N 4
#define SQ(x) ((x)*(x))
#define MAX(a,b) ((a)>(b)?(a):(b))
a = N;
b = SQ(N+1);
c = MAX(a, b);
#define F(x) (x)
F
F +
y = F
(1);
z;
#define R R+1
#define I(x) x
#define G I
#define H(x) [x]
#define J H
R I(I(1)) J(2) G(3) I(I) I(R)
#define O (x) x
#define E()
#define EB() x
O E() E EB()
#define FF(a,a) a
#define BL( a , b ) b
FF(1,2) BL(1,2)
#define T a  	  b	
#define U "a   b"  'c'
#define Q "a\"b"   x
T U Q
#define K(x,y) x|y
K((a,b), c) K( a 
  b , c	) K("a,(" ')', 2) K(,2)
__STDC__
#if __STDC__
yes
#endif
#define WHERE __FILE__ __LINE__
WHERE
#define A 1
#undef A
#undef NEVER
#undef __FILE__
A __FILE__
#define K1 one
#define FN(x) x
#define GN(a) [a]
GN(FN K1) GN(FN/**/K1) GN(FN K_2) GN(FN K1 + 1)
