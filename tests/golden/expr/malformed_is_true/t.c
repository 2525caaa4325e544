#if 1 +
yes
#else
no
#endif
