#include "a.h"
main;
