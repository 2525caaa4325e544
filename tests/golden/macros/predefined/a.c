__STDC__
#if __STDC__
yes
#endif
