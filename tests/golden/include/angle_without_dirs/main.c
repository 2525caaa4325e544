before;
#include <a.h>
after;
