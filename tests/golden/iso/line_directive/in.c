/* ISO C: the line of #line is macro-replaced before it is read. */
#define L 100
#define F "file.c"
#define CAT(a,b) a##b
#line L F
__LINE__ __FILE__
#line CAT(2,0)
__LINE__
#line 7 "x.c"
__LINE__ __FILE__
