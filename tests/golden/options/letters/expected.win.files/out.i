
# 1 "shown.c"
/* kept */
1 Y

# 1 "inc\h.h"
h;

# 9 "shown.c"
sizes



one

