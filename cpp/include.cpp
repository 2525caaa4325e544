// #include: reading the name in its two forms (after a macro standing in its
// place has been expanded), the search along the including file's directory
// and the -I directories, opening and pushing the file, and the set of files
// included that the dependency list is written from.
//
// Candidates are joined and shown with the platform's separator; on Linux a
// '\' written in a name or an -I directory is taken as '/', so sources
// written on Windows work unchanged.
//
// Files do not appear or vanish in the include directories while a run
// lasts, so what opening a candidate path gave (nothing, the file, or the
// file only under its lower-case name, and whether the name on disk is
// spelled so) is remembered for the run: a path looked up again costs no
// system call but the open that reads it. Each directory a candidate lies
// in is listed once a run; a candidate whose name the listing holds in no
// letter case is not opened at all (where the platform says a listing can
// tell), and the letter-case check reads the same listing. A file read once
// that turns out to be one group guarded by #ifndef NAME is not read again
// while NAME is defined: reading it would only have skipped the group (see
// pass_over); a file that fits the reader's first block is looked at for
// its guard as it is pushed.
#include "cpp/include.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/alert.h"
#include "common/hash.h"
#include "common/osdep.h"
#include "common/wstr.h"
#include "cpp/dialect.h"
#include "cpp/directives.h"
#include "cpp/driver.h"
#include "cpp/expand.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/options.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#ifndef CPP_INCLUDE_SKIP
#define CPP_INCLUDE_SKIP 1
#endif

namespace {

constexpr std::size_t MAX_NAME_LEN = 259;        // longer include names are cut
constexpr std::size_t MAX_CANDIDATE_LEN = 8190;  // longer candidates draw 146
// Files open at once, the main file included. A file that includes itself
// without a guard would otherwise hold a stream and two buffers per level
// until the system refuses to open more; past this depth the include file
// counts as one that cannot be opened.
constexpr int MAX_OPEN_FILES = 200;
// The longest name a directory entry holds on the file systems in use.
constexpr std::size_t LONGEST_LISTED_NAME = 255;
// ISO C: as many as the system lets the run hold open, less those it may
// need besides (standard streams, output, dependency, diagnostics and report
// files, directory listings), and at most as many as memory bears easily
// (each level holds some 80 KiB).
constexpr int FILES_KEPT_FREE = 16;
constexpr int MIN_ISO_OPEN_FILES = 16;  // the main file and 15 levels of #include
constexpr int MAX_ISO_OPEN_FILES = 1024;

// What opening a candidate path gave.
enum class found : std::uint8_t { missing, exact, lower_case };

// Whether a file may be passed over instead of read.
enum class guard_state : std::uint8_t {
    unread,     // not read yet
    read_once,  // read once, not looked at yet
    none,       // not one guarded group, or not one the reader is known to skip quietly
    guarded,    // see guard_facts
};

// A file whose whole text is one group opened by "#ifndef NAME",
// "#if !defined NAME" or "#if !defined(NAME)" and closed by its #endif,
// with nothing but blanks, line ends and comments around it, in which the
// reader, skipping it, meets nothing to report: no unknown directive, no
// #else or #elif of the group's own, no text after an #endif or #else, no
// comment that nests or runs off the end, no trigraph, splice, NUL, lone CR
// or overlong line.
struct guard_facts {
    std::u16string name;            // cut to the significant length
    bool if_form = false;           // #if !defined: `defined` must be no macro
    bool comments_outside = false;  // which -C would copy
    int depth = 0;                  // conditionals open at once, the group's own included
    int lines = 0;                  // line ends the main loop passes in the file
    // What the macro table held for the guard (and `defined`) when it was
    // last looked at, and the table's change count then (0: never).
    std::uint64_t looked_at = 0;
    const macro_def* guard_macro = nullptr;
    bool defined_is_macro = false;
};

// What is learnt about a file once it is read.
struct file_facts {
    bool directory_known = false;
    std::string directory;  // of the file pushed, as append_including_directory gives it
    guard_facts guard;
};

struct path_entry {
    found result = found::missing;
    bool case_matches = false;  // the name on disk is spelled as the candidate's
    bool recorded = false;      // in driver.included_files
    bool regular = false;       // listed as a regular file
    int error = 0;              // errno of the failed opening of a missing path
    guard_state guard = guard_state::unread;
    // Made for a file that is read: most paths tried are missing ones, and
    // their entries stay small.
    std::unique_ptr<file_facts> file;

