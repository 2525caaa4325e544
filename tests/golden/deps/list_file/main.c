#include "b.h"
#include "a.h"
#include "b.h"
main;
