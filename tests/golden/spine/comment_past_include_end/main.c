#include "open.h"
still comment */ int after;
