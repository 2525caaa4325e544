a __LINE__ __FILE__
#line 100 "dir\file.c"
__FILE__ __LINE__
#define L __LINE__
L
