// The macros defined at start-up: __STDC__, __LINE__, __FILE__, __DATE__,
// __TIME__.
#pragma once

int define_predefined_macros();