    file_facts& facts() {
        if (!file) file = std::make_unique<file_facts>();
        return *file;
    }
};
using path_node = std::pair<const std::string, path_entry>;

// Paths and search keys are short: eight bytes at a time, mixed by a
// multiplication, cost a fraction of the library's string hash.
struct path_hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const {
        std::uint64_t h = 0x9E3779B97F4A7C15u ^ s.size();
        const char* p = s.data();
        std::size_t n = s.size();
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            h = (h ^ word) * 0xFF51AFD7ED558CCDu;
            h ^= h >> 32;
        }
        // The last one to seven bytes, as two loads of four (which may
        // overlap) or three single bytes.
        std::uint64_t rest = 0;
        if (n >= 4) {
            std::uint32_t first;
            std::uint32_t last;
            std::memcpy(&first, p, 4);
            std::memcpy(&last, p + n - 4, 4);
            rest = std::uint64_t{last} << 32 | first;
        } else if (n != 0) {
            rest = std::uint64_t{static_cast<unsigned char>(p[0])} |
                   std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8 |
                   std::uint64_t{static_cast<unsigned char>(p[n - 1])} << 16;
        }
        h = (h ^ rest) * 0xC4CEB9FE1A85EC53u;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

struct directory_listing {
    bool listed = false;  // false when the directory cannot be listed
    // The names as spelled, each with whether it is a regular file.
    std::unordered_map<std::string, bool, path_hash, std::equal_to<>> names;
    std::unordered_set<std::string, path_hash, std::equal_to<>> folded;  // in lower case
};

struct search_result {
    path_node* found = nullptr;
    int error = 0;   // errno of the last candidate tried, when none opened
    int place = -1;  // the include directory it was found in
};

// The searches made, by their keys: open addressing over the keys' hashes,
// with the keys' bytes kept one after another and the results in the order
// they were kept. A search is made at every #include, mostly again: this
// costs a probe or two, where a map of strings costs a division and a walk
// of linked nodes. A slot takes 16 bytes: the table is touched page by page
// as it grows, and a page touched the first time costs a fault.
class search_memo {
   public:
    // The result kept under the key (of hash h), or null.
    search_result* find(std::string_view key, std::uint64_t h) {
        if (slots_.empty()) return nullptr;
        const auto tag = static_cast<std::uint32_t>(h);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const slot& s = slots_[i];
            if (s.length == EMPTY) return nullptr;
            if (s.tag == tag && s.length == key.size() &&
                std::memcmp(keys_.data() + s.at, key.data(), key.size()) == 0)
                return &results_[s.result];
        }
    }
    // Keeps a result under a key not kept yet; returns where it is kept
    // (until the next insert).
    search_result* insert(std::string_view key, std::uint64_t h, const search_result& r) {
        // At most half the slots are taken, so a probe ends soon.
        if (2 * (results_.size() + 1) > slots_.size()) grow();
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = h & mask;
        while (slots_[i].length != EMPTY) i = (i + 1) & mask;
        slots_[i] = {static_cast<std::uint32_t>(h), static_cast<std::uint32_t>(keys_.size()),
                     static_cast<std::uint32_t>(key.size()),
                     static_cast<std::uint32_t>(results_.size())};
        keys_.append(key);
        results_.push_back(r);
        return &results_.back();
    }
    void clear() { *this = {}; }

   private:
    static constexpr std::uint32_t EMPTY = UINT32_MAX;  // no key is as long
    struct slot {
        std::uint32_t tag = 0;  // the low half of the key's hash
        std::uint32_t at = 0;   // where the key's bytes start in keys_
        std::uint32_t length = EMPTY;
        std::uint32_t result = 0;  // its place in results_
    };
    // (A table has fewer than 2^32 slots: the tag places a slot as its
    // hash would.)
    void grow() {
        std::vector<slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 64 : 2 * old.size(), slot{});
        const std::size_t mask = slots_.size() - 1;
        for (const slot& s : old) {
            if (s.length == EMPTY) continue;
            std::size_t i = s.tag & mask;
            while (slots_[i].length != EMPTY) i = (i + 1) & mask;
            slots_[i] = s;
        }
    }
    std::vector<slot> slots_;
    std::string keys_;
    std::vector<search_result> results_;
};

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using file_ptr = std::unique_ptr<std::FILE, file_closer>;

struct include_state {
    // ISO C: the files that said "#pragma once", by their paths with every
    // separator written '/' (a path may be spelled with either on Windows).
    std::unordered_set<std::string> once;
    int open_limit = 0;  // ISO C: files the run may hold open, once asked
    // The paths recorded in driver.included_files; the table holds pointers
    // into these, so they live until the next run resets this state.
    std::vector<std::unique_ptr<char[]>> recorded;
    // The path open_include last opened: a candidate path, or the
    // lower-case copy in lower_opened when only that one opened.
    const std::string* opened = nullptr;
    std::string lower_opened;
    // The directory part of the main file's name, once asked for.
    bool main_directory_known = false;
    std::string main_directory;
    std::string other_directory;  // that of another file, asked for just now
    // Every candidate path tried in this run and what opening it gave.
    using path_map = std::unordered_map<std::string, path_entry, path_hash, std::equal_to<>>;
    path_map paths;
    std::vector<path_map> stale_paths;  // given up when a file found had gone
    // Every search made in this run, by its form, the including file's
    // directory (for the "..." form) and the name: the first candidate that
    // opened, or null. A search that reported a candidate too long is not
    // kept, so that it reports again.
    search_memo searches;
    // The same searches for names read plain in a line (do_plain_include),
    // by the form, the including file (for the "..." form) and the name's
    // units as written: a name met again is answered without reading it.
    search_memo plain_searches;
    // What the search include_file made last gave, when it was kept.
    bool last_kept = false;
    search_result last_search;
    int search_error = 0;  // errno of the last candidate that failed to open
    // What each directory holds, listed the first time a path in it is
    // tried.
    std::unordered_map<std::string, directory_listing, path_hash, std::equal_to<>> directories;
    std::string candidate;  // the candidate being built
    std::string search_key;
    file_ptr found_file;  // the file a search opened when it found it just now
};
include_state includes;

