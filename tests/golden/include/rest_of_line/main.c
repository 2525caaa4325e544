#include "a.h" int x;
#include "a.h"/* c */tail
end;
