#define
x
#define 3x
#define F(a b) y
#define G(a
#undef
#define S "abc
#define P a ##
#define Q a ## ;
P Q F G
#define A 1
#define A 1
#define A  1 
#define A 2
#define F(a,b) a
#define F(x) x
#define __LINE__ 5
A __LINE__
#define X x  +	y
#define X x + y 
#define V(a,b) a+b
#define V(x,y) x+y
#define V(a,b) b+a
#define Y x
#define Y(x) x
#define Z
#define Z 0
#define F (x) x
X V(1,2) Y(3) Z F
