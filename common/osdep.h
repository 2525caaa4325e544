// Operating-system services: path joining and testing, the letter-case check
// of file names, upper-casing. On Linux '/' is the separator written and a
// '\' read in a name is taken as '/'.
#pragma once

char* path_join(const char* dir, const char* name);  // null for an empty dir
bool path_is_absolute(const char* path);
bool file_name_case_matches(const char* path);
char* str_upper(char* s);