bool is_separator(char c) {
    return c == '/' || c == '\\';
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

// The directory part of the including file, as append_including_directory
// gives it, worked out once for the main file and for each file included.
const std::string& including_directory() {
    const input_source* s = reader.current_source;
    while (s != nullptr && s->file == nullptr) s = s->parent.get();
    bool* known = nullptr;
    std::string* directory = nullptr;
    if (s != nullptr && s->include_entry != nullptr) {
        file_facts& facts = static_cast<path_node*>(s->include_entry)->second.facts();
        known = &facts.directory_known;
        directory = &facts.directory;
    } else if (s != nullptr && s == reader.main_source) {
        known = &includes.main_directory_known;
        directory = &includes.main_directory;
    } else {
        includes.other_directory.clear();
        append_including_directory(includes.other_directory);
        return includes.other_directory;
    }
    if (!*known) {
        directory->clear();
        append_including_directory(*directory);
        *known = true;
    }
    return *directory;
}

void record_included(path_node* node) {
    if (node->second.recorded) return;
    node->second.recorded = true;
    hash_table* table = driver.included_files;
    if (table == nullptr ||
        hash_lookup(table, reinterpret_cast<hash_word>(includes.opened->c_str())) != 0)
        return;
    const std::string& opened = *includes.opened;
    auto copy = std::make_unique<char[]>(opened.size() + 1);
    std::memcpy(copy.get(), opened.c_str(), opened.size() + 1);
    auto key = reinterpret_cast<hash_word>(copy.get());
    hash_insert(table, key, key);
    includes.recorded.push_back(std::move(copy));
}

path_node* entry_for(const std::string& path, file_ptr& f);

// The candidate in includes.candidate: its entry when it opens, else null.
path_node* try_candidate() {
    path_use_native_separators(includes.candidate.data());
    path_node* node = entry_for(includes.candidate, includes.found_file);
    if (node->second.result != found::missing) return node;
    includes.search_error = node->second.error;
    return nullptr;
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

path_node* search_include_dirs(const std::string& name, bool& too_long, int from, int& place) {
    std::string& candidate = includes.candidate;
    for (int i = from; i < options.include_count; ++i) {
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
            if (dir_len == 0 || !is_separator(dir[dir_len - 1])) candidate += PATH_SEPARATOR;
        }
        candidate += name;
        if (path_node* node = try_candidate()) {
            place = i;
            return node;
        }
    }
    return nullptr;
}

// The first candidate for the name as written (its separators not yet made
// the platform's) that opens, or null with errno as the last candidate
// tried left it; place is the include directory it lies in (-1 for the
// including file's own). From `from` on, the own directory is not looked
// in (#include_next). The same search made again gives the same answer and
// is answered from the searches made.
path_node* search(const std::string& written, bool quoted, int from, int& place) {
    std::string& key = includes.search_key;
    key.assign(1, quoted ? '"' : '<');
    if (from >= 0) key += 'n' + std::to_string(from);
    // (Whether a name is rooted does not hang on which separators it has.)
    if (quoted && from < 0 && !is_rooted(written)) key += including_directory();
    key += '\n';  // no name holds a line end
    key += written;
    const std::uint64_t h = path_hash{}(key);
    includes.last_kept = false;
    search_result* kept = includes.searches.find(key, h);
    if (kept == nullptr) {
        std::string name = written;
        path_use_native_separators(name.data());
        bool too_long = false;
        includes.search_error = ENOENT;  // no candidate at all: nothing there
        int found_place = -1;
        path_node* node = quoted && from < 0 ? search_own_directory(name, too_long) : nullptr;
        if (node == nullptr)
            node = search_include_dirs(name, too_long, from < 0 ? 0 : from, found_place);
        search_result result{node, includes.search_error, found_place};
        if (too_long) {
            errno = result.error;
            place = found_place;
            return node;
        }
        kept = includes.searches.insert(key, h, result);
    }
    includes.last_kept = true;
    includes.last_search = *kept;
    if (kept->found == nullptr) errno = kept->error;
    place = kept->place;
    return kept->found;
}

#if CPP_READER_FAST_PATH
// The name, when it lies whole in the current line up to its closing
// delimiter and next_char would hand out its units as they are: taken
// straight from the buffer, the delimiter with it. False, with nothing
// read, otherwise.
bool read_plain_include_name(int close, std::string& name) {
    input_source* s = reader.current_source;
    if (s == nullptr || reader.bookkeeping) return false;
    const wchar* const start = s->pos;
    const wchar* p = start;
    while (*p != close && *p < 256 && reader_plain_unit[*p]) ++p;
    const auto length = static_cast<std::size_t>(p - start);
    if (*p != close || length > MAX_NAME_LEN) return false;
    name.resize(length);
    for (std::size_t i = 0; i != length; ++i) name[i] = static_cast<char>(start[i]);
    s->pos = const_cast<wchar*>(p + 1);
    scanner.save_ptr = scanner.save_buffer;
    return true;
}
#endif

// Collects the name up to the closing delimiter, a line end or the end of
// input (the terminator is consumed), unprocessed, and narrows it, cut to
// MAX_NAME_LEN characters.
std::string read_include_name(int close) {
#if CPP_READER_FAST_PATH
    if (std::string name; read_plain_include_name(close, name)) return name;
#endif
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

// fopen that refuses directories, which the C library opens on Linux, unless
// the path is known to be a regular file. The bytes are read as they are:
// the reader takes CR LF as a line end itself. The reader takes whole
// blocks into its own buffer, so the stream needs none (whose making costs
// a system call).
file_ptr open_file(const char* path, bool plain_file) {
    file_ptr f(std::fopen(path, "rb"));
    if (f != nullptr && !plain_file && path_is_directory(path)) {
        f.reset();
        errno = EISDIR;  // the reason told when no other candidate opens
    } else if (f == nullptr && errno == EACCES) {
        // Windows refuses a directory so; a plain miss costs nothing more.
        errno = open_failure_reason(path, errno);
    }
    if (f != nullptr) std::setvbuf(f.get(), nullptr, _IONBF, 0);
    return f;
}

std::string lower_case(std::string_view path) {
    std::string lower(path);
    // As tolower does in the C locale the run keeps, without a call a byte.
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// What a directory holds: each is listed once a run.
const directory_listing& listing_of(std::string_view dir) {
    auto it = includes.directories.find(dir);
    if (it != includes.directories.end()) return it->second;
    directory_listing& l = includes.directories[std::string(dir)];
    std::vector<directory_entry> listed;
    l.listed = list_directory(std::string(dir).c_str(), listed);
    for (directory_entry& e : listed) {
        l.folded.insert(lower_case(e.name));
        l.names.emplace(std::move(e.name), e.plain_file);
    }
    return l;
}

// The listing of a path's directory ("." for none), with the path's last
// component in name.
const directory_listing& listing_for(std::string_view path, std::string_view& name) {
    std::size_t cut = path.size();
    while (cut != 0 && !is_separator(path[cut - 1])) --cut;
    if (cut-- == 0) {
        name = path;
        return listing_of(".");
    }
    name = path.substr(cut + 1);
    const std::string_view dir = path.substr(0, cut != 0 ? cut : 1);
    // Making the separators the platform's rewrites nothing but a '\\'.
    if (dir.find('\\') == std::string_view::npos) return listing_of(dir);
    std::string native(dir);
    path_use_native_separators(native.data());
    return listing_of(native);
}

// Opens a candidate path, whose last component is name in the listing l of
// its directory, unless the listing shows that opening it must fail: the
// directory holds the name in no letter case. A name longer than any that
// a directory holds is tried all the same, so that the system tells why it
// fails ("File name too long"). plain_file tells whether the listing shows
// a regular file.
file_ptr open_listed(const std::string& path, const directory_listing& l, std::string_view name,
                     bool& plain_file) {
    plain_file = false;
    if (CPP_INCLUDE_SKIP && l.listed && name.size() <= LONGEST_LISTED_NAME &&
        !name_may_open_unlisted(name)) {
        if (l.folded.find(lower_case(name)) == l.folded.end()) {
            errno = ENOENT;  // as opening it would have said
            return nullptr;
        }
        auto it = l.names.find(name);
        plain_file = it != l.names.end() && it->second;
    }
    return open_file(path.c_str(), plain_file);
}

// The entry of a candidate path, made by opening it (and, failing that, its
// lower-case copy) when the path is new; f is then the file opened.
path_node* entry_for(const std::string& path, file_ptr& f) {
    auto it = includes.paths.find(path);
    if (it != includes.paths.end()) return &*it;
    path_entry e;
    std::string_view last;  // the last component, checked for its letter case
    const directory_listing& l = listing_for(path, last);
    f = open_listed(path, l, last, e.regular);
    if (f != nullptr) {
        e.result = found::exact;
    } else if (std::any_of(path.begin(), path.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
        // (A name in lower case already would fail the same way again.)
        const std::string lower = lower_case(path);
        std::string_view lower_last;
        f = open_listed(lower, listing_for(lower, lower_last), lower_last, e.regular);
        if (f != nullptr) e.result = found::lower_case;
    }
    if (e.result != found::missing) {
        e.case_matches = !last.empty() && l.names.find(last) != l.names.end();
    } else {
        e.error = errno;
    }
    return &*includes.paths.emplace(path, std::move(e)).first;
}

int max_open_files() {
    if (!dialect.iso) return MAX_OPEN_FILES;
    // Asked of the system once a run, not at every #include.
    if (includes.open_limit == 0) {
        int system = open_file_limit();
        includes.open_limit = system <= 0 ? MAX_OPEN_FILES
                                          : std::clamp(system - FILES_KEPT_FREE, MIN_ISO_OPEN_FILES,
                                                       MAX_ISO_OPEN_FILES);
    }
    return includes.open_limit;
}

int open_file_count() {
    int n = 0;
    for (const input_source* s = reader.current_source; s != nullptr; s = s->parent.get()) {
        if (s->file != nullptr) ++n;
    }
    return n;
}

#if CPP_INCLUDE_SKIP

// The bytes unit() looks at: NUL, line ends, CR, '?' and '\\'; to step over
// the text of a line, '/' too, which may begin a comment, and to step over
// that of a block comment, '*' as well.
constexpr std::array<bool, 256> make_stops(bool slash, bool star) {
    std::array<bool, 256> t{};
    for (int c : {0, int{'\n'}, int{'\r'}, int{'?'}, int{'\\'}}) t[c] = true;
    t['/'] = slash;
    t['*'] = star;
    return t;
}
constexpr std::array<bool, 256> unit_stops = make_stops(false, false);

// The bytes a pass over plain text stops at: those of unit_stops and the
// extra ones, as a table and, for the test of sixteen bytes at a time, as a
// list.
struct stop_set {
    std::array<bool, 256> table{};
    std::array<unsigned char, 3> extra{};
    int extras = 0;
};
constexpr stop_set make_stop_set(std::initializer_list<unsigned char> extra) {
    stop_set s;
    s.table = unit_stops;
    for (unsigned char c : extra) {
        s.table[c] = true;
        s.extra[static_cast<std::size_t>(s.extras++)] = c;
    }
    return s;
}
constexpr stop_set line_stops = make_stop_set({'/'});
constexpr stop_set comment_stops = make_stop_set({'/', '*'});
// ISO C: a skipped line's literals hide what looks like a comment in them.
constexpr stop_set iso_line_stops = make_stop_set({'/', '"', '\''});

// Bytes readable past the end of a text the guard scanner reads, where a 0
// stands first: a pass over plain text reads sixteen at a time up to it.
constexpr std::size_t TEXT_READ_AHEAD = 16;
static_assert(TEXT_READ_AHEAD <= BUFFER_READ_AHEAD, "the reader's blocks end so");

// The first byte of text from `at` up to `length` that S stops at, or
// length; text[length] is 0, and TEXT_READ_AHEAD bytes from there can be
// read.
template <const stop_set& S>
std::size_t find_stop(const unsigned char* text, std::size_t at, std::size_t length) {
#ifdef __SSE2__
    // The 0 at the end stops the search.
    (void)length;
    const __m128i zero = _mm_setzero_si128();
    const __m128i newline = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i question = _mm_set1_epi8('?');
    const __m128i backslash = _mm_set1_epi8('\\');
    for (;; at += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, zero), _mm_cmpeq_epi8(v, newline)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, question)));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, backslash));
        for (int i = 0; i < S.extras; ++i) {
            const __m128i extra =
                _mm_set1_epi8(static_cast<char>(S.extra[static_cast<std::size_t>(i)]));
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, extra));
        }
        if (int mask = _mm_movemask_epi8(hit); mask != 0)
            return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#else
    while (at < length && !S.table[text[at]]) ++at;
    return at;
