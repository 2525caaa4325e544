#include "a.h"
#include "missing.h"
#include "b.h"
