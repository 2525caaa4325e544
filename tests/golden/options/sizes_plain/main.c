#if sizeof(int) == 2 && sizeof(long) == 8 && sizeof(double) == 16
plain;
#endif
#if sizeof(short long) == 3
short_long;
#endif
