a;
#include "h.h"
b;
