#if 0 2 3
yes
#endif
#if 1 , 0
again
#endif
#if sizeof(void)
third
#endif
