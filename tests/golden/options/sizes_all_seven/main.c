#if sizeof(short long) == 3 && sizeof(int) == 2
all;
#endif
