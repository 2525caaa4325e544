// What the unit tests need of the operating system, the same way on Linux
// and Windows: environment variables set and cleared, scratch directories,
// and a stream whose text is read back.
#pragma once

#include <cstdio>
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

// A stream for the code under test to write to, read back a piece at a time.
class captured_stream {
   public:
    captured_stream() : file_(std::tmpfile()) {}
    ~captured_stream() {
        if (file_) std::fclose(file_);
    }
    captured_stream(const captured_stream&) = delete;
    captured_stream& operator=(const captured_stream&) = delete;

    std::FILE* get() const { return file_; }

    // What was written since the last take.
    std::string take() {
        std::fflush(file_);
        long end = std::ftell(file_);
        std::string text(end > taken_ ? static_cast<std::size_t>(end - taken_) : 0, '\0');
        std::fseek(file_, taken_, SEEK_SET);
        text.resize(std::fread(text.data(), 1, text.size(), file_));
        std::fseek(file_, 0, SEEK_END);
        taken_ = end;
        return text;
    }

   private:
    std::FILE* file_;
    long taken_ = 0;
};
