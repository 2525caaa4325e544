#if sizeof(char *) == 2 && sizeof(long *) == 3
near;
#endif
