#warning read a.h
a;
