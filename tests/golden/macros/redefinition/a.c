#define A 1
#define A 1
#define A  1 
#define A 2
#define F(a,b) a
#define F(x) x
#define __LINE__ 5
A __LINE__
