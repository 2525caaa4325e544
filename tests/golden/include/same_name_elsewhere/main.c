#include "a/x.h"
#include "b/x.h"
#include "a/x.h"
#include "common.h"
#include <common.h>
#include "b/x.h"
#include "common.h"
#undef A_COMMON_H
#include "a/x.h"
#include <common.h>
#undef B_COMMON_H
#include <common.h>
end;
