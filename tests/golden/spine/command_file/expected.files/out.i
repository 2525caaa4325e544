
# 1 "in.c"
a b
