#line 20 "elsewhere/x.c"
#include "a.h"
after;
