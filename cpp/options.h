// The command-line options, applied left to right.
#pragma once

#include <vector>

constexpr int MAX_INCLUDE_DIRS = 255;

struct option_state {
    const char* include_dirs[MAX_INCLUDE_DIRS] = {};
    int include_count = 0;
    int suppress_predefined = 0;
    int warning_level = 0;
    // Met an option it does not know: the file arguments may not be what
    // was meant ("cpp -o out.i in.c"), so the driver creates no output file.
    bool unknown_option = false;
    // The report asked for with --udf= (the last one given), and the
    // arguments as received for its command-line section. The driver
    // creates the report once the input is open.
    const char* report_file = nullptr;
    // The first file argument, the input (null for standard input).
    const char* input_file = nullptr;
    std::vector<char*> received;
};
extern option_state options;

// Moves the file arguments to argv[1], argv[2], ... and returns their number
// plus one.
int parse_options(int argc, char** argv);
void options_reset();
