a
# 7 "b.c"
b
