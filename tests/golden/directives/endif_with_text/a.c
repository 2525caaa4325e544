#if 1
#endif junk
x
