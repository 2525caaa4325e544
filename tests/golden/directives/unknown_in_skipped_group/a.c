#if 0
#foo
#error no
#include "nonexistent.h"
#endif
x
