#ifndef G_H
#define G_H
int g;
#endif
