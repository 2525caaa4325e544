
# 1 "main.c"
a "main.c";

# 1 "h.h"
h;

# 4 "main.c"
b;
