#include "sub\x.h"
#include "sub\\y.h"
