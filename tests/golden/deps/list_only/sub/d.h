#include "c.h"
d;
