#include "d.h"
c;
