#warning look here
int x;
  #foo
#if 1
#endif extra
#define f(a) a
int y = f(1,2);
	#bar
#include "no/*x*/here.h"
