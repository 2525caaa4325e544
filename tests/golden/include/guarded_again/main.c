#include "g1.h"
one = ONE;
#include "g1.h"
#include <g1.h>
two;
#include "g1.h" tail
#include "G1.H"
#pragma after_include
#include "g2.h"
#include "g2.h"
#include "g3.h"
three;
#include "g3.h"
four;
#include "g3.h"
five;
#undef G1_H
#include "g1.h"
six;
#include "bad1.h"
#include "bad1.h"
#include "bad2.h"
#include "bad2.h"
#include "bad3.h"
#include "bad3.h"
#include "bad4.h"
#include "bad4.h"
#define HDR "via.h"
seven;
#include HDR
end;
