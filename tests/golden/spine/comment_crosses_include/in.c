#include "h.h"
still */ y
