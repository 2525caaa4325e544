
# 1 "in.c"
one

two
