#define F(a) [a]
#define H F(1,2)
#define R 1
#define R 2
		F(1,2) F(3,4)
ab	F(1,2)
abcdefg	F(1,2)
#include "sub.h"
                                             F(1,2)
                                              F(1,2)
x H y
F(1,
2)
last F(5,6)