#endif
}

// Reads a file as the reader hands it out to a group being skipped, and
// follows the main loop and the directive processor through it. It does not
// follow what a quiet skip never meets: whatever it does not follow makes
// the file no guarded group.
class guard_scanner {
   public:
    explicit guard_scanner(std::FILE* f) : f_(f) {}
    // Scans the whole text of a file held in memory, followed by a 0 and
    // readable for TEXT_READ_AHEAD bytes from there (as the reader's first
    // block is).
    guard_scanner(const unsigned char* text, std::size_t length)
        : data_(text), length_(length), ended_(true) {}
    bool scan(guard_facts& g);

   private:
    static constexpr int END = -1;
    static constexpr int NONE = -2;
    // The longest line followed: far from the line buffer's pieces.
    static constexpr int MAX_LINE = 4096;
    // Conditionals followed, one bit each for whether #else was seen.
    static constexpr int MAX_DEPTH = 31;

    std::FILE* f_ = nullptr;  // null when the text is in memory
    static constexpr std::size_t BUFFER_SIZE = 4096;
    unsigned char buffer_[BUFFER_SIZE + TEXT_READ_AHEAD] = {};
    const unsigned char* data_ = buffer_;  // the bytes read so far
    std::size_t length_ = 0;               // bytes in data_
    std::size_t at_ = 0;                   // bytes of data_ taken
    bool ended_ = false;                   // the file has no more bytes
    int ahead_ = NONE;                     // a byte read ahead
    int back_ = NONE;                      // a unit stepped back over
    int line_length_ = 0;                  // units of the current line so far
    bool odd_ = false;                     // something met that is not followed
    bool commented_ = false;
    int lines_ = 0;  // line ends handed out

