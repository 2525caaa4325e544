first;
#include "b.h"
last;
