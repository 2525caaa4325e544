// Shared set-up for the macro tests: fresh reader, scanner and macro state,
// diagnostics captured in memory, and helpers that feed text to the reader.
#pragma once

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/alert.h"
#include "cpp/directives.h"
#include "cpp/expand.h"
#include "cpp/macro_table.h"
#include "cpp/reader.h"
#include "cpp/scanner.h"
#include "tests/test_os.h"

struct macro_run_ended {
    int status;
};

inline void throw_macro_run_ended(int status) {
    throw macro_run_ended{status};
}

class MacroFixture : public ::testing::Test {
   protected:
    void SetUp() override {
        // The catalogue of the build gives every number its real kind.
        if (const char* dat = std::getenv("CPP_TEST_DAT")) {
            std::string path = std::string(dat) + "/en_msgs.txt";
            set_env("ZQT_ERR_FILE", path.c_str());
        }
        alert_reset();
        stream_ = std::make_unique<captured_stream>();
        alert_set_stream(stream_->get());
        alert_set_exit_hook(throw_macro_run_ended);
        reset_state();
    }

    void TearDown() override {
        reset_state();
        alert_reset();
        stream_.reset();
        set_env("ZQT_ERR_FILE", nullptr);
    }

    static void reset_state() {
        reader_reset();
        scanner = {};
        scanner.save_ptr = scanner.save_buffer;
        macros_reset();
        expand_reset();
        directives_reset();
    }

    // The message numbers reported since the last call, in order.
    std::vector<unsigned> messages() {
        std::string text = stream_->take();
        std::vector<unsigned> numbers;
        for (std::size_t at = text.find('('); at != std::string::npos;
             at = text.find('(', at + 1)) {
            std::size_t end = at + 1;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
            if (end > at + 1 && end + 1 < text.size() && text[end] == ')' && text[end + 1] == ' ') {
                numbers.push_back(
                    static_cast<unsigned>(std::stoul(text.substr(at + 1, end - at - 1))));
            }
        }
        return numbers;
    }

    static void push(const std::u16string& text) { push_text_source(text.c_str()); }

    // Everything the reader still has to give.
    static std::u16string drain() {
        std::u16string out;
        for (int c = next_char(); c != 0; c = next_char()) out.push_back(static_cast<char16_t>(c));
        return out;
    }

    // Runs #define on the text after the directive name.
    static void define(const std::u16string& line) {
        push(line + u"\n");
        do_define();
        drain();
    }

    // Runs #define without reading on past its line: what was pending below
    // it is still there to read.
    static void define_here(const std::u16string& line) {
        push(line + u"\n");
        do_define();
        next_char();  // the line end
    }

    static macro_def* find(const std::u16string& name) {
        macro_table_settle();
        for (macro_def* head : macros.macro_table) {
            for (macro_def* m = head; m != nullptr; m = m->next) {
                if (std::u16string(m->name.get()) == name) return m;
            }
        }
        return nullptr;
    }

    std::unique_ptr<captured_stream> stream_;
};

constexpr char16_t STR = 0x7F1C;  // stringise mark
constexpr char16_t NOX = 0x7F1D;  // no-expand mark
constexpr char16_t PST = 0x7F1E;  // paste mark
constexpr char16_t END = 0x7F1F;  // end of an expansion
constexpr char16_t REF0 = 0x7F7F;
constexpr char16_t REF1 = 0x7F80;
