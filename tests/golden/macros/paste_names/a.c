#define P(a,b) a ## b
#define N(a) a ## 12
#define VAR(n) var_ ## n
#define CAT3(a,b,c) a ## b ## c
P(x, y) N(v) VAR(3) CAT3(p,q,r)
#define xy 7
P(x,y)
