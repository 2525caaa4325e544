// Installation values: the language from the locale, the installation
// directory from ZQT_INSTDIR with its environment references, and the
// directory implied by the program's own location.
#include <gtest/gtest.h>
#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "alert_fixture.h"
#include "common/registry.h"
#include "common/registry_platform.h"

namespace {

// Takes an owned string and frees it.
std::string take(char* s) {
    std::string r = s ? s : "<none>";
    std::free(s);
    return r;
}

class RegistryTest : public ::testing::Test {
   protected:
    void SetUp() override {
        for (const char* v : {"LANG", "LC_ALL", "LC_MESSAGES", "ZQT_INSTDIR"}) env_.set(v, nullptr);
    }
    env_guard env_;
};

TEST_F(RegistryTest, LanguageFromTheLocale) {
    struct {
        const char* lc_all;
        const char* lc_messages;
        const char* lang;
        unsigned error;
        std::uint32_t language;
    } cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", 0, 7},
        {nullptr, nullptr, "fr_FR", 0, 12},
        {nullptr, nullptr, "en_GB.UTF-8", 0, 9},
        {nullptr, nullptr, "es", 0, 10},
        {nullptr, nullptr, "sv_SE@euro", 0, 29},
        {nullptr, nullptr, "ja_JP.eucJP", 0, 17},
        {nullptr, nullptr, "DE_de", 0, 7},
        {nullptr, nullptr, "C", 2, 0},
        {nullptr, nullptr, "POSIX", 2, 0},
        {nullptr, nullptr, "C.UTF-8", 2, 0},
        {nullptr, nullptr, nullptr, 2, 0},
        {nullptr, nullptr, "xx_YY", 2, 0},
        {nullptr, "fr_FR", "de_DE", 0, 12},  // LC_MESSAGES before LANG
        {"ru_RU", "fr_FR", "de_DE", 0, 25},  // LC_ALL before both
        {"", "", "de_DE", 0, 7},             // empty values are skipped
        {"C", "fr_FR", "de_DE", 2, 0},       // the first one set decides
    };
    for (const auto& c : cases) {
        env_.set("LC_ALL", c.lc_all);
        env_.set("LC_MESSAGES", c.lc_messages);
        env_.set("LANG", c.lang);
        std::uint32_t language = 0;
        EXPECT_EQ(registry_product_dword("language", &language), c.error) << c.lang;
        if (c.error == 0) {
            EXPECT_EQ(language, c.language) << c.lang;
        }
    }
}

TEST_F(RegistryTest, ValuesOfTheWrongTypeOrPlace) {
    env_.set("LANG", "de_DE");
    env_.set("ZQT_INSTDIR", "/tools");
    std::uint32_t v = 0;
    EXPECT_EQ(registry_product_dword("other", &v), 2u);
    EXPECT_EQ(registry_get_dword(3, registry_product_key(), "language", &v, 0), 2u);
    EXPECT_EQ(registry_get_dword(4, registry_install_key(), "instdir", &v, 0), 160u);
    registry_string s = registry_get_string(4, registry_product_key(), "language", 0);
    EXPECT_EQ(s.error, 160u);
    EXPECT_EQ(s.text, nullptr);
    s = registry_get_string(4, "Software\\Other", "instdir", 0);
    EXPECT_EQ(s.error, 2u);
}

TEST_F(RegistryTest, InstallDirectoryExpandsEnvironmentReferences) {
    struct {
        const char* instdir;
        unsigned error;
        const char* text;
    } cases[] = {
        {"/tools", 0, "/tools"},
        {"%REG_TEST_ROOT%/x", 0, "/opt/root/x"},
        {"%REG_TEST_ROOT%%REG_TEST_ROOT%", 0, "/opt/root/opt/root"},
        {"%REG_TEST_UNSET%/x", 0, "%REG_TEST_UNSET%/x"},
        {"a%%b", 0, "a%%b"},
        {"50%", 0, "50%"},
        {"%REG_TEST_UNSET%REG_TEST_ROOT%", 0, "%REG_TEST_UNSET/opt/root"},
    };
    env_.set("REG_TEST_ROOT", "/opt/root");
    env_.set("REG_TEST_UNSET", nullptr);
    for (const auto& c : cases) {
        env_.set("ZQT_INSTDIR", c.instdir);
        registry_string s = registry_get_string(4, registry_install_key(), "instdir", 0);
        EXPECT_EQ(s.error, c.error) << c.instdir;
        EXPECT_EQ(take(s.text), c.text) << c.instdir;
        EXPECT_EQ(s.size, std::string(c.text).size() + 1) << c.instdir;
    }
}

