#define R 1
#define R 2
#if 1
#endif x
