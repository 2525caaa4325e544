/* #include_next goes on after the directory the current file lies in;
   in the main file it searches them all. */
#include <x.h>
#include_next <x.h>
/* A file that says "#pragma once" is not read again (known by its path). */
#include <o.h>
#include "a/o.h"
#include <t.h>
#include <t.h>
/* __LINE__ in a call that runs over lines: the line of the macro's name. */
#define f(x) x __LINE__
f(__LINE__
) __LINE__
