first;
#include "a.h"
#include <a.h>
#include "b.h"
#include <x.h>
#include <z.h>
#include "sub\x.h"
#include "sub\\y.h"
#include "d1/a.h"
m10;
#define HDR "g.h"
#define SYS <b.h>
#include HDR
#include SYS
#include "g.h"
int y = G;
#include "a.h" int x;
#include "a.h"/* c */tail
#if 0
#include "missing.h"
#include <nothing>
#endif
#line 20 "elsewhere/x.c"
#include "a.h"
last;
