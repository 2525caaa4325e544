#include "common.h"
int in_a_x;