    int byte();
    int unit();
    int unit_slow();
    int next();
    int next_in_line();
    int skip_blanks(int c);
    bool skip_line(int c);
    bool skip_iso_line(int c);
    int skip_literal(int quote);
    template <const stop_set& S>
    void pass_plain();
    int read_name(int c, std::u16string& name, std::size_t limit);
    bool read_guard(guard_facts& g);
    bool read_group(guard_facts& g);
    static bool is_blank(int c) { return c >= 0 && char_class(c) == CC_BLANK; }
    static bool is_name_unit(int c) {
        return c >= 0 && (char_class(c) == CC_IDENT || char_class(c) == CC_DIGIT);
    }
};

int guard_scanner::byte() {
    if (ahead_ != NONE) {
        int b = ahead_;
        ahead_ = NONE;
        return b;
    }
    if (at_ == length_) {
        if (ended_) return END;
        data_ = buffer_;
        length_ = std::fread(buffer_, 1, BUFFER_SIZE, f_);
        buffer_[length_] = 0;
        at_ = 0;
        ended_ = length_ < BUFFER_SIZE;  // a short read is the end of the file
        if (length_ == 0) return END;
    }
    return data_[at_++];
}

// The next unit as a refill stores it: CR LF as a line end, a line end
// added to a last line without one. A NUL, a lone CR, "??", a backslash
// before a line end and overlong lines are not followed.
int guard_scanner::unit() {
    if (back_ != NONE) {
        int u = back_;
        back_ = NONE;
        return u;
    }
    if (ahead_ == NONE && at_ < length_) {
        unsigned char b = data_[at_];
        if (!unit_stops[b]) {
            ++at_;
            if (++line_length_ > MAX_LINE) odd_ = true;
            return odd_ ? END : b;
        }
        if (b == '\n') {  // the end of every line: as unit_slow takes it
            ++at_;
            line_length_ = 0;
            return odd_ ? END : b;
        }
    }
    return unit_slow();
}

int guard_scanner::unit_slow() {
    int b = byte();
    if (b == END) {
        if (line_length_ == 0) return END;
        b = '\n';
    }
    if (b == '\r') {
        b = byte();
        if (b != '\n') odd_ = true;
    } else if (b == '?' || b == '\\') {
        ahead_ = byte();
        if (b == '?' ? ahead_ == '?' : ahead_ == '\n' || ahead_ == '\r' || ahead_ == END)
            odd_ = true;
    } else if (b == 0) {
        odd_ = true;
    }
    line_length_ = b == '\n' ? 0 : line_length_ + 1;
    if (line_length_ > MAX_LINE) odd_ = true;
    return odd_ ? END : b;
}

// The next character as next_char returns it outside literals: a block
// comment stands for a blank (whether it vanishes before a blank or
// becomes one makes no difference here), a line comment for its line end;
// VT and FF are blanks.
int guard_scanner::next() {
    int c = next_in_line();
    if (c == '\n') ++lines_;
    return c;
}

