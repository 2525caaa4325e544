#define R 1
#define R 2
#warning first
#if 1
#endif x
#ifdef ERR
#error one
#error two
#error three
#endif
#ifdef FATAL
#include "nofile.h"
#endif
#ifdef MANY
#define F(a) a
F(1,2) F(1,2) F(1,2) F(1,2) F(1,2) F(1,2) F(1,2) F(1,2) F(1,2) F(1,2) F(1,2) F(1,2)
#endif
#warning last
#ifdef ODD
#include "odd.h"
#endif
