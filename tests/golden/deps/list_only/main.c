#include "a.h"
#include "io"
#include "zeta.h"
#include "io.h"
#include "sub/c.h"
#include "a.h"
text;
#include "missing.h"
never;