int guard_scanner::next_in_line() {
    int c = unit();
    if (c == 0x0B || c == 0x0C) return ' ';
    if (c != '/') return c;
    int d = unit();
    if (d != '/' && d != '*') {
        back_ = d;
        return '/';
    }
    commented_ = true;
    if (d == '/') {
        do {
            pass_plain<line_stops>();
            c = unit();
        } while (c != '\n' && c != END);
        return c;
    }
    for (pass_plain<comment_stops>(), c = unit();;) {
        if (c == END) {
            odd_ = true;  // the comment would run on into the includer
            return END;
        }
        if (c == '/') {
            c = unit();
            if (c == '*') odd_ = true;  // a comment inside a comment is reported
            if (odd_) return END;
        } else if (c == '*') {
            c = unit();
            if (c == '/') return ' ';
        } else {
            pass_plain<comment_stops>();
            c = unit();
        }
    }
}

// Steps over the bytes ahead that unit() would hand out as they are and
// that S does not stop at, all at once.
template <const stop_set& S>
void guard_scanner::pass_plain() {
    if (back_ != NONE || ahead_ != NONE) return;
    std::size_t from = at_;
    at_ = find_stop<S>(data_, at_, length_);
    line_length_ += static_cast<int>(at_ - from);
    if (line_length_ > MAX_LINE) odd_ = true;
}

int guard_scanner::skip_blanks(int c) {
    while (is_blank(c)) c = next();
    return c;
}

// The rest of a line from c on, up to its line end; false when the file
// ends first (the reader would go on in the includer).
bool guard_scanner::skip_line(int c) {
    if (dialect.iso) return skip_iso_line(c);
    while (c != '\n') {
        if (c == END) return false;
        pass_plain<line_stops>();
        c = next();
    }
    return true;
}

// The same in ISO C, where the literals of the line are stepped over whole
// (kept out of line, so that the loop above stays within the scan).
[[gnu::noinline]] bool guard_scanner::skip_iso_line(int c) {
    while (c != '\n') {
        if (c == END) return false;
        if (c == '"' || c == '\'') {
            c = skip_literal(c);
            continue;
        }
        pass_plain<iso_line_stops>();
        c = next();
    }
    return true;
}

// ISO C: the rest of a literal after its quote, as the skipping reader
// steps over it; returns the unit after it, or the line end that cuts it.
int guard_scanner::skip_literal(int quote) {
    for (;;) {
        int c = unit();
        if (c == '\\') c = unit() == END ? END : 0;
        if (c == quote) return next();
        if (c == '\n') ++lines_;
        if (c == '\n' || c == END) return c;
    }
}

// A name from its first character c on, as scan_identifier and
// scan_and_find_macro take it, cut at limit units; returns the character
// after it.
int guard_scanner::read_name(int c, std::u16string& name, std::size_t limit) {
    name.clear();
    do {
        if (name.size() < limit) name.push_back(static_cast<char16_t>(c));
        // The name's units ahead, taken at once as unit() would hand them
        // out (no name unit is one it stops at), short of an overlong line.
        if (back_ == NONE && ahead_ == NONE) {
            while (at_ < length_ && line_length_ < MAX_LINE && !odd_ && is_name_unit(data_[at_])) {
                if (name.size() < limit) name.push_back(static_cast<char16_t>(data_[at_]));
                ++at_;
                ++line_length_;
            }
        }
        c = next();
    } while (is_name_unit(c));
    return c;
}

std::size_t significant_length() {
    return static_cast<std::size_t>(std::min(scanner.max_ident_len, MAX_IDENT_LIMIT));
}

// The directive that opens the group, after its '#': "#ifndef NAME",
// "#if !defined NAME" or "#if !defined(NAME)", and nothing after it.
bool guard_scanner::read_guard(guard_facts& g) {
    int c = skip_blanks(next());
    if (c < 0 || char_class(c) != CC_IDENT) return false;
    std::u16string word;
    c = read_name(c, word, 16);
    c = skip_blanks(c);
    if (word == u"if") {
        if (c != '!') return false;
        c = skip_blanks(next());
        if (c < 0 || char_class(c) != CC_IDENT) return false;
        c = skip_blanks(read_name(c, word, 16));
        if (word != u"defined") return false;
        g.if_form = true;
    } else if (word != u"ifndef") {
        return false;
    }
    const bool parenthesised = g.if_form && c == '(';
    if (parenthesised) c = skip_blanks(next());
    if (c < 0 || char_class(c) != CC_IDENT) return false;
    c = skip_blanks(read_name(c, g.name, significant_length()));
    if (parenthesised) {
        if (c != ')') return false;
        c = skip_blanks(next());
    }
    return c == '\n';
}

// What the directive processor makes of a directive name in skipped text.
enum class skipped_directive { unknown, opens, elif, else_, endif, other };

skipped_directive classify_directive(const std::u16string& name) {
    if (name == u"if" || name == u"ifdef" || name == u"ifndef") return skipped_directive::opens;
    if (name == u"elif") return skipped_directive::elif;
    if (name == u"else") return skipped_directive::else_;
    if (name == u"endif") return skipped_directive::endif;
    static constexpr std::u16string_view others[] = {u"define", u"undef", u"include", u"line",
                                                     u"pragma", u"error", u"warning", u"ident",
                                                     u"assert", u"asm",   u"endasm"};
    for (std::u16string_view o : others) {
        if (name == o) return skipped_directive::other;
    }
    return skipped_directive::unknown;
}

