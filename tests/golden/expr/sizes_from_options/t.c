#if sizeof(int) == 2 && sizeof(long) == 4 && sizeof(short long) == 4
a
#endif
#if sizeof(char *) == 2 && sizeof(double *) == 2 && sizeof(int (*)()) == 6
b
#endif
