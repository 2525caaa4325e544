// Operating-system services of Windows: '\' is the separator written, names
// are taken as they are written ('/' and '\' both separate there), a drive
// letter or a network name makes a path absolute, and the letter case of a
// file name is checked against the directory through the file search.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/alloc.h"
#include "common/osdep.h"

const char PATH_SEPARATOR = '\\';

// Drops one '\' at the end of the directory and one at the start of the name
// and puts one between them; '/' is left as it stands.
char* path_join(const char* dir, const char* name) {
    if (!dir || *dir == '\0') return nullptr;
    std::size_t dir_len = std::strlen(dir);
    if (dir[dir_len - 1] == '\\') dir_len--;
    if (*name == '\\') name++;
    std::size_t name_len = std::strlen(name);
    char* s = static_cast<char*>(alloc_mem(dir_len + 1 + name_len + 1));
    std::memcpy(s, dir, dir_len);
    s[dir_len] = '\\';
    std::memcpy(s + dir_len + 1, name, name_len);
    return s;
}

// A drive letter ("C:x.h", "C:\x.h") or a network path ("\\server\share");
// a single leading '\' is relative to the current drive and counts as
// relative.
bool path_is_absolute(const char* path) {
    if (!path || path[0] == '\0') return false;
    return path[1] == ':' || (path[0] == '\\' && path[1] == '\\');
}

// The file search of "dir\*" gives every name as the directory stores it.
bool list_directory(const char* dir, std::vector<directory_entry>& entries) {
    entries.clear();
    std::string pattern(dir);
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    constexpr DWORD not_plain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    do entries.push_back({found.cFileName, (found.dwFileAttributes & not_plain) == 0});
    while (FindNextFileA(search, &found) != 0);
    FindClose(search);
    return true;
}

bool name_may_open_unlisted(std::string_view) {
    return true;
}

bool path_is_directory(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

namespace {

// The volume and file index of an existing file or directory; false when it
// cannot be opened for its attributes or is a device.
bool file_identity(const char* path, BY_HANDLE_FILE_INFORMATION* info) {
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, info) != 0;
    CloseHandle(h);
    return ok;
}

}  // namespace

bool path_same_file(const char* a, const char* b) {
    BY_HANDLE_FILE_INFORMATION ia{};
    BY_HANDLE_FILE_INFORMATION ib{};
    if (!file_identity(a, &ia) || !file_identity(b, &ib)) return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

void path_use_native_separators(char*) {}

bool stream_is_terminal(std::FILE* f) {
    return _isatty(_fileno(f)) != 0;
}

int open_file_limit() {
    return _getmaxstdio();
}

// Source text arrives as the bytes of the file: the reader takes CR LF as a
// line end itself, and a Ctrl-Z byte is text like any other, as on Linux. A
// console keeps its text mode, where a line ends in CR LF and Ctrl-Z ends
// the input. Output stays in text mode (CR LF line ends), as Windows tools
// expect, and goes out 64 KiB at a time unless it is the console.
void set_up_standard_streams() {
    if (!stream_is_terminal(stdin)) _setmode(_fileno(stdin), _O_BINARY);
    static char stdout_buffer[1 << 16];
    if (!stream_is_terminal(stdout))
        std::setvbuf(stdout, stdout_buffer, _IOFBF, sizeof stdout_buffer);
}
