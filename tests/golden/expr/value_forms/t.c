#if 0x1F == 31 && 017 == 15 && 1uL == 1 && '\377' == 255 && '\x41' == 'A'
a
#endif
#if -1 < 0u || 2147483648 < 0 || -6 / 2 == -3 || (1 << 33) != 2
b
#endif
#if sizeof(unsigned short int) == 2 && sizeof(char *) == 4 && sizeof(int (*)()) == 4
c
#endif
