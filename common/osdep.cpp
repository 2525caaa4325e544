// Operating-system services: joining and testing paths, telling whether two
// paths name one file, checking the letter case of a file name against the
// directory, upper-casing. On Linux '/' is
// the separator written; a '\' met in a name is taken as '/'.
#include "common/osdep.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "common/alloc.h"

namespace {

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

}  // namespace

char* path_join(const char* dir, const char* name) {
    if (!dir || *dir == '\0') return nullptr;
    std::size_t dir_len = std::strlen(dir);
    if (is_separator(dir[dir_len - 1])) dir_len--;
    if (is_separator(*name)) name++;
    std::size_t name_len = std::strlen(name);
    char* s = static_cast<char*>(alloc_mem(dir_len + 1 + name_len + 1));
    std::memcpy(s, dir, dir_len);
    s[dir_len] = '/';
    std::memcpy(s + dir_len + 1, name, name_len);
    for (char* p = s; *p; p++)
        if (*p == '\\') *p = '/';
    return s;
}

// A drive letter, a network path (two leading separators) or a leading '/'.
bool path_is_absolute(const char* path) {
    if (!path) return false;
    if (path[0] == '/') return true;
    if (path[0] != '\0' && path[1] == ':') return true;
    return path[0] == '\\' && path[1] == '\\';
}

// Lists the directory of path and looks for an entry spelled exactly like its
// last component. False also when the directory cannot be listed.
bool file_name_case_matches(const char* path) {
    std::string dir(path);
    for (char& c : dir)
        if (c == '\\') c = '/';
    std::size_t cut = dir.rfind('/');
    std::string name = cut == std::string::npos ? dir : dir.substr(cut + 1);
    if (cut == std::string::npos)
        dir.assign(1, '.');
    else
        dir.resize(cut != 0 ? cut : 1);
    if (name.empty()) return false;
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    bool found = false;
    while (const dirent* e = readdir(d)) {
        if (name == e->d_name) {
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}

bool list_directory(const char* dir, std::vector<std::string>& names) {
    names.clear();
    DIR* d = opendir(dir);
    if (!d) return false;
    while (const dirent* e = readdir(d)) names.emplace_back(e->d_name);
    closedir(d);
    return true;
}

bool path_is_directory(const char* path) {
    struct stat st {};
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool path_same_file(const char* a, const char* b) {
    struct stat sa {};
    struct stat sb {};
    if (stat(a, &sa) != 0 || stat(b, &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

char* str_upper(char* s) {
    if (!s) return nullptr;
    for (char* p = s; *p; p++) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    return s;
}
