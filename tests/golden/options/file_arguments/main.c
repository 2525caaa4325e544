a __FILE__;
#include "h.h"
#warning w
b;
