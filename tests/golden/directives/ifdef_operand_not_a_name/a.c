#ifdef 3
x
#endif
#if
y
#endif
