#define R R+1
#define F(x) x
#define G F
#define H(x) [x]
#define J H
R
F(F(1))
J(2)
