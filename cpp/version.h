// The version banner of --ver.
#pragma once

#include <cstdio>

void print_version_banner(std::FILE* out);
