// Files the run writes whole: each is written under a temporary name beside
// its target and takes the target's place only when the run ends, so that
// an interrupted run, or a file that could not be written completely,
// leaves the previous file as it was.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Opens a file for writing as text, as fopen(path, "w") does: a temporary
// beside it where one can be made, else the file itself, truncated (a
// device, a pipe, a folder that cannot be written). Null, with errno set,
// when neither opens.
std::FILE* whole_file_open(const char* path);
// Closes a stream of whole_file_open. A complete file (nothing failed in
// writing it) waits for whole_file_commit; an incomplete one is removed at
// once and its target kept. Returns 0, or the system's reason the close
// failed.
int whole_file_close(std::FILE* f, bool complete);
struct whole_file_failure {
    std::string path;  // as it was opened
    int error;
};
// At the end of the run: every complete file replaces its target. Returns
// the targets that could not be replaced, each with the system's reason.
std::vector<whole_file_failure> whole_file_commit();
// Removes the temporaries not committed (the streams of files still open
// are closed by their owners); the next run starts without any.
void whole_file_reset();
