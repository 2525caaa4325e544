
# 1 "in.c"

# 1 "a.h"
y

