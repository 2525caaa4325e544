#include_next <x.h>
A
