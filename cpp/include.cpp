// #include: reading the name in its two forms (after a macro standing in its
// place has been expanded), the search along the including file's directory
// and the -I directories, opening and pushing the file, and the set of files
// included that the dependency list is written from.
//
// Names are built with '/'; a '\' written in a name or an -I directory is
// taken as '/', so sources written on Windows work unchanged.
//
// Files do not appear or vanish in the include directories while a run
// lasts, so what opening a candidate path gave (nothing, the file, or the
// file only under its lower-case name, and whether the name on disk is
// spelled so) is remembered for the run: a path looked up again costs no
// system call but the open that reads it.
#include "cpp/include.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/alert.h"
#include "common/hash.h"
#include "common/osdep.h"
#include "common/wstr.h"
#include "cpp/driver.h"
#include "cpp/expand.h"
#include "cpp/messages.h"
#include "cpp/options.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"

namespace {

constexpr std::size_t MAX_NAME_LEN = 259;        // longer include names are cut
constexpr std::size_t MAX_CANDIDATE_LEN = 8190;  // longer candidates draw 146
// Files open at once, the main file included. A file that includes itself
// without a guard would otherwise hold a stream and two buffers per level
// until the system refuses to open more; past this depth the include file
// counts as one that cannot be opened.
constexpr int MAX_OPEN_FILES = 200;

// What opening a candidate path gave.
enum class found : std::uint8_t { missing, exact, lower_case };

struct path_entry {
    found result = found::missing;
    bool case_matches = false;  // file_name_case_matches of the candidate
    bool recorded = false;      // in driver.included_files
};
using path_node = std::pair<const std::string, path_entry>;

struct path_hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using file_ptr = std::unique_ptr<std::FILE, file_closer>;

struct include_state {
    // The paths recorded in driver.included_files; the table holds pointers
    // into these, so they live until the next run resets this state.
    std::vector<std::unique_ptr<char[]>> recorded;
    // The path open_include last opened (the lower-case copy when only that
    // one opened).
    std::string opened;
    // Every candidate path tried in this run and what opening it gave.
    std::unordered_map<std::string, path_entry, path_hash, std::equal_to<>> paths;
    // Every search made in this run, by its form, the including file's
    // directory (for the "..." form) and the name: the first candidate that
    // opened, or null. A search that reported a candidate too long is not
    // kept, so that it reports again.
    std::unordered_map<std::string, path_node*, path_hash, std::equal_to<>> searches;
    std::string candidate;  // the candidate being built
    std::string search_key;
    file_ptr found_file;  // the file a search opened when it found it just now
};
include_state includes;

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

void use_slashes(std::string& s) {
    std::replace(s.begin(), s.end(), '\\', '/');
}

bool is_rooted(const std::string& name) {
    if (!name.empty() && is_separator(name[0])) return true;
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

// Appends the directory part of the including file, separator included
// (nothing for the current directory). The including file is the nearest
// file source: a macro that supplied the name may still be the current
// source.
void append_including_directory(std::string& out) {
    const input_source* s = reader.current_source;
    while (s != nullptr && s->file == nullptr) s = s->parent.get();
    if (s == nullptr || s->name == nullptr) return;
    const wchar* name = s->name.get();
    const wchar* backslash = nullptr;  // the last '\\' or, when there is none, the last '/'
    const wchar* slash = nullptr;
    for (const wchar* p = name; *p != 0; ++p) {
        if ((*p & 0xFF) == '\\') backslash = p;
        if ((*p & 0xFF) == '/') slash = p;
    }
    const wchar* cut = backslash != nullptr ? backslash : slash;
    if (cut == nullptr) return;
    for (const wchar* p = name; p <= cut; ++p) out.push_back(static_cast<char>(*p & 0xFF));
}

void record_included(path_node* node) {
    if (node->second.recorded) return;
    node->second.recorded = true;
    hash_table* table = driver.included_files;
    if (table == nullptr ||
        hash_lookup(table, reinterpret_cast<hash_word>(includes.opened.c_str())) != 0)
        return;
    auto copy = std::make_unique<char[]>(includes.opened.size() + 1);
    std::memcpy(copy.get(), includes.opened.c_str(), includes.opened.size() + 1);
    auto key = reinterpret_cast<hash_word>(copy.get());
    hash_insert(table, key, key);
    includes.recorded.push_back(std::move(copy));
}

path_node* entry_for(std::string_view path, file_ptr& f);

// The candidate in includes.candidate: its entry when it opens, else null.
path_node* try_candidate() {
    use_slashes(includes.candidate);
    path_node* node = entry_for(includes.candidate, includes.found_file);
    return node->second.result != found::missing ? node : nullptr;
}

path_node* search_own_directory(const std::string& name, bool& too_long) {
    std::string& candidate = includes.candidate;
    candidate.clear();
    if (!is_rooted(name)) append_including_directory(candidate);
    candidate += name;
    if (candidate.size() > MAX_CANDIDATE_LEN) {
        alert_report(MSG_INCLUDE_PATH_LONG);
        too_long = true;
        return nullptr;
    }
    return try_candidate();
}

path_node* search_include_dirs(const std::string& name, bool& too_long) {
    std::string& candidate = includes.candidate;
    for (int i = 0; i < options.include_count; ++i) {
        const char* dir = options.include_dirs[i];
        std::size_t dir_len = std::strlen(dir);
        if (dir_len + name.size() > MAX_CANDIDATE_LEN) {
            alert_report(MSG_INCLUDE_PATH_LONG);
            too_long = true;
            continue;
        }
        candidate.clear();
        if (name.empty() || !is_separator(name[0])) {
            candidate.append(dir, dir_len);
            if (dir_len == 0 || !is_separator(dir[dir_len - 1])) candidate += '/';
        }
        candidate += name;
        if (path_node* node = try_candidate()) return node;
    }
    return nullptr;
}

// The first candidate for the name that opens, or null. The same search
// made again gives the same answer and is answered from the searches made.
path_node* search(const std::string& name, bool quoted) {
    std::string& key = includes.search_key;
    key.assign(1, quoted ? '"' : '<');
    if (quoted && !is_rooted(name)) append_including_directory(key);
    key += '\n';  // no name holds a line end
    key += name;
    auto it = includes.searches.find(key);
    if (it != includes.searches.end()) return it->second;
    bool too_long = false;
    path_node* node = quoted ? search_own_directory(name, too_long) : nullptr;
    if (node == nullptr) node = search_include_dirs(name, too_long);
    if (!too_long) includes.searches.emplace(key, node);
    return node;
}

// Collects the name up to the closing delimiter, a line end or the end of
// input (the terminator is consumed), unprocessed, and narrows it, cut to
// MAX_NAME_LEN characters.
std::string read_include_name(int close) {
    scanner.save_ptr = scanner.save_buffer;
    reader.raw_input = 1;
    bool overflowed = false;
    for (;;) {
#if CPP_READER_FAST_PATH
        // The units next_char would hand out as they are, straight from the
        // buffer, while the save buffer has room for them.
        if (input_source* s = reader.current_source; s != nullptr && !reader.bookkeeping) {
            const wchar* p = s->pos;
            wchar* out = scanner.save_ptr;
            wchar* const room = scanner.save_buffer + SAVE_BUFFER_SIZE;
            while (*p < 256 && reader_plain_unit[*p] && *p != close && out < room) *out++ = *p++;
            s->pos = const_cast<wchar*>(p);
            scanner.save_ptr = out;
        }
#endif
        int c = next_char();
        if (c == close || c == '\n' || c == 0) break;
        // The full buffer is reported once; the rest of the name is skipped.
        if (overflowed) continue;
        overflowed = scanner.save_ptr >= scanner.save_buffer + SAVE_BUFFER_SIZE;
        save_char(c);
    }
    reader.raw_input = 0;
    wchar* end = std::min(scanner.save_ptr, scanner.save_buffer + SAVE_BUFFER_SIZE - 1);
    std::string name;
    name.reserve(static_cast<std::size_t>(end - scanner.save_buffer));
    for (const wchar* p = scanner.save_buffer; p != end && name.size() < MAX_NAME_LEN; ++p) {
        char narrow = static_cast<char>(*p & 0xFF);
        if (narrow == '\0') break;
        name.push_back(narrow);
    }
    return name;
}

// fopen that refuses directories, which the C library opens on Linux.
file_ptr open_file(const char* path) {
    file_ptr f(std::fopen(path, "r"));
    if (f != nullptr && path_is_directory(path)) f.reset();
    return f;
}

std::string lower_case(std::string_view path) {
    std::string lower(path);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The entry of a candidate path, made by opening it (and, failing that, its
// lower-case copy) when the path is new; f is then the file opened.
path_node* entry_for(std::string_view path, file_ptr& f) {
    auto it = includes.paths.find(path);
    if (it != includes.paths.end()) return &*it;
    path_entry e;
    std::string name(path);
    f = open_file(name.c_str());
    if (f != nullptr) {
        e.result = found::exact;
    } else if (std::string lower = lower_case(path); lower != name) {
        // (A name in lower case already would fail the same way again.)
        f = open_file(lower.c_str());
        if (f != nullptr) e.result = found::lower_case;
    }
    if (e.result != found::missing) e.case_matches = file_name_case_matches(name.c_str());
    return &*includes.paths.emplace(std::move(name), std::move(e)).first;
}

int open_file_count() {
    int n = 0;
    for (const input_source* s = reader.current_source; s != nullptr; s = s->parent.get()) {
        if (s->file != nullptr) ++n;
    }
    return n;
}

// Opens the file of a candidate path that was found before, under the name
// it opened by.
file_ptr reopen() {
    return file_ptr(std::fopen(includes.opened.c_str(), "r"));
}

// Opens and pushes the file of a candidate path; f is the file when the
// look-up opened it just now. Returns 0 when the file cannot be opened.
int open_entry(path_node* node, file_ptr& f) {
    path_entry& e = node->second;
    if (e.result == found::missing) return 0;
    const char* path = node->first.c_str();
    if (e.result == found::lower_case) {
        includes.opened = lower_case(node->first);
        alert_report(MSG_LOWER_CASE_INCLUDE, path);
    } else {
        includes.opened = node->first;
    }
    if (!e.case_matches) alert_report(MSG_INCLUDE_CASE, path);
    if (f == nullptr) f = reopen();
    if (f == nullptr) {
        // The file has gone since it was found: look for it afresh.
        includes.paths.clear();
        includes.searches.clear();
        return 0;
    }
    std::string shown = includes.opened.substr(0, MAX_NAME_LEN);
    push_file_source(f.release(), shown.c_str(), true);
    return 1;
}

}  // namespace

std::uint32_t include_name_hash(std::uintptr_t name) {
    std::uint32_t hash = 0;
    for (const char* p = reinterpret_cast<const char*>(name); *p != '\0'; ++p) {
        if (std::strcmp(p, ".h") == 0) break;
        hash = hash * 4 + static_cast<std::uint32_t>(static_cast<signed char>(*p));
    }
    return hash;
}

int open_include(const char* path) {
    file_ptr f;
    return open_entry(entry_for(path, f), f);
}

void do_include() {
    int c = expand_if_macro(skip_blanks());
    if (c != '"' && c != '<') {
        // A bare #include must not take the next line with it; stepping back
        // first also reports it on its own line.
        if (c == '\n') unget_char();
        alert_report(MSG_BAD_INCLUDE_NAME);
        skip_line();
        return;
    }
    std::string read_name = read_include_name(c == '"' ? '"' : '>');
    if (open_file_count() >= MAX_OPEN_FILES) {
        alert_report(MSG_CANNOT_OPEN, "include", read_name.c_str());
        return;
    }
    std::string name = read_name;
    use_slashes(name);
    path_node* node = search(name, c == '"');
    file_ptr f = std::move(includes.found_file);
    if (node == nullptr) {
        alert_report(MSG_CANNOT_OPEN, "include", read_name.c_str());
        return;
    }
    // While only dependencies are listed, a path already included ends the
    // directive without being read again.
    if (driver.no_output && driver.included_files != nullptr &&
        hash_lookup(driver.included_files, reinterpret_cast<hash_word>(node->first.c_str())) != 0)
        return;
    if (open_entry(node, f) == 0) {
        alert_report(MSG_CANNOT_OPEN, "include", read_name.c_str());
        return;
    }
    record_included(node);
}

void include_reset() {
    includes = {};
}
