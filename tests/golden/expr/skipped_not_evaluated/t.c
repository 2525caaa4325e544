#if 0
#if 1 +
#elif @
#endif
#elif 1
#elif 1 2
#endif
z
