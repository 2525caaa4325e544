// The command-line options, applied left to right.
#pragma once

constexpr int MAX_INCLUDE_DIRS = 255;

struct option_state {
    const char* include_dirs[MAX_INCLUDE_DIRS] = {};
    int include_count = 0;
    int suppress_predefined = 0;
    int warning_level = 0;
};
extern option_state options;

// Moves the file arguments to argv[1], argv[2], ... and returns their number
// plus one.
int parse_options(int argc, char** argv);
void options_reset();