TEST_F(RegistryTest, OverlongValuesFail) {
    std::string value(2047, 'd');  // the 2048-byte value buffer, terminator included
    env_.set("ZQT_INSTDIR", value.c_str());
    registry_string s = registry_get_string(4, registry_install_key(), "instdir", 0);
    EXPECT_EQ(s.error, 0u);
    std::free(s.text);
    value.push_back('d');
    env_.set("ZQT_INSTDIR", value.c_str());
    EXPECT_EQ(registry_get_string(4, registry_install_key(), "instdir", 0).error, 234u);

    // Expanded text may take 4100 bytes with its terminator, no more.
    std::string big(2040, 'e');
    env_.set("REG_TEST_BIG", big.c_str());
    std::string refs = "%REG_TEST_BIG%%REG_TEST_BIG%" + std::string(4099 - 2 * 2040, 'f');
    env_.set("ZQT_INSTDIR", refs.c_str());
    s = registry_get_string(4, registry_install_key(), "instdir", 0);
    EXPECT_EQ(s.error, 0u);
    EXPECT_EQ(s.size, 4100u);
    std::free(s.text);
    env_.set("ZQT_INSTDIR", (refs + "f").c_str());
    EXPECT_EQ(registry_get_string(4, registry_install_key(), "instdir", 0).error, 234u);
}

TEST_F(RegistryTest, InstallPathJoinsTheSubfolder) {
    struct {
        const char* instdir;
        int subfolder;
        const char* name;
        const char* path;
    } cases[] = {
        {"/tools", 5, "en_msgs.txt", "/tools/dat/en_msgs.txt"},
        {"/tools/", 5, "en_msgs.txt", "/tools/dat/en_msgs.txt"},
        {"/tools", 1, "cpp", "/tools/bin/cpp"},
        {"/tools", 7, "r", "/tools/resources/r"},
        {"/tools", 0, "x", "/tools/x"},
        {"/tools", 5, "/abs/my_msgs.txt", "/abs/my_msgs.txt"},
        {"/tools", 5, "C:\\x\\my_msgs.txt", "C:\\x\\my_msgs.txt"},
        {"/tools", 5, "\\\\server\\share\\m.txt", "\\\\server\\share\\m.txt"},
        {nullptr, 5, "/abs/m.txt", "/abs/m.txt"},
        {"/tools", 8, "x", "<none>"},
        {"/tools", -1, "x", "<none>"},
    };
    for (const auto& c : cases) {
        env_.set("ZQT_INSTDIR", c.instdir);
        EXPECT_EQ(take(install_path(c.subfolder, c.name)), c.path) << c.name;
    }
    env_.set("ZQT_INSTDIR", "/tools/");
    EXPECT_EQ(take(install_dir(0)), "/tools/");
    EXPECT_EQ(take(install_dir(5)), "/tools/dat");
}

TEST(InstallDirOfProgram, BinFolderParent) {
    struct {
        const char* program;
        const char* dir;
    } cases[] = {
        {"/tools/bin/cpp", "/tools"},
        {"/tools/BIN/cpp", "/tools"},
        {"/opt/q/Bin/cpp", "/opt/q"},
        {"C:\\tools\\bin\\cpp.exe", "C:\\tools"},
        {"/tools/cpp", "<none>"},
        {"/tools/binx/cpp", "<none>"},
        {"cpp", "<none>"},
        {"bin/cpp", "<none>"},
        {"/bin/cpp", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(take(install_dir_of_program(c.program)), c.dir) << c.program;
}

// Without ZQT_INSTDIR the test binary, built into <build>/bin, finds the
// build tree as its installation.
TEST_F(RegistryTest, InstallDirectoryFromTheRunningProgram) {
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    std::string expected = "<none>";
    std::string folder = exe.parent_path().filename().string();
    if (strcasecmp(folder.c_str(), "bin") == 0) expected = exe.parent_path().parent_path().string();
    EXPECT_EQ(take(install_dir(0)), expected);
}

}  // namespace
