p;// one
x = a// two
z;
#define F(x) [x]
F(a // c
) F(b /* d
*/)
q;
y = 2// e
