#line 20
a
#line 30 "x.c" junk
b
#line 40 "a"b"
c
#line 50 "q.c
d
#line 60 y.c
e
#line
f
