#if sizeof(short) == 7 && sizeof(int) == 4
kept;
#endif
