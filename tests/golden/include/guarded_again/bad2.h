#ifndef BAD2_H
#define BAD2_H
#endif junk
