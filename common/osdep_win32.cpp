// Operating-system services of Windows: '\' is the separator written, names
// are taken as they are written ('/' and '\' both separate there), a drive
// letter or a network name makes a path absolute, and the letter case of a
// file name is checked against the directory through the file search.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
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

std::size_t read_regular_file(std::FILE* f, void* buffer, std::size_t n) {
    return std::fread(buffer, 1, n, f);
}

void* map_record_region(std::size_t /*bytes*/) {
    return nullptr;
}

void unmap_record_region(void* /*region*/, std::size_t /*bytes*/) {}

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

// ---- Files written whole ----
//
// The console handler runs on a thread of its own: it takes the lock that
// guards the names of the open temporaries, deletes them and ends the
// process, which it never gives back. A temporary is opened with delete
// sharing, so that it can be deleted while the main thread still writes it.
namespace {

constexpr int TEMPORARY_SLOTS = 8;
SRWLOCK temporaries_lock = SRWLOCK_INIT;
std::string temporary_names[TEMPORARY_SLOTS];
bool slot_used[TEMPORARY_SLOTS];
bool handling = false;

class temporaries_locked {
   public:
    temporaries_locked() { AcquireSRWLockExclusive(&temporaries_lock); }
    ~temporaries_locked() { ReleaseSRWLockExclusive(&temporaries_lock); }
    temporaries_locked(const temporaries_locked&) = delete;
    temporaries_locked& operator=(const temporaries_locked&) = delete;
};

// The signal numbers of the C library: SIGINT 2, SIGBREAK 21; closing the
// console counts as a hang-up, 1.
BOOL WINAPI remove_temporaries_and_exit(DWORD event) {
    int sig = event == CTRL_C_EVENT       ? 2
              : event == CTRL_BREAK_EVENT ? 21
              : event == CTRL_CLOSE_EVENT ? 1
                                          : 0;
    if (sig == 0) return FALSE;
    AcquireSRWLockExclusive(&temporaries_lock);
    for (int i = 0; i < TEMPORARY_SLOTS; ++i)
        if (slot_used[i]) DeleteFileA(temporary_names[i].c_str());
    ExitProcess(static_cast<UINT>(128 + sig));
}

void release_slot(const std::string& name) {
    for (int i = 0; i < TEMPORARY_SLOTS; ++i)
        if (slot_used[i] && temporary_names[i] == name) slot_used[i] = false;
}

int errno_of(DWORD error) {
    switch (error) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        default:
            return EIO;
    }
}

// Whether an existing target may be replaced: a plain file on a disk, of
// one link, neither read-only nor a link. False also for a device ("NUL").
// Its attributes that the new file takes over go to *kept.
bool replaceable(HANDLE h, DWORD* kept) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || GetFileInformationByHandle(h, &info) == 0) return false;
    constexpr DWORD refused =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
    *kept = info.dwFileAttributes &
            (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return (info.dwFileAttributes & refused) == 0 && info.nNumberOfLinks == 1;
}

}  // namespace

// A symbolic link or a junction (a reparse point) is written in place: it
// stays a link, and the file it names takes the text.
std::FILE* replacement_open(const char* target, replacement& r) {
    r.destination = target;
    HANDLE existing = CreateFileA(
        target, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD attributes = 0;
    if (existing != INVALID_HANDLE_VALUE) {
        bool ok = replaceable(existing, &attributes);
        CloseHandle(existing);
        if (!ok) return nullptr;
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return nullptr;
    }
    r.temporary = r.destination + ".cpp-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE h = INVALID_HANDLE_VALUE;
    {
        temporaries_locked locked;
        int slot = 0;
        while (slot < TEMPORARY_SLOTS && slot_used[slot]) ++slot;
        if (slot == TEMPORARY_SLOTS) return nullptr;
        h = CreateFileA(r.temporary.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                        nullptr, CREATE_NEW, attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL,
                        nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;  // a folder that cannot be written
        temporary_names[slot] = r.temporary;
        slot_used[slot] = true;
    }
    int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_WRONLY | _O_TEXT);
    std::FILE* f = fd >= 0 ? _fdopen(fd, "w") : nullptr;
    if (f == nullptr) {
        if (fd >= 0)
            _close(fd);
        else
            CloseHandle(h);
        replacement_discard(r);
    }
    return f;
}

int replacement_commit(const replacement& r) {
    temporaries_locked locked;
    int err = 0;
    if (MoveFileExA(r.temporary.c_str(), r.destination.c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
        err = errno_of(GetLastError());
        DeleteFileA(r.temporary.c_str());
    }
    release_slot(r.temporary);
    return err;
}

void replacement_discard(const replacement& r) {
    temporaries_locked locked;
    DeleteFileA(r.temporary.c_str());
    release_slot(r.temporary);
}

void interrupts_begin() {
    handling = SetConsoleCtrlHandler(remove_temporaries_and_exit, TRUE) != 0;
}

void interrupts_end() {
    if (handling) SetConsoleCtrlHandler(remove_temporaries_and_exit, FALSE);
    handling = false;
}
