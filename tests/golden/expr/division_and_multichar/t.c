#if 'ab' == 24930 && 0 ? 'cd' : 1
x
#endif
#if 1 / 0 == 0
y
#endif
