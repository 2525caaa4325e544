#ifndef BAD1_H
#define BAD1_H
#if 0
#frobnicate
#endif
#endif
