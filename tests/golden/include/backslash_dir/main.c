#include <z.h>
