#ifndef B_COMMON_H
#define B_COMMON_H
int from_b;
#endif
