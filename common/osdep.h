// Operating-system services: path joining and testing, directories, the letter-case check
// of file names, upper-casing. On Linux '/' is the separator written and a
// '\' read in a name is taken as '/'.
#pragma once

char* path_join(const char* dir, const char* name);  // null for an empty dir
bool path_is_absolute(const char* path);
bool file_name_case_matches(const char* path);
bool path_is_directory(const char* path);  // false also when it cannot be examined
char* str_upper(char* s);
