/* A guarded header skipped, then read again as the macro table changes
   between its inclusions: the guard removed, put back, defined anew; the
   name "defined" made a macro and removed again. */
#include "g.h"
#include "g.h"
#undef G_H
#include "g.h"
#include "g.h"
#undef G_H
#define G_H other
#include "g.h"
#define UNRELATED 1
#include "g.h"
#include "d.h"
#include "d.h"
#define defined
#include "d.h"
#undef defined
#include "d.h"
#undef D_H
#include "d.h"
end;
