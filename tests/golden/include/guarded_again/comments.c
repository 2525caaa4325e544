#include "cmt.h"
x;
#include "cmt.h"
y;
#include "g2.h"
#include "g2.h"
z;
