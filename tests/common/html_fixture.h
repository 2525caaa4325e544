// Test fixture for the report writer: every test runs in a fresh scratch
// directory (report names take their prefixes in front of any directory
// part, so the files are named relative to it) and catches the warnings.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/alert.h"
#include "common/html.h"
#include "tests/test_os.h"

class html_fixture : public ::testing::Test {
   protected:
    void SetUp() override {
        html_reset();
        alert_reset();
        old_dir_ = std::filesystem::current_path();
        dir_ = make_scratch_dir("html_test_");
        std::filesystem::current_path(dir_);
        alerts_ = std::tmpfile();
        ASSERT_NE(alerts_, nullptr);
        alert_set_stream(alerts_);
    }

    void TearDown() override {
        html_reset();
        alert_reset();
        if (alerts_) std::fclose(alerts_);
        std::filesystem::current_path(old_dir_);
        std::filesystem::remove_all(dir_);
    }

    // The report as the preprocessor starts it, frames begun.
    static std::FILE* open_report(const char* name) {
        std::FILE* f = html_open(name, "CPP information for ", name, "udf_styles.css");
        if (f) html_begin_frames(3);
        return f;
    }

    // Read as text: CR LF on Windows is LF.
    static std::string read_file(const std::string& name) {
        std::ifstream in(name);
        if (!in) return "<missing " + name + ">";
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Everything the alert system wrote so far.
    std::string alert_text() {
        std::fflush(alerts_);
        std::rewind(alerts_);
        std::string text;
        for (int c; (c = std::fgetc(alerts_)) != EOF;) text += static_cast<char>(c);
        return text;
    }

   private:
    std::filesystem::path old_dir_;
    std::filesystem::path dir_;
    std::FILE* alerts_ = nullptr;
};
