// Deterministic texts and a temporary file for the micro-benchmarks.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Widens bytes to 16-bit units, as the reader does with file bytes.
inline std::u16string widen(const std::string& s) {
    std::u16string w(s.size(), u'\0');
    for (std::size_t i = 0; i < s.size(); ++i) w[i] = static_cast<unsigned char>(s[i]);
    return w;
}

// Ordinary C lines (no comments, splices or trigraphs) of at least `size`
// bytes in all.
inline std::string plain_c_text(std::size_t size) {
    std::string s;
    for (unsigned i = 0; s.size() < size; ++i) {
        s += "    total_" + std::to_string(i % 97) + " += buffer[index & 0x3F] * " +
             std::to_string(i * 7 % 1000) + ";\n";
        if (i % 5 == 0) s += "    if (count > limit) { state = \"busy\"; count = 0; }\n";
    }
    return s;
}

// The same lines, each followed by a block comment and every third by a
// line comment.
inline std::string commented_c_text(std::size_t size) {
    std::string s;
    for (unsigned i = 0; s.size() < size; ++i) {
        s += "    value = value * 3 + 1; /* scale the sample */";
        s += i % 3 == 0 ? " // and again\n" : "\n";
    }
    return s;
}

// Identifiers separated by blanks and operators; every second one is one of
// MACRO_0 .. MACRO_<macros - 1>.
inline std::string identifier_text(std::size_t size, int macros) {
    std::string s;
    for (unsigned i = 0; s.size() < size; ++i) {
        if (i % 2 == 0)
            s += "MACRO_" + std::to_string(i * 2654435761u % static_cast<unsigned>(macros));
        else
            s += "plain_name_" + std::to_string(i % 1000);
        s += i % 8 == 7 ? ";\n" : " + ";
    }
    return s;
}

// A file in /tmp holding `text`, removed again by the destructor.
struct temp_file {
    std::string path;
    explicit temp_file(const std::string& text) {
        char name[] = "/tmp/cpp-bench-XXXXXX.c";
        int fd = mkstemps(name, 2);
        if (fd < 0) std::abort();
        path = name;
        std::FILE* f = fdopen(fd, "wb");
        if (f == nullptr) std::abort();
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    ~temp_file() { std::remove(path.c_str()); }
    temp_file(const temp_file&) = delete;
    temp_file& operator=(const temp_file&) = delete;
};
