#include "g.h"
#include "g.h"
int y = G;
