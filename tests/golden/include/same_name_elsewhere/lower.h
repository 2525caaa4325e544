#ifndef LOWER_H
#define LOWER_H
int lower;
#endif
