// Operating-system services: path joining and testing, directories and their
// listing, whether two paths name one file, the letter-case check of file
// names, upper-casing. On Linux '/' is the separator written and a '\' read
// in a name is taken as '/'.
#pragma once

#include <string>
#include <vector>

char* path_join(const char* dir, const char* name);  // null for an empty dir
bool path_is_absolute(const char* path);
bool file_name_case_matches(const char* path);
// The names of a directory's entries, in no set order; false (and no names)
// when it cannot be listed.
bool list_directory(const char* dir, std::vector<std::string>& names);
bool path_is_directory(const char* path);  // false also when it cannot be examined
// Whether two paths name one and the same existing file, however they are
// spelled ("a.c", "./a.c", "sub/../a.c", a link to it): on POSIX the same
// device and inode, on Windows the same volume and file index. False when
// either cannot be examined, so a file that does not exist yet is never the
// same as another. Both paths must be non-null.
bool path_same_file(const char* a, const char* b);
char* str_upper(char* s);
