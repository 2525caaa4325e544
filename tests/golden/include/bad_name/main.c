one;
#include b.h
two;
#include
three;
#include   
four;
