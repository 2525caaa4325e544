[X] [Y] [Z] [W] [V] [F(x)] [F]
#ifdef __STDC__
stdc __STDC__;
#endif
__LINE__ __FILE__
