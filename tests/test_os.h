// What the unit tests need of the operating system, the same way on Linux
// and Windows: environment variables set and cleared, scratch directories.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

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
