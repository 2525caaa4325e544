#define S(x) #x
#define MSG(x) "value: " # x
S(a "b\n" c) MSG(  spaced   out  ) S() S(  ) S('"' "\\" \n)
#define H(x) # y x
H(1)
#define P(a,b) a ## b
#define N(a) a ## 12
#define VAR(n) var_ ## n
#define CAT3(a,b,c) a ## b ## c
P(x, y) N(v) VAR(3) CAT3(p,q,r) P(1, 2) P(12, 34) P(0x, 1F) P(,y) P(x,) P(-,>) P(<,<=)
#define xy 7
#define cd 42
#define Q ab ## cd
P(x,y) Q P(c,d) P(P,P) N(N)
#define W(x) x ## ;
W(a)
#define E
#define s(x) #x
#define v(x) s(x)
#define w(x) P(x,z)
v(a E) v(a E b) v(E a E) w(a E) w(E a)
