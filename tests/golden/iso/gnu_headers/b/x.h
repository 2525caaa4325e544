#include_next <x.h>
B
