// The store of named installation values on Linux and other POSIX systems.
// Two values exist: the product's "language", a primary language number
// taken from the POSIX locale, and the installation's "instdir", an
// expandable string taken from ZQT_INSTDIR. Everything else is absent.
#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "registry_platform.h"

namespace {

struct language_number {
    const char* code;
    std::uint32_t primary;
};

// ISO 639-1 codes and the primary language numbers Windows gives them.
const language_number LANGUAGE_NUMBERS[] = {
    {"ar", 1},  {"bg", 2},  {"ca", 3},  {"zh", 4},  {"cs", 5},  {"da", 6},  {"de", 7},  {"el", 8},
    {"en", 9},  {"es", 10}, {"fi", 11}, {"fr", 12}, {"he", 13}, {"hu", 14}, {"is", 15}, {"it", 16},
    {"ja", 17}, {"ko", 18}, {"nl", 19}, {"nb", 20}, {"nn", 20}, {"no", 20}, {"pl", 21}, {"pt", 22},
    {"rm", 23}, {"ro", 24}, {"ru", 25}, {"hr", 26}, {"sr", 26}, {"bs", 26}, {"sk", 27}, {"sq", 28},
    {"sv", 29}, {"th", 30}, {"tr", 31}, {"ur", 32}, {"id", 33}, {"uk", 34}, {"be", 35}, {"sl", 36},
    {"et", 37}, {"lv", 38}, {"lt", 39}, {"fa", 41}, {"vi", 42}, {"hy", 43}, {"az", 44}, {"eu", 45},
    {"mk", 47}, {"af", 54}, {"ka", 55}, {"fo", 56}, {"hi", 57}, {"ga", 60}, {"ms", 62}, {"kk", 63},
    {"sw", 65}, {"uz", 67}, {"bn", 69}, {"cy", 82}, {"gl", 86},
};

// The locale that names the language of messages: LC_ALL, LC_MESSAGES, LANG,
// the first one set and not empty.
const char* message_locale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) return v;
    }
    return nullptr;
}

// The primary language number of the locale's language part (before '_',
// '.' or '@'); false for "C", "POSIX", no locale or an unknown language.
bool locale_language(std::uint32_t* primary) {
    const char* locale = message_locale();
    if (!locale) return false;
    std::size_t len = std::strcspn(locale, "_.@");
    for (const language_number& row : LANGUAGE_NUMBERS) {
        if (std::strlen(row.code) == len && strncasecmp(locale, row.code, len) == 0) {
            *primary = row.primary;
            return true;
        }
    }
    return false;
}

}  // namespace

unsigned platform_query_value(int root, const char* key, const char* value, unsigned,
                              registry_value* out) {
    if (root != 4 || !key || !value) return REGISTRY_NOT_FOUND;
    if (strcasecmp(key, registry_product_key()) == 0 && strcasecmp(value, "language") == 0) {
        if (!locale_language(&out->dword)) return REGISTRY_NOT_FOUND;
        out->type = REGISTRY_DWORD;
        return 0;
    }
    if (strcasecmp(key, registry_install_key()) == 0 && strcasecmp(value, "instdir") == 0) {
        const char* dir = std::getenv("ZQT_INSTDIR");
        if (!dir || !*dir) return REGISTRY_NOT_FOUND;
        out->type = REGISTRY_EXPAND_SZ;
        out->text = dir;
        return 0;
    }
    return REGISTRY_NOT_FOUND;
}

// %NAME% becomes the variable's value; an undefined name, an empty one or a
// '%' without its partner stays as written.
unsigned platform_expand_environment(const char* src, char* dst, unsigned size) {
    std::string result;
    while (*src) {
        const char* close = *src == '%' ? std::strchr(src + 1, '%') : nullptr;
        if (!close) {
            result.push_back(*src++);
            continue;
        }
        std::string name(src + 1, close);
        const char* v = name.empty() ? nullptr : std::getenv(name.c_str());
        if (v) {
            result += v;
            src = close + 1;
        } else {
            // Left as written; the closing '%' may open the next reference.
            result.append(src, close);
            src = close;
        }
    }
    unsigned need = static_cast<unsigned>(result.size() + 1);
    if (need <= size) std::memcpy(dst, result.c_str(), need);
    return need;
}

bool platform_program_path(std::string* out) {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return false;
    out->assign(buf, static_cast<std::size_t>(n));
    return true;
}
