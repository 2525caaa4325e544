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
