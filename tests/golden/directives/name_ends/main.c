#define A(x) [x]
#define(B) 1
#ifdef A
one;
#else
two;
#endif
#if!defined B
three;
#endif/* c */
#ifndef A//c
four;
#endif
#def\
ine C 3
C;
#undef\
 C
C;
#if??=
#endif
#if 1?1:0
five;
#endif
#pragma here
#ifdef	A
six;
#endif	
#include"h.h"
#abcdefghijklmnopqrstuvwxyz0123456789abcdefghij
#endif
#e
# 7 "x.c"
seven;
