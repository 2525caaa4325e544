#include "LOWER.H"
#include "LOWER.H"
#include <Lower.h>
int last;
