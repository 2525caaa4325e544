#define X 1
#pragma X  foo
x
