#define HDR "b.h"
#define SYS <c.h>
#include HDR
#include SYS
end;
