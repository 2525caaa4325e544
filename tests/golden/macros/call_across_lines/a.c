#define F(x) (x)
F
F +
y = F
(1);
z;
