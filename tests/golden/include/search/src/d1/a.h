a1;

#include "d2/b.h"
a4;
