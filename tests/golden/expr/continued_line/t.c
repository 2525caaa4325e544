#if 1 + \
1 == 2
yes
#endif
