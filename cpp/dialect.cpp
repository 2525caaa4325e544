// The dialect of a run, chosen by --std=.
#include "cpp/dialect.h"

#include <cstring>

dialect_state dialect;

namespace {

struct dialect_name {
    const char* name;
    long version;
};
constexpr dialect_name dialect_names[] = {
    {"c99", 199901L}, {"c11", 201112L}, {"c17", 201710L}, {"c18", 201710L}};

bool same_nocase(const char* a, const char* b) {
    for (; *a != 0 && *b != 0; ++a, ++b) {
        char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        if (x != *b) return false;
    }
    return *a == *b;
}

bool has_std_prefix(const char* arg) {
    return arg[0] == '-' && arg[1] == '-' && (arg[2] == 's' || arg[2] == 'S') &&
           (arg[3] == 't' || arg[3] == 'T') && (arg[4] == 'd' || arg[4] == 'D') && arg[5] == '=';
}

}  // namespace

bool dialect_select(const char* name) {
    for (const dialect_name& d : dialect_names) {
        if (same_nocase(name, d.name)) {
            dialect.iso = true;
            dialect.version = d.version;
            return true;
        }
    }
    return false;
}

void dialect_scan_arguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (has_std_prefix(argv[i])) dialect_select(argv[i] + 6);
}

void dialect_reset() {
    dialect = {};
}
