#include "g3.h"
