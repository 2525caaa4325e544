#define F(x) <x>
F()
F(1,2)
F(a,)
