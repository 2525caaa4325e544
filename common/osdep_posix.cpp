// Operating-system services of Linux and other POSIX systems: '/' is the
// separator written, and a '\' met in a name is taken as '/', so names
// written on Windows work unchanged.
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/alloc.h"
#include "common/osdep.h"

const char PATH_SEPARATOR = '/';

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
    path_use_native_separators(s);
    return s;
}

// A drive letter, a network path (two leading separators) or a leading '/'.
bool path_is_absolute(const char* path) {
    if (!path) return false;
    if (path[0] == '/') return true;
    if (path[0] != '\0' && path[1] == ':') return true;
    return path[0] == '\\' && path[1] == '\\';
}

bool list_directory(const char* dir, std::vector<directory_entry>& entries) {
    entries.clear();
    DIR* d = opendir(dir);
    if (!d) return false;
    while (const dirent* e = readdir(d)) entries.push_back({e->d_name, e->d_type == DT_REG});
    closedir(d);
    return true;
}

bool name_may_open_unlisted(std::string_view name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return true;
    for (char c : name) {
        if (c == '~' || static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

bool path_is_directory(const char* path) {
    struct stat st {};
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool path_same_file(const char* a, const char* b) {
    struct stat sa {};
    struct stat sb {};
    if (stat(a, &sa) != 0 || stat(b, &sb) != 0) return false;
    return S_ISREG(sa.st_mode) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void path_use_native_separators(char* path) {
    for (char* p = path; *p; p++)
        if (*p == '\\') *p = '/';
}

bool stream_is_terminal(std::FILE* f) {
    return isatty(fileno(f)) != 0;
}

int open_file_limit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 0;
    constexpr rlim_t most = 1 << 30;
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > most) return static_cast<int>(most);
    return static_cast<int>(limit.rlim_cur);
}

// Output to a file or a pipe goes out 64 KiB at a time rather than in the C
// library's 4 KiB writes, each a system call; a terminal keeps its line
// buffering.
void set_up_standard_streams() {
    static char stdout_buffer[1 << 16];
    if (!stream_is_terminal(stdout))
        std::setvbuf(stdout, stdout_buffer, _IOFBF, sizeof stdout_buffer);
}
