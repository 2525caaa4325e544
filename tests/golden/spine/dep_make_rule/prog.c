#include "my inc.h"
x
