/* Replaced arguments written as their text stands where it can: blanks
   folded, names painted or cut to their significant length in between. */
#define id(x) x
#define sp(x) [x]
#define A a  b	 c , d+e  -  f
#define B a+b+c self a-b
#define self id(self) q + self r
#define L x + abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_63_extra y
#define P (1)+(2) - (3)		(4)
sp(A) sp(B) sp(self) sp(L) sp(P) sp(id(A)id(B)) sp( A  B ) sp(self self)
sp(id(P)P) sp(A+B) sp(+A+) sp(.P.)
#define Q 1 2  3   4	5
sp(Q) sp(id(Q) Q)
/* Where an argument meets the body, a space keeps apart what would join. */
#define after(x) x+ x- x. x( x) x, x; x? x~ x[ x] x{ x} x= x< x> x& x| x%
#define before(x) +x -x .x (x )x ,x ;x ?x ~x [x ]x {x }x =x <x >x &x |x %x
after(+) after(-) after(.) after(1) after(1e) after(<) after(&) after(%)
before(+) before(-) before(.) before(1) before(>) before(=) before(:) before(])
