#endif
#else
#elif 1
x
