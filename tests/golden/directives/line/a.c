a __LINE__ __FILE__
# 7 "b.c"
b __LINE__ __FILE__
#line 20
c __LINE__ __FILE__
#line 30 "x.c" junk
d
#line 40 "a"b"
e
#line 50 "q.c
f
#line 60 y.c
g
#line 100 "dir\file.c"
__FILE__ __LINE__
#define L __LINE__
L
#line
h __LINE__
