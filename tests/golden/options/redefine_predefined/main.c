#ifdef __STDC__
stdc __STDC__;
#else
no_stdc;
#endif
line __LINE__;
