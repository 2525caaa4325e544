#ifndef BAD4_H
#define BAD4_H
first_bad4;
#else
again_bad4;
#endif
