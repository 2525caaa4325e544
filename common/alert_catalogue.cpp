// Message catalogues: the parser of catalogue files ("number kind text" per
// line), the search for the catalogue of the user's language, and the English
// fallback consulted for numbers the primary catalogue lacks.
#include "alert_catalogue.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "alert.h"
#include "osdep.h"
#include "registry.h"

namespace {

constexpr unsigned MAX_NUMBER = 10000;
constexpr unsigned PIECE_CAPACITY = 255;  // characters of one line piece
constexpr int DAT_FOLDER = 5;
const char* const FALLBACK_NAME = "en_msgs.txt";

struct catalogue_entry {
    unsigned kind = ALERT_UNKNOWN;
    int level = 0;
    std::string text;
};

// Indexed by message number; numbers without a message hold null.
using catalogue = std::vector<std::unique_ptr<catalogue_entry>>;

struct file_closer {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

struct catalogue_state {
    catalogue primary;
    bool has_primary = false;
    catalogue fallback;
    bool has_fallback = false;
    std::string file_name;      // the name last given to alert_open_catalogue
    std::string fallback_path;  // resolved on first need, then kept
    bool fallback_resolved = false;
    std::unique_ptr<std::FILE, file_closer> open_file;  // at most one at a time
};
catalogue_state catalogues;

struct language_row {
    unsigned language;
    const char* code;
};
const language_row LANGUAGES[] = {{7, "de"}, {9, "en"}, {12, "fr"}, {255, "en"}};

// The catalogue tried when neither a path nor ZQT_ERR_FILE names one:
// ../dat/en_msgs.txt from the current directory, with the platform's
// separators.
std::string default_catalogue() {
    return std::string("..") + PATH_SEPARATOR + "dat" + PATH_SEPARATOR + FALLBACK_NAME;
}

// Opens a catalogue file for reading; a directory does not count as one.
std::FILE* open_catalogue_file(const char* name) {
    std::FILE* f = std::fopen(name, "r");
    if (!f) return nullptr;
    struct stat st {};
    if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}

// Reads the next piece of a line: up to its newline (kept) or 255
// characters. CR LF reads as LF. False at the end of the file.
bool read_piece(std::FILE* f, char* buf) {
    unsigned n = 0;
    while (n < PIECE_CAPACITY) {
        int c = std::getc(f);
        if (c == EOF) break;
        if (c == '\r') {
            int d = std::getc(f);
            if (d == '\n')
                c = '\n';
            else if (d != EOF)
                std::ungetc(d, f);
        }
        buf[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buf[n] = '\0';
    return n > 0;
}

// Splits off the next field: skips leading delimiters, ends the field at the
// next delimiter, which it consumes. Null when nothing is left.
char* next_field(char*& p, const char* delimiters) {
    p += std::strspn(p, delimiters);
    if (!*p) return nullptr;
    char* field = p;
    p += std::strcspn(p, delimiters);
    if (*p) *p++ = '\0';
    return field;
}

// The number field: its leading digits (none gives 0). A leading '-' makes
// it negative, which is out of range; so is anything above 10000.
bool parse_number(const char* field, unsigned* number) {
    if (field[0] == '-') return false;
    unsigned v = 0;
    for (; std::isdigit(static_cast<unsigned char>(*field)); ++field)
        v = std::min(v * 10 + static_cast<unsigned>(*field - '0'), MAX_NUMBER + 1);
    *number = v;
    return v <= MAX_NUMBER;
}

// The level of a warning kind field: its leading signed number ("-" alone
// and "0" are 0).
int parse_level(const char* field) {
    bool negative = *field == '-';
    if (negative) ++field;
    long long v = 0;
    for (; std::isdigit(static_cast<unsigned char>(*field)); ++field)
        v = std::min(v * 10 + (*field - '0'), 1LL << 32);
    v = negative ? -v : v;
    return static_cast<int>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

void report_malformed(unsigned line_no, const char* file) {
    alert_report_text(3, "M", "Malformed error information on line %u, in file %s\n", line_no,
                      file);
}

void parse_line(char* buf, catalogue& cat, unsigned line_no, const char* file) {
    char* p = buf;
    unsigned number = 0;
    char* field = next_field(p, " \t");
    if (!field || !parse_number(field, &number)) return report_malformed(line_no, file);
    char* kind_field = next_field(p, " \t");
    if (!kind_field) return report_malformed(line_no, file);
    unsigned kind = ALERT_UNKNOWN;
    int level = 0;
    switch (kind_field[0]) {
        case 'F':
        case 'f':
            kind = ALERT_FATAL;
            break;
        case 'E':
        case 'e':
            kind = ALERT_ERROR;
            break;
        case 'M':
        case 'm':
            kind = ALERT_MESSAGE;
            break;
        default:
            if (kind_field[0] == '-' || std::isdigit(static_cast<unsigned char>(kind_field[0]))) {
                kind = ALERT_WARNING;
                level = parse_level(kind_field);
            } else {
                report_malformed(line_no, file);  // still stored, as kind 0
            }
            break;
    }
    char* text = next_field(p, "\n");
    if (!text) return report_malformed(line_no, file);
    if (cat.size() <= number) cat.resize(number + 1);
    cat[number] = std::make_unique<catalogue_entry>(catalogue_entry{kind, level, text});
}

// Reads the open file into `cat` and closes it. Comment lines count in the
// line numbers of the malformed-line reports.
void parse_catalogue(catalogue& cat, const char* file) {
    std::FILE* f = catalogues.open_file.get();
    std::rewind(f);
    char buf[PIECE_CAPACITY + 1];
    unsigned line_no = 0;
    while (read_piece(f, buf)) {
        ++line_no;
        if (buf[0] == '#') continue;
        parse_line(buf, cat, line_no, file);
    }
    catalogues.open_file.reset();
}

bool lookup(const catalogue& cat, unsigned number, alert_entry* out) {
    if (number >= cat.size() || !cat[number]) return false;
    const catalogue_entry& e = *cat[number];
    *out = alert_entry{e.kind, number, e.text.c_str(), e.level};
    return true;
}

// Loads the English catalogue of the installation. A failure leaves the
// fallback absent, and the next miss tries again.
void load_fallback() {
    if (!catalogues.fallback_resolved) {
        char* path = install_path(DAT_FOLDER, FALLBACK_NAME);
        if (!path) return;
        catalogues.fallback_path = path;
        catalogues.fallback_resolved = true;
        std::free(path);
    }
    catalogues.open_file.reset();
    std::FILE* f = open_catalogue_file(catalogues.fallback_path.c_str());
    if (!f) return;
    catalogues.open_file.reset(f);
    catalogues.has_fallback = true;
    parse_catalogue(catalogues.fallback, catalogues.fallback_path.c_str());
}

}  // namespace

bool catalogue_find(unsigned number, alert_entry* out) {
    if (catalogues.has_primary && lookup(catalogues.primary, number, out)) return true;
    if (!catalogues.has_fallback) load_fallback();
    return catalogues.has_fallback && lookup(catalogues.fallback, number, out);
}

void catalogue_each_warning(void (*fn)(unsigned number)) {
    if (!catalogues.has_primary) return;
    for (unsigned i = 0; i < catalogues.primary.size(); ++i)
        if (catalogues.primary[i] && catalogues.primary[i]->kind == ALERT_WARNING) fn(i);
}

void catalogue_reset() {
    catalogues = catalogue_state{};
}

// Loads a file as the primary catalogue, replacing everything it held. With
// no path the name comes from ZQT_ERR_FILE, else the default relative path.
int alert_open_catalogue(const char* path) {
    if (!path) path = std::getenv("ZQT_ERR_FILE");
    catalogues.file_name = path ? path : default_catalogue();
    catalogues.open_file.reset();
    std::FILE* f = open_catalogue_file(catalogues.file_name.c_str());
    if (!f) return 0;
    catalogues.open_file.reset(f);
    catalogues.primary.clear();
    catalogues.has_primary = true;
    parse_catalogue(catalogues.primary, catalogues.file_name.c_str());
    alert_note_catalogue_loaded();
    return 1;
}

// Looks for the catalogue of the user's language: in the installation's
// message folder, then through ZQT_ERR_FILE or the default path, then by its
// bare name in the current directory.
int alert_locate_catalogue() {
    std::uint32_t language = 9;
    if (registry_product_dword("language", &language) != 0) language = 9;
    std::string name = std::string(alert_language_code(language)) + "_msgs.txt";
    int found = 0;
    if (char* full = install_path(DAT_FOLDER, name.c_str())) {
        found = alert_open_catalogue(full);
        std::free(full);
    }
    if (!found) found = alert_open_catalogue(nullptr);
    if (!found) found = alert_open_catalogue(name.c_str());
    if (found) alert_note_catalogue_loaded();
    return found;
}

const char* alert_language_code(unsigned language) {
    for (const language_row& row : LANGUAGES)
        if (row.language == language) return row.code;
    return "en";
}
