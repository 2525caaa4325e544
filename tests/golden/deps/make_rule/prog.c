#include "zeta.h"
#include "my file.h"
#include "a.h"
#include "a.h"
prog;
