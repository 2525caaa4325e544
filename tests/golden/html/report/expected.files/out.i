
# 1 "in.c"

# 10
int a = ((2) * (2)) + ((R+1) * (R+1));
nothing R+1 "s" pq n1234 2 1 11 "in.c" abcéd
