m1;
#include "d1/a.h"
m3;





m9;
