#if 0
#include "missing.h"
#include <nothing>
#endif
ok;
