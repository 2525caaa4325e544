
# 1 "in.c"

# 6
int a = ((2) * (2));
nothing R+1
pq 8
