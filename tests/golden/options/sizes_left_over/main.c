#if sizeof(double) == 9
set;
#endif