// The lines of the group, skipped, up to and with its #endif: directives
// that open conditionals are counted and their lines discarded, as are the
// lines of other known directives and of text; #else, #elif and #endif of
// inner conditionals must draw no report.
bool guard_scanner::read_group(guard_facts& g) {
    int depth = 1;
    std::uint32_t else_seen = 0;  // bit d: the conditional at depth d had its #else
    g.depth = 1;
    std::u16string word;
    for (;;) {
        int c = next();
        while (is_blank(c) || c == '\n') c = next();
        if (c == '%' && dialect.iso) return false;  // may be a directive ("%:")
        if (c != '#') {
            if (!skip_line(c)) return false;
            continue;
        }
        c = skip_blanks(next());
        if (c == '\n') continue;  // a null directive
        if (c == END) return false;
        if (c < 128 && std::isdigit(c)) {  // a line number: #line, discarded
            if (!skip_line(c)) return false;
            continue;
        }
        c = read_name(c, word, 16);
        const std::uint32_t bit = std::uint32_t{1} << depth;
        switch (classify_directive(word)) {
            case skipped_directive::unknown:
                return false;
            case skipped_directive::opens:
                if (++depth > MAX_DEPTH) return false;
                g.depth = std::max(g.depth, depth);
                else_seen &= ~(std::uint32_t{1} << depth);
                break;
            case skipped_directive::elif:
                if (depth == 1 || (else_seen & bit) != 0) return false;
                break;
            case skipped_directive::else_:
                if (depth == 1 || (else_seen & bit) != 0) return false;
                else_seen |= bit;
                if (skip_blanks(c) != '\n') return false;
                continue;
            case skipped_directive::endif:
                if (skip_blanks(c) != '\n') return false;
                if (--depth == 0) return true;
                continue;
            case skipped_directive::other:
                break;
        }
        if (!skip_line(c)) return false;
    }
}

bool guard_scanner::scan(guard_facts& g) {
    int c = next();
    while (is_blank(c) || c == '\n') c = next();
    g.comments_outside = commented_;
    if (c != '#' || !read_guard(g) || !read_group(g)) return false;
    commented_ = false;
    do c = next();
    while (is_blank(c) || c == '\n');
    g.comments_outside = g.comments_outside || commented_;
    g.lines = lines_;
    return c == END && !odd_;
}

// Looks at a file read once before to learn whether it is a guarded
// group; false when the file could not be set back to its start.
bool look_for_guard(std::FILE* f, path_entry& e) {
    e.guard = guard_state::none;
    if (std::fseek(f, 0, SEEK_CUR) != 0) return true;  // a pipe: read it as it comes
    if (guard_scanner(f).scan(e.facts().guard)) e.guard = guard_state::guarded;
    return std::fseek(f, 0, SEEK_SET) == 0;
}

// Whether reading the guarded file now would skip its group: its guard is
// defined (and `defined` is no macro for the #if forms), and nothing makes
// the skip show: no comment to copy around the group, no assembler text
// (whose line-start blanks the main loop counts), no conditional that
// would overflow the stack, and a file includes it (a macro that supplied
// the name would still be read after it).
bool guard_holds(guard_facts& g) {
    if (scanner.asm_mode || (driver.keep_comments && g.comments_outside)) return false;
    const input_source* s = reader.current_source;
    if (s == nullptr || s->file == nullptr) return false;
    if (!dialect.iso &&
        (conditional.cond_top - conditional.cond_stack.data()) + g.depth > COND_STACK_SIZE - 1)
        return false;
    // The records looked up stay while the table's count stands; whether one
    // is being expanded is asked afresh.
    if (g.looked_at != macros.changes) {
        g.guard_macro = find_macro(g.name.data(), g.name.size());
        g.defined_is_macro = g.if_form && find_macro(u"defined", 7) != nullptr;
        g.looked_at = macros.changes;
    }
    if (g.if_form && g.defined_is_macro && find_expandable(u"defined", 7) != nullptr) return false;
    return g.guard_macro != nullptr && g.guard_macro->active == 0;
}

#endif

// Marks a file just pushed for the first time as read once; when its first
// block holds all of it, looks at it for a guard at once, sparing the file
// a second opening when it is included again.
void learn_guard(path_entry& e) {
    e.guard = guard_state::read_once;
#if CPP_INCLUDE_SKIP
    std::size_t length = 0;
    if (const unsigned char* bytes = whole_file_bytes(reader.current_source, length)) {
        e.guard = guard_scanner(bytes, length).scan(e.facts().guard) ? guard_state::guarded
                                                                     : guard_state::none;
    }
#endif
}

// Opens again the file open_entry has just named in includes.opened.
file_ptr reopen_opened() {
    return open_file(includes.opened->c_str(), true);
}

// Whether the include may pass over the file instead of reading it; a
// file read once before is looked at first (through f, opened when needed).
bool may_pass_over(path_entry& e, file_ptr& f) {
#if CPP_INCLUDE_SKIP
    if (e.guard == guard_state::read_once) {
        if (f == nullptr) f = reopen_opened();
        if (f == nullptr) return false;
        if (!look_for_guard(f.get(), e)) f.reset();
    }
    return e.guard == guard_state::guarded && guard_holds(e.facts().guard);
#else
    (void)e;
    (void)f;
    return false;
#endif
}

// Leaves everything as reading the guarded file would have: the file gives
// only line ends, its one group is skipped, and the last directive name
// read is that of its #endif.
void pass_over() {
    pass_over_file_source();
    static constexpr wchar endif[] = u"endif";
    std::memcpy(scanner.name_buffer, endif, sizeof endif);
}

