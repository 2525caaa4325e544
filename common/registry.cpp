// Installation values: the catalogue language and the installation
// directory, read from the platform's store of named values, and the
// installation directory implied by the program's own location.
#include "registry.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "alloc.h"
#include "osdep.h"
#include "registry_platform.h"

#ifndef CPP_VERSION
#define CPP_VERSION "3.1"
#endif

namespace {

constexpr int LOCAL_MACHINE = 4;
constexpr unsigned VALUE_BUFFER = 2048;   // bytes a string value may take
constexpr unsigned EXPAND_BUFFER = 4100;  // bytes an expanded value may take

const char* const SUBFOLDERS[] = {"",        "bin", "lib",     "help",
                                  "include", "dat", "sources", "resources"};
constexpr int SUBFOLDER_COUNT = sizeof SUBFOLDERS / sizeof SUBFOLDERS[0];

const std::string PRODUCT_KEY = "Software\\MORVANE Software\\QUEV\\pro\\" CPP_VERSION;
const std::string INSTALL_KEY = PRODUCT_KEY + "\\PL0";

// Used when the operating system cannot name the program's file.
std::string program_path_fallback;

char* copy_string(const std::string& s) {
    char* p = static_cast<char*>(alloc_mem(s.size() + 1));
    std::memcpy(p, s.data(), s.size());
    return p;
}

std::size_t last_separator(const std::string& s) {
    return s.find_last_of("/\\");
}

}  // namespace

const char* registry_product_key() {
    return PRODUCT_KEY.c_str();
}
const char* registry_install_key() {
    return INSTALL_KEY.c_str();
}

unsigned registry_get_dword(int root, const char* key, const char* value, std::uint32_t* result,
                            unsigned access) {
    registry_value v;
    unsigned error = platform_query_value(root, key, value, access, &v);
    if (error) return error;
    if (v.type != REGISTRY_DWORD) return REGISTRY_BAD_TYPE;
    *result = v.dword;
    return 0;
}

unsigned registry_product_dword(const char* value, std::uint32_t* result) {
    return registry_get_dword(LOCAL_MACHINE, PRODUCT_KEY.c_str(), value, result, 0);
}

// A string value, with environment references expanded for an expandable
// one. The text belongs to the caller.
registry_string registry_get_string(int root, const char* key, const char* value, unsigned access) {
    registry_string r;
    registry_value v;
    r.error = platform_query_value(root, key, value, access, &v);
    if (r.error) return r;
    if (v.type != REGISTRY_SZ && v.type != REGISTRY_EXPAND_SZ) {
        r.error = REGISTRY_BAD_TYPE;
        return r;
    }
    if (v.text.size() + 1 > VALUE_BUFFER) {
        r.error = REGISTRY_MORE_DATA;
        return r;
    }
    if (v.type == REGISTRY_SZ) {
        r.text = copy_string(v.text);
        r.size = static_cast<unsigned>(v.text.size() + 1);
        return r;
    }
    char expanded[EXPAND_BUFFER];
    unsigned n = platform_expand_environment(v.text.c_str(), expanded, EXPAND_BUFFER);
    if (n == 0 || n > EXPAND_BUFFER) {
        r.error = REGISTRY_MORE_DATA;
        return r;
    }
    r.text = copy_string(std::string(expanded, n - 1));
    r.size = n;
    return r;
}

void registry_set_program_path(const char* path) {
    program_path_fallback = path ? path : "";
}

// The parent of the program's folder when that folder is "bin" in any
// letter case.
char* install_dir_of_program(const char* program_path) {
    if (!program_path) return nullptr;
    std::string dir = program_path;
    std::size_t cut = last_separator(dir);
    if (cut == std::string::npos) return nullptr;
    dir.resize(cut);
    cut = last_separator(dir);
    if (cut == std::string::npos || strcasecmp(dir.c_str() + cut + 1, "bin") != 0) return nullptr;
    dir.resize(cut);
    return copy_string(dir);
}

char* install_dir(int subfolder) {
    if (subfolder < 0 || subfolder >= SUBFOLDER_COUNT) return nullptr;
    char* root = nullptr;
    registry_string s = registry_get_string(LOCAL_MACHINE, INSTALL_KEY.c_str(), "instdir", 0);
    if (s.error == 0 && s.text) {
        root = s.text;
    } else {
        std::string program;
        if (!platform_program_path(&program)) program = program_path_fallback;
        root = install_dir_of_program(program.c_str());
    }
    if (!root || subfolder == 0) return root;
    char* dir = path_join(root, SUBFOLDERS[subfolder]);
    std::free(root);
    return dir;
}

// A name that is already absolute comes back unchanged; any other is joined
// to the installation's subfolder.
char* install_path(int subfolder, const char* name) {
    if (!name) return nullptr;
    if (path_is_absolute(name)) return copy_string(name);
    char* dir = install_dir(subfolder);
    if (!dir) return nullptr;
    char* path = path_join(dir, name);
    std::free(dir);
    return path;
}
