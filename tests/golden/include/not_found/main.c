#include "sub\missing.h"
after;
