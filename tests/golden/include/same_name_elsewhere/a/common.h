#ifndef A_COMMON_H
#define A_COMMON_H
int from_a;
#endif