// Opens and pushes (or passes over) the file of a candidate path; f is the
// file when the look-up opened it just now. Returns 0 when the file cannot
// be opened.
int open_entry(path_node* node, file_ptr& f, int& lines) {
    path_entry& e = node->second;
    if (e.result == found::missing) return 0;
    const char* path = node->first.c_str();
    if (e.result == found::lower_case) {
        includes.lower_opened = lower_case(node->first);
        includes.opened = &includes.lower_opened;
        alert_report(MSG_LOWER_CASE_INCLUDE, path);
    } else {
        includes.opened = &node->first;
    }
    if (!e.case_matches) alert_report(MSG_INCLUDE_CASE, path);
    if (may_pass_over(e, f)) {
        pass_over();
        lines = e.facts().guard.lines;
    } else {
        if (f == nullptr) f = reopen_opened();
        if (f == nullptr) {
            // The file has gone since it was found: look for it afresh. The
            // entries stay where they are: the sources pushed point to theirs.
            includes.stale_paths.push_back(std::move(includes.paths));
            includes.paths.clear();
            includes.searches.clear();
            includes.plain_searches.clear();
            includes.last_kept = false;
            return 0;
        }
        std::string shown = includes.opened->substr(0, MAX_NAME_LEN);
        push_file_source(f.release(), shown.c_str(), true, e.regular);
        if (e.guard == guard_state::unread) learn_guard(e);
    }
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
    int lines = 0;
    return open_entry(entry_for(path, f), f, lines);
}

namespace {

std::string once_key(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// #include, or #include_next from the include directory `from` on.
int include_file(int from) {
    int c = expand_if_macro(skip_blanks());
    if (c != '"' && c != '<') {
        // A bare #include must not take the next line with it; stepping back
        // first also reports it on its own line.
        if (c == '\n') unget_char();
        alert_report(MSG_BAD_INCLUDE_NAME);
        skip_line();
        return 0;
    }
    std::string read_name = read_include_name(c == '"' ? '"' : '>');
    if (int open = open_file_count(); open >= max_open_files()) {
        errno = EMFILE;
        if (dialect.iso)
            alert_report(MSG_INCLUDE_TOO_DEEP, read_name.c_str(), open);
        else
            alert_report(MSG_CANNOT_OPEN, "include", read_name.c_str());
        return 0;
    }
    int place = -1;
    path_node* node = search(read_name, c == '"', from, place);
    file_ptr f = std::move(includes.found_file);
    if (node == nullptr) {
        alert_report(MSG_CANNOT_OPEN, "include", read_name.c_str());
        return 0;
    }
    // While only dependencies are listed, a path already included ends the
    // directive without being read again.
    if (driver.no_output && driver.included_files != nullptr &&
        hash_lookup(driver.included_files, reinterpret_cast<hash_word>(node->first.c_str())) != 0)
        return 0;
    if (!includes.once.empty() && includes.once.count(once_key(node->first)) != 0) return 0;
    int lines = 0;
    const input_source* includer = reader.current_source;
    if (open_entry(node, f, lines) == 0) {
        alert_report(MSG_CANNOT_OPEN, "include", read_name.c_str());
        return 0;
    }
    // The file pushed (not one passed over) remembers where it lay.
    if (reader.current_source != includer) {
        reader.current_source->search_place = place;
        reader.current_source->include_entry = node;
    }
    record_included(node);
    return lines;
}

}  // namespace

int do_include() {
    return include_file(-1);
}

int do_plain_include(const wchar* open, const wchar* close) {
    input_source* s = reader.current_source;
    const bool quoted = *open == '"';
    const auto length = static_cast<std::size_t>(close - open - 1);
    // A "..." name is looked for first beside the including file, which
    // its entry (or, for the main file, its source) stands for.
    const void* includer = nullptr;
    if (quoted) includer = s == reader.main_source ? static_cast<const void*>(s) : s->include_entry;
    if ((quoted && includer == nullptr) || length > MAX_NAME_LEN) return include_file(-1);
    std::array<char, 1 + sizeof includer + MAX_NAME_LEN * sizeof(wchar)> bytes;
    bytes[0] = static_cast<char>(*open);
    std::memcpy(bytes.data() + 1, &includer, sizeof includer);
    std::memcpy(bytes.data() + 1 + sizeof includer, open + 1, length * sizeof(wchar));
    const std::string_view key(bytes.data(), 1 + sizeof includer + length * sizeof(wchar));
    const std::uint64_t h = path_hash{}(key);
    const search_result* kept = includes.plain_searches.find(key, h);
    if (kept != nullptr && !driver.no_output && includes.once.empty()) {
        // What include_file does with the name found when the file it names
        // may be passed over.
        path_node* node = kept->found;
        path_entry& e = node->second;
        file_ptr none;
        if (e.result == found::exact && e.case_matches && e.guard == guard_state::guarded &&
            open_file_count() < max_open_files() && may_pass_over(e, none)) {
            s->pos = const_cast<wchar*>(close + 1);
            scanner.save_ptr = scanner.save_buffer;
            includes.opened = &node->first;
            pass_over();
            record_included(node);
            return e.facts().guard.lines;
        }
    }
    const int lines = include_file(-1);
    if (kept == nullptr && includes.last_kept && includes.last_search.found != nullptr)
        includes.plain_searches.insert(key, h, includes.last_search);
    return lines;
}

bool do_pragma_once() {
    input_source* s = reader.current_source;
    if (s == nullptr || s->file == nullptr) return false;
    const wchar* p = s->pos;
    while (*p == ' ' || *p == '\t') ++p;
    if (p[0] != 'o' || p[1] != 'n' || p[2] != 'c' || p[3] != 'e') return false;
    p += 4;
    while (*p == ' ' || *p == '\t') ++p;
    if (*p != '\n' && !(p[0] == '/' && p[1] == '/')) return false;
    // The main file is included once anyway.
    if (s->include_entry != nullptr)
        includes.once.insert(once_key(static_cast<path_node*>(s->include_entry)->first));
    return true;
}

int do_include_next() {
    // Outside a file found in the include directories, it looks in all of
    // them, as #include <...> does.
    const input_source* s = reader.current_source;
    while (s != nullptr && s->file == nullptr) s = s->parent.get();
    int place = s != nullptr ? s->search_place : -1;
    return include_file(place + 1);
}

void include_reset() {
    includes = {};
}
