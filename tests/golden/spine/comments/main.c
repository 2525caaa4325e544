#include "h.h"
still */ y
#include "open.h"
still comment */ int after;
