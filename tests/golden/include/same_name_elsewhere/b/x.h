#include "common.h"
int in_b_x;
