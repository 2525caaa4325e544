// Catalogue files: the line parser and its malformed-line reports, the
// replacement of a primary catalogue, the English fallback and the search by
// language.
#include <string>
#include <vector>

#include "alert_fixture.h"

namespace {

class CatalogueTest : public AlertFixture {
   protected:
    // The malformed-line reports expected for `lines` of `file`.
    static std::string malformed(const std::vector<unsigned>& lines, const std::string& file) {
        std::string s;
        for (unsigned n : lines)
            s += "Malformed error information on line " + std::to_string(n) + ", in file " + file +
                 "\n\n";
        return s;
    }
    std::string shown(unsigned number) {
        alert_report(number, "ARG");
        return take_output();
    }
};

TEST_F(CatalogueTest, MalformedLinesAreReportedByLineNumber) {
    struct {
        const char* text;
        std::vector<unsigned> bad_lines;
    } cases[] = {
        {"\n", {1}},                       // empty line: no kind
        {"100 E\n", {1}},                  // nothing after the kind
        {"100 E \n", {1}},                 // a blank, then the line end
        {"100\n", {1}},                    // no kind field
        {"   \t\n", {1}},                  // blanks only: the number is the line end
        {"10001 E text\n", {1}},           // number above 10000
        {"-5 E text\n", {1}},              // negative number
        {"# comment\n\n100 E ok\n", {2}},  // comments count as lines
        {"0 M zero\n10000 E top\n", {}},   // both ends of the range
        {"100 X text\n", {1}},             // unknown kind letter
        {"100 X\n", {1, 1}},               // unknown kind and no text
        {"100 E ok", {}},                  // last line without line end
        {"100 E ok\r\n101 E\r\n", {2}},    // CR LF reads as LF
    };
    for (const auto& c : cases) {
        alert_reset();
        alert_set_stream(stream_);
        std::string path = write_file("cat.txt", c.text);
        EXPECT_EQ(alert_open_catalogue(path.c_str()), 1);
        EXPECT_EQ(take_output(), malformed(c.bad_lines, path)) << c.text;
    }
}

TEST_F(CatalogueTest, FieldsKindsAndLevels) {
    use_catalogue(
        "  100\tE  two blanks kept %s\n"
        "101 f fatal\n"
        "102 m message %s\n"
        "103 -2 minus two\n"
        "104 - dash\n"
        "105 3x three\n"
        "106 Q odd\n"
        "107 e first\n"
        "107 E second\n");
    EXPECT_EQ(take_output(), malformed({7}, (dir_ / "test_msgs.txt").string()));
    EXPECT_EQ(shown(100), "(100)  two blanks kept ARG\n");
    EXPECT_THROW(alert_report(101), run_ended);
    EXPECT_EQ(take_output(), "(101) fatal\n");
    EXPECT_EQ(shown(102), "message ARG\n");
    alert_set_warning_level(-2);
    EXPECT_EQ(shown(103), "(103) minus two (warning)\n");
    alert_set_warning_level(-1);
    EXPECT_EQ(shown(103), "");
    alert_set_warning_level(1);
    EXPECT_EQ(shown(104), "");  // "-" alone is level 0
    alert_set_warning_level(0);
    EXPECT_EQ(shown(104), "(104) dash (warning)\n");
    alert_set_warning_level(3);
    EXPECT_EQ(shown(105), "(105) three (warning)\n");
    alert_set_warning_level(4);
    EXPECT_EQ(shown(105), "");
    EXPECT_EQ(shown(106), "(106) odd (warning)\n");  // stored with kind 0
    EXPECT_EQ(shown(107), "(107) second\n");         // the later line wins
}

// A line longer than 255 characters is read in pieces, each parsed alone.
TEST_F(CatalogueTest, LongLinesSplitIntoPieces) {
    std::string head = "100 E ";
    std::string first_text(255 - head.size(), 'a');
    std::string line = head + first_text + "101 E tail\n";  // 266 characters with the newline
    use_catalogue(line + std::string(254, 'b') + "\n102 E after\n");
    // Line 1 and 2 are the pieces of the first line; the 254 b's and their
    // newline fit one piece (line 3).
    EXPECT_EQ(take_output(), malformed({3}, (dir_ / "test_msgs.txt").string()));
    EXPECT_EQ(shown(100), "(100) " + first_text + "\n");
    EXPECT_EQ(shown(101), "(101) tail\n");
    EXPECT_EQ(shown(102), "(102) after\n");
}

TEST_F(CatalogueTest, SecondPrimaryFileReplacesTheFirstWhole) {
    use_catalogue("100 E one\n101 E only in first\n");
    use_catalogue("100 E two\n", "other.txt");
    EXPECT_EQ(shown(100), "(100) two\n");
    EXPECT_EQ(shown(101),
              "(101) An error, warning or message was generated, but no description is "
              "available\n");
    EXPECT_EQ(alert_open_catalogue((dir_ / "missing.txt").string().c_str()), 0);
    EXPECT_EQ(shown(100), "(100) two\n");  // a failed open keeps what was loaded
}

TEST_F(CatalogueTest, FallbackSuppliesMissingNumbers) {
    SKIP_UNLESS_INSTALLATION_FROM_ENVIRONMENT();
    use_catalogue("100 E primary\n");
    EXPECT_EQ(shown(200),
              "(200) An error, warning or message was generated, but no description is "
              "available\n");
    // The fallback is tried again at the next miss, and found now.
    std::string fallback = write_file("dat/en_msgs.txt", "200 1 from fallback\nbad\n");
    EXPECT_EQ(shown(200), malformed({2}, fallback) + "(200) from fallback (warning)\n");
    EXPECT_EQ(shown(100), "(100) primary\n");
    EXPECT_EQ(shown(200), "(200) from fallback (warning)\n");
}

TEST_F(CatalogueTest, InstalledLanguageCatalogueComesFirst) {
    SKIP_UNLESS_INSTALLATION_FROM_ENVIRONMENT();
    write_file("dat/de_msgs.txt", "100 E deutsch\n");
    write_file("dat/en_msgs.txt", "100 E english\n101 E nur englisch\n");
    std::string env_file = write_file("env.txt", "100 E from environment\n");
    env_.set("ZQT_ERR_FILE", env_file.c_str());
    env_.set("LANG", "de_DE.UTF-8");
    EXPECT_EQ(shown(100), "(100) deutsch\n");
    EXPECT_EQ(shown(101), "(101) nur englisch\n");
}

TEST_F(CatalogueTest, SearchFallsBackToEnvironmentThenDefaultThenBareName) {
    SKIP_UNLESS_INSTALLATION_FROM_ENVIRONMENT();
    // No catalogue in the installation: ZQT_ERR_FILE is next.
    std::string env_file = write_file("env.txt", "100 E from environment\n");
    env_.set("ZQT_ERR_FILE", env_file.c_str());
    env_.set("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(shown(100), "(100) from environment\n");

    // Without it, ../dat/en_msgs.txt relative to the current directory.
    alert_reset();
    alert_set_stream(stream_);
    env_.set("ZQT_ERR_FILE", nullptr);
    write_file("work/here/fr_msgs.txt", "100 E bare name\n");
    write_file("work/dat/en_msgs.txt", "100 E default path\n");
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir_ / "work" / "here");
    std::string out = shown(100);
    std::filesystem::remove(dir_ / "work" / "dat" / "en_msgs.txt");
    alert_reset();
    alert_set_stream(stream_);
    std::string bare = shown(100);
    std::filesystem::current_path(old);
    EXPECT_EQ(out, "(100) default path\n");
    EXPECT_EQ(bare, "(100) bare name\n");
}

TEST_F(CatalogueTest, SearchRepeatsUntilACatalogueIsFound) {
    SKIP_UNLESS_INSTALLATION_FROM_ENVIRONMENT();
    EXPECT_EQ(shown(100),
              "(100) An error, warning or message was generated, but no description is "
              "available\n");
    write_file("dat/en_msgs.txt", "100 E found late\n");
    EXPECT_EQ(shown(100), "(100) found late\n");
    write_file("dat/en_msgs.txt", "100 E changed\n");
    EXPECT_EQ(shown(100), "(100) found late\n");  // loaded once, then kept
}

// A catalogue named before the first report (--edf=) stops the search.
TEST_F(CatalogueTest, ExplicitCatalogueBeforeFirstUseIsKept) {
    write_file("dat/en_msgs.txt", "100 E installed\n");
    use_catalogue("100 E explicit\n");
    alert_set_formats(nullptr, nullptr, nullptr);
    EXPECT_EQ(shown(100), "(100) explicit\n");
    EXPECT_EQ(alert_set_error_limit(10), 20u);
}

TEST_F(CatalogueTest, DisableZeroNamesTheWarningsOfThePrimaryCatalogue) {
    use_catalogue("100 0 w0\n101 5 w5\n102 E e\n103 M m\n");
    alert_disable_messages("0");
    alert_set_warning_level(-100);
    EXPECT_EQ(shown(100), "");
    EXPECT_EQ(shown(101), "");
    EXPECT_EQ(shown(102), "(102) e\n");
    EXPECT_EQ(shown(103), "m\n");
}

TEST(AlertLanguageCode, Table) {
    struct {
        unsigned language;
        const char* code;
    } cases[] = {{7, "de"}, {9, "en"}, {12, "fr"}, {255, "en"}, {10, "en"}, {0, "en"}};
    for (const auto& c : cases) EXPECT_STREQ(alert_language_code(c.language), c.code);
}

}  // namespace

namespace {

// Random catalogues (fixed seed) built from the characters that matter to
// the parser: the loader and every report made from them stay within their
// buffers, and no line outgrows the output line.
TEST_F(CatalogueTest, ArbitraryCatalogueTextIsSafe) {
    const char alphabet[] = "0123456789 \t\r\n#-EeFfMmX%sdnf*.lz";
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    alert_set_argument_signatures([](unsigned) -> const char* { return ""; });
    alert_set_warning_level(-100000);
    for (int round = 0; round < 60; ++round) {
        std::string text;
        unsigned size = next() % 2000;
        for (unsigned i = 0; i < size; ++i)
            text.push_back(alphabet[next() % (sizeof alphabet - 1)]);
        if (round % 7 == 0) text += std::string(600, 'x') + "\n";
        alert_reset();
        alert_set_stream(stream_);
        use_catalogue(text);
        for (unsigned number = 0; number < 40; ++number) {
            try {
                alert_report(number);
            } catch (const run_ended&) {
            }
        }
        std::string out = take_output();
        std::size_t start = 0;
        for (std::size_t nl; (nl = out.find('\n', start)) != std::string::npos; start = nl + 1)
            EXPECT_LE(nl - start, 2046u);
    }
}

}  // namespace
