// What the unit tests need of the operating system, the same way on Linux
// and Windows: environment variables set and cleared, scratch directories.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

// The installation's values, the catalogue language and the installation
// directory, come from LANG and ZQT_INSTDIR on Linux; on Windows they are
// the registry's (set by the golden cases of windows/ under wine).
#ifdef _WIN32
constexpr bool INSTALLATION_FROM_ENVIRONMENT = false;
#else
constexpr bool INSTALLATION_FROM_ENVIRONMENT = true;
#endif
#define SKIP_UNLESS_INSTALLATION_FROM_ENVIRONMENT() \
    if (!INSTALLATION_FROM_ENVIRONMENT) GTEST_SKIP() << "the installation is the registry's here"

// Sets a variable, or clears it when value is null.
inline void set_env(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");  // an empty value clears it there
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

// A new, empty directory under the system's directory for temporary files.
inline std::filesystem::path make_scratch_dir(const std::string& stem) {
    std::random_device random;
    for (;;) {
        std::filesystem::path dir =
            std::filesystem::temp_directory_path() / (stem + std::to_string(random()));
        if (std::filesystem::create_directory(dir)) return dir;
    }
}
