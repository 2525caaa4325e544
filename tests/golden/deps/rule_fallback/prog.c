#include "b.h"
#include "a.h"
