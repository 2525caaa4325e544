// Shared set-up for the diagnostics tests: a scratch directory used as the
// installation, a clean environment, captured alert output and an exit hook
// that throws instead of ending the process.
#pragma once

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "common/alert.h"
#include "tests/test_os.h"

struct run_ended {
    int status;
};

inline void throw_run_ended(int status) {
    throw run_ended{status};
}

// Sets or clears environment variables for one test and restores them after.
class env_guard {
   public:
    void set(const char* name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        set_env(name, value);
    }
    ~env_guard() {
        for (auto& [name, value] : saved_) set_env(name.c_str(), value ? value->c_str() : nullptr);
    }

   private:
    std::map<std::string, std::optional<std::string>> saved_;
};

class AlertFixture : public ::testing::Test {
   protected:
    void SetUp() override {
        dir_ = make_scratch_dir("alert_test_");
        for (const char* v : {"LANG", "LC_ALL", "LC_MESSAGES", "ZQT_ERR_FILE", "ZQT_ERR_FORMAT",
                              "ZQT_WARN_FORMAT", "ZQT_MSG_FORMAT"})
            env_.set(v, nullptr);
        env_.set("ZQT_INSTDIR", dir_.string().c_str());
        std::filesystem::create_directories(dir_ / "dat");
        // The default catalogue path is relative to the current directory.
        old_cwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        alert_reset();
        capture_ = std::make_unique<captured_stream>();
        stream_ = capture_->get();
        alert_set_stream(stream_);
        alert_set_exit_hook(throw_run_ended);
    }
    void TearDown() override {
        alert_set_argument_signatures(nullptr);
        alert_reset();
        capture_.reset();
        stream_ = nullptr;
        std::filesystem::current_path(old_cwd_);
        std::filesystem::remove_all(dir_);
    }
    // Everything written to the alert stream so far; clears it.
    std::string take_output() { return capture_->take(); }
    std::string write_file(const std::string& name, const std::string& text) {
        std::filesystem::path p = dir_ / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }
    // Loads a catalogue written by the test as the primary catalogue.
    void use_catalogue(const std::string& text, const std::string& name = "test_msgs.txt") {
        ASSERT_EQ(alert_open_catalogue(write_file(name, text).c_str()), 1);
    }

    std::filesystem::path dir_;
    std::filesystem::path old_cwd_;
    env_guard env_;
    std::unique_ptr<captured_stream> capture_;
    std::FILE* stream_ = nullptr;
};
