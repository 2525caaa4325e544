// Program entry: one run of the preprocessor.
#include <unistd.h>

#include <cstdio>

#include "cpp/driver.h"

int main(int argc, char** argv) {
    // Output to a file or a pipe goes out 64 KiB at a time rather than in
    // the C library's 4 KiB writes, each a system call; a terminal keeps its
    // line buffering. Set before any output, once for the process.
    static char stdout_buffer[1 << 16];
    if (isatty(STDOUT_FILENO) == 0)
        std::setvbuf(stdout, stdout_buffer, _IOFBF, sizeof stdout_buffer);
    return run(argc, argv);
}
