// Operating-system services of Linux and other POSIX systems: '/' is the
// separator written, and a '\' met in a name is taken as '/', so names
// written on Windows work unchanged.
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
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
    for (char* p = std::strchr(path, '\\'); p != nullptr; p = std::strchr(p + 1, '\\')) *p = '/';
}

std::size_t read_regular_file(std::FILE* f, void* buffer, std::size_t n) {
    // A regular file gives less than asked for only at its end.
    for (;;) {
        ssize_t got = read(fileno(f), buffer, n);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return 0;
    }
}

void* map_record_region(std::size_t bytes) {
    constexpr std::size_t HUGE_PAGE = std::size_t{2} << 20;
    // Mapped a huge page longer, then cut to the boundary inside it.
    const std::size_t span = bytes + HUGE_PAGE;
    void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    auto* const mapped = static_cast<char*>(p);
    const std::size_t lead =
        (HUGE_PAGE - reinterpret_cast<std::uintptr_t>(mapped) % HUGE_PAGE) % HUGE_PAGE;
    char* const region = mapped + lead;
    if (lead != 0) munmap(mapped, lead);
    if (const std::size_t trail = span - lead - bytes; trail != 0) munmap(region + bytes, trail);
#ifdef MADV_HUGEPAGE
    // Refused where the kernel has no transparent huge pages: the region
    // then has small pages, as the heap would.
    madvise(region, bytes, MADV_HUGEPAGE);
#endif
    return region;
}

void unmap_record_region(void* region, std::size_t bytes) {
    if (region != nullptr) munmap(region, bytes);
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

// ---- Files written whole ----
//
// The interrupt handler removes the temporaries and ends the process itself,
// with unlink and _exit alone, rather than set a flag for the run to look
// at: a run blocked in a write (to a full pipe, a slow disk) would never
// reach the place that looks. It can reach nothing but these: the names of
// the open temporaries, in slots prepared before each file is created. They
// belong to the process; a slot is filled and emptied with the interrupts
// blocked, so the handler never sees half a name.
namespace {

constexpr int TEMPORARY_SLOTS = 8;
constexpr std::size_t TEMPORARY_NAME_CAPACITY = 4096;
volatile std::sig_atomic_t slot_used[TEMPORARY_SLOTS];
char slot_name[TEMPORARY_SLOTS][TEMPORARY_NAME_CAPACITY];

constexpr int INTERRUPTS[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous_action[3];
bool handling[3];

extern "C" void remove_temporaries_and_exit(int sig) {
    for (int i = 0; i < TEMPORARY_SLOTS; ++i)
        if (slot_used[i]) unlink(slot_name[i]);
    _exit(128 + sig);
}

// Blocks the interrupts for the life of the object.
class interrupts_blocked {
   public:
    interrupts_blocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int sig : INTERRUPTS) sigaddset(&set, sig);
        sigprocmask(SIG_BLOCK, &set, &saved_);
    }
    ~interrupts_blocked() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }
    interrupts_blocked(const interrupts_blocked&) = delete;
    interrupts_blocked& operator=(const interrupts_blocked&) = delete;

   private:
    sigset_t saved_;
};

void release_slot(const std::string& name) {
    for (int i = 0; i < TEMPORARY_SLOTS; ++i)
        if (slot_used[i] && name == slot_name[i]) slot_used[i] = 0;
}

mode_t new_file_mode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::FILE* replacement_open(const char* target, replacement& r) {
    r.destination = target;
    struct stat st {};
    // A symbolic link stays a link: the file it names is replaced. A link
    // that names nothing yet is left to be followed in place.
    if (lstat(target, &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = realpath(target, nullptr);
        if (real == nullptr) return nullptr;
        r.destination = real;
        std::free(real);
    }
    const char* dest = r.destination.c_str();
    bool exists = stat(dest, &st) == 0;
    if (!exists && errno != ENOENT) return nullptr;
    // A device, a pipe, a file of hard links or of another owner, one the
    // user may not write: written in place, as the user would expect of it.
    if (exists && (!S_ISREG(st.st_mode) || st.st_nlink != 1 || st.st_uid != geteuid() ||
                   access(dest, W_OK) != 0))
        return nullptr;
    mode_t mode = exists ? st.st_mode & 07777 : new_file_mode();
    r.temporary = r.destination + ".cpp-" + std::to_string(getpid()) + ".tmp";
    if (r.temporary.size() >= TEMPORARY_NAME_CAPACITY) return nullptr;
    int fd = -1;
    {
        interrupts_blocked blocked;
        int slot = 0;
        while (slot < TEMPORARY_SLOTS && slot_used[slot]) ++slot;
        if (slot == TEMPORARY_SLOTS) return nullptr;
        fd = open(r.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) return nullptr;  // a folder that cannot be written
        std::memcpy(slot_name[slot], r.temporary.c_str(), r.temporary.size() + 1);
        slot_used[slot] = 1;
    }
    fchmod(fd, mode);
    std::FILE* f = fdopen(fd, "w");
    if (f == nullptr) {
        close(fd);
        replacement_discard(r);
    }
    return f;
}

int replacement_commit(const replacement& r) {
    interrupts_blocked blocked;
    int err = rename(r.temporary.c_str(), r.destination.c_str()) == 0 ? 0 : errno;
    if (err != 0) unlink(r.temporary.c_str());
    release_slot(r.temporary);
    return err;
}

void replacement_discard(const replacement& r) {
    interrupts_blocked blocked;
    unlink(r.temporary.c_str());
    release_slot(r.temporary);
}

void interrupts_begin() {
    struct sigaction action {};
    action.sa_handler = remove_temporaries_and_exit;
    sigemptyset(&action.sa_mask);
    for (int sig : INTERRUPTS) sigaddset(&action.sa_mask, sig);
    for (int i = 0; i < 3; ++i) {
        handling[i] = false;
        if (sigaction(INTERRUPTS[i], nullptr, &previous_action[i]) != 0) continue;
        if (previous_action[i].sa_handler == SIG_IGN) continue;  // nohup, a background job
        handling[i] = sigaction(INTERRUPTS[i], &action, nullptr) == 0;
    }
}

void interrupts_end() {
    for (int i = 0; i < 3; ++i) {
        if (handling[i]) sigaction(INTERRUPTS[i], &previous_action[i], nullptr);
        handling[i] = false;
    }
}
