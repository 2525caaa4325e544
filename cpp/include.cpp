// #include: reading the name in its two forms (after a macro standing in its
// place has been expanded), the search along the including file's directory
// and the -I directories, opening and pushing the file, and the set of files
// included that the dependency list is written from.
//
// Candidates are joined and shown with the platform's separator; on Linux a
// '\' written in a name or an -I directory is taken as '/', so sources
// written on Windows work unchanged.
#include "cpp/include.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
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

struct include_state {
    // The paths recorded in driver.included_files; the table holds pointers
    // into these, so they live until the next run resets this state.
    std::vector<std::unique_ptr<char[]>> recorded;
    // The path open_include last opened (the lower-case copy when only that
    // one opened).
    std::string opened;
};
include_state includes;

enum class try_result { not_found, done };

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

bool is_rooted(const std::string& name) {
    if (!name.empty() && is_separator(name[0])) return true;
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

// The name of the file the directive stands in: the nearest file source (a
// macro that supplied the name may still be the current source).
std::string including_file_name() {
    const input_source* s = reader.current_source;
    while (s != nullptr && s->file == nullptr) s = s->parent.get();
    if (s == nullptr || s->name == nullptr) return {};
    std::string name;
    for (const wchar* p = s->name.get(); *p != 0; ++p) name.push_back(static_cast<char>(*p & 0xFF));
    return name;
}

// The directory part of the including file, separator included; empty for
// the current directory.
std::string including_directory() {
    std::string file = including_file_name();
    std::size_t cut = file.rfind('\\');
    if (cut == std::string::npos) cut = file.rfind('/');
    if (cut == std::string::npos) return {};
    return file.substr(0, cut + 1);
}

void record_included(const std::string& path) {
    hash_table* table = driver.included_files;
    if (table == nullptr || hash_lookup(table, reinterpret_cast<hash_word>(path.c_str())) != 0)
        return;
    auto copy = std::make_unique<char[]>(path.size() + 1);
    std::memcpy(copy.get(), path.c_str(), path.size() + 1);
    auto key = reinterpret_cast<hash_word>(copy.get());
    hash_insert(table, key, key);
    includes.recorded.push_back(std::move(copy));
}

// One candidate. While only dependencies are listed, a path already included
// ends the directive without being read again.
try_result try_candidate(std::string candidate) {
    path_use_native_separators(candidate.data());
    if (driver.no_output && driver.included_files != nullptr &&
        hash_lookup(driver.included_files, reinterpret_cast<hash_word>(candidate.c_str())) != 0)
        return try_result::done;
    if (open_include(candidate.c_str()) == 0) return try_result::not_found;
    record_included(includes.opened);
    return try_result::done;
}

try_result search_own_directory(const std::string& name) {
    std::string candidate = is_rooted(name) ? name : including_directory() + name;
    if (candidate.size() > MAX_CANDIDATE_LEN) {
        alert_report(MSG_INCLUDE_PATH_LONG);
        return try_result::not_found;
    }
    return try_candidate(std::move(candidate));
}

try_result search_include_dirs(const std::string& name) {
    for (int i = 0; i < options.include_count; ++i) {
        std::string dir = options.include_dirs[i];
        if (dir.size() + name.size() > MAX_CANDIDATE_LEN) {
            alert_report(MSG_INCLUDE_PATH_LONG);
            continue;
        }
        std::string candidate;
        if (!name.empty() && is_separator(name[0]))
            candidate = name;
        else if (!dir.empty() && is_separator(dir.back()))
            candidate = dir + name;
        else
            candidate = dir + PATH_SEPARATOR + name;
        if (try_candidate(std::move(candidate)) == try_result::done) return try_result::done;
    }
    return try_result::not_found;
}

// Collects the name up to the closing delimiter, a line end or the end of
// input (the terminator is consumed), unprocessed, and narrows it, cut to
// MAX_NAME_LEN characters.
std::string read_include_name(int close) {
    scanner.save_ptr = scanner.save_buffer;
    reader.raw_input = 1;
    bool overflowed = false;
    for (;;) {
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
    for (const wchar* p = scanner.save_buffer; p != end && name.size() < MAX_NAME_LEN; ++p) {
        char narrow = static_cast<char>(*p & 0xFF);
        if (narrow == '\0') break;
        name.push_back(narrow);
    }
    return name;
}

// fopen that refuses directories, which the C library opens on Linux. The
// bytes are read as they are: the reader takes CR LF as a line end itself.
std::FILE* open_file(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (f != nullptr && path_is_directory(path)) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}

int open_file_count() {
    int n = 0;
    for (const input_source* s = reader.current_source; s != nullptr; s = s->parent.get()) {
        if (s->file != nullptr) ++n;
    }
    return n;
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
    includes.opened = path;
    std::FILE* f = open_file(path);
    if (f == nullptr) {
        std::string lower = path;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        f = open_file(lower.c_str());
        if (f == nullptr) return 0;
        alert_report(MSG_LOWER_CASE_INCLUDE, path);
        includes.opened = lower;
    }
    if (!file_name_case_matches(path)) alert_report(MSG_INCLUDE_CASE, path);
    std::string shown = includes.opened.substr(0, MAX_NAME_LEN);
    push_file_source(f, shown.c_str(), true);
    return 1;
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
    path_use_native_separators(name.data());
    if (c == '"' && search_own_directory(name) == try_result::done) return;
    if (search_include_dirs(name) == try_result::done) return;
    alert_report(MSG_CANNOT_OPEN, "include", read_name.c_str());
}

void include_reset() {
    includes = {};
}
