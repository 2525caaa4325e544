#define R 1
#define R 2
#foo
#if 1 @
#endif x
#define F(a) a
F(1,2)
	#include "nofile.h"
