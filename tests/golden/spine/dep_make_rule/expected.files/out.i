
# 1 "prog.c"

# 1 "my inc.h"
y

# 2 "prog.c"
x
