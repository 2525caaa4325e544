// The shipped message catalogues: every number the preprocessor reports has
// an entry in each language, with the same kind and level, and a text whose
// conversions take exactly the arguments the report passes.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "../common/alert_fixture.h"

namespace {

struct message_use {
    unsigned number;
    const char* kind;       // "E", "F", or the warning level
    const char* arguments;  // one letter per argument: s string, d integer
};

const message_use MESSAGES[] = {
    {100, "E", "d"},  {101, "E", "s"},   {102, "E", "s"}, {103, "E", "s"},  {104, "E", ""},
    {105, "E", ""},   {106, "E", ""},    {107, "E", "s"}, {108, "E", ""},   {109, "E", ""},
    {110, "E", ""},   {111, "1", "s"},   {112, "E", ""},  {113, "E", ""},   {114, "E", ""},
    {115, "E", "ss"}, {116, "E", "d"},   {117, "E", ""},  {118, "E", ""},   {119, "E", ""},
    {120, "E", "s"},  {121, "E", "s"},   {122, "E", "s"}, {123, "E", "s"},  {124, "E", "d"},
    {125, "E", "d"},  {126, "E", ""},    {127, "E", ""},  {128, "E", ""},   {129, "E", ""},
    {130, "E", "s"},  {131, "E", ""},    {132, "E", ""},  {133, "E", "d"},  {134, "E", ""},
    {137, "E", "d"},  {138, "E", "d"},   {139, "E", ""},  {141, "F", "ss"}, {144, "F", ""},
    {146, "E", ""},   {147, "E", ""},    {148, "E", ""},  {149, "E", ""},   {150, "E", "s"},
    {151, "E", ""},   {152, "E", "d"},   {153, "E", "s"}, {155, "E", "s"},  {156, "E", "s"},
    {158, "E", "s"},  {159, "E", ""},    {161, "0", "s"}, {162, "1", "s"},  {163, "0", ""},
    {164, "1", "s"},  {165, "0", "s"},   {166, "E", "s"}, {167, "E", "s"},  {168, "E", "s"},
    {169, "E", "d"},  {171, "E", "sdd"}, {172, "E", ""},  {174, "0", "d"},  {175, "0", ""},
    {177, "0", "s"},  {179, "0", ""},    {180, "0", ""},  {337, "0", ""},   {917, "E", "d"},
    {990, "E", ""},
};

const char* const LANGUAGES[] = {"en", "de", "fr"};

std::filesystem::path source_root() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

std::filesystem::path dat_dir() {
    const char* dat = std::getenv("CPP_TEST_DAT");
    return dat ? std::filesystem::path(dat) : source_root() / "dat";
}

// The arguments a printf format consumes, one letter each; '?' for a
// conversion no report can feed.
std::string conversions(const std::string& text) {
    std::string sig;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        ++i;
        while (i < text.size() && std::strchr("-+ #0", text[i])) ++i;
        if (i < text.size() && text[i] == '*') sig += 'd', ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        if (i < text.size() && text[i] == '.') {
            ++i;
            if (i < text.size() && text[i] == '*') sig += 'd', ++i;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        }
        if (i >= text.size()) return sig + '?';
        char c = text[i];
        if (std::strchr("diuxXoc", c))
            sig += 'd';
        else if (c == 's')
            sig += 's';
        else if (c != '%' && c != 'm')
            sig += '?';
    }
    return sig;
}

struct parsed_entry {
    std::string kind;
    std::string text;
};

std::map<unsigned, parsed_entry> read_catalogue(const std::filesystem::path& file) {
    std::map<unsigned, parsed_entry> entries;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        unsigned number = 0;
        parsed_entry e;
        fields >> number >> e.kind;
        std::getline(fields, e.text);
        if (!e.text.empty()) e.text.erase(0, 1);
        entries[number] = e;
    }
    return entries;
}

TEST(MessageCatalogue, TableCoversEveryNumberNamedInTheSources) {
    std::ifstream header(source_root() / "cpp" / "messages.h");
    ASSERT_TRUE(header.good());
    std::set<unsigned> named;
    std::regex entry(R"(MSG_\w+\s*=\s*(\d+))");
    for (std::string line; std::getline(header, line);) {
        std::smatch m;
        if (std::regex_search(line, m, entry)) named.insert(std::stoul(m[1]));
    }
    std::set<unsigned> table;
    for (const message_use& m : MESSAGES) table.insert(m.number);
    EXPECT_EQ(named, table);
}

TEST(MessageCatalogue, EveryLanguageHasEveryNumberWithItsKindAndArguments) {
    for (const char* lang : LANGUAGES) {
        std::filesystem::path file = dat_dir() / (std::string(lang) + "_msgs.txt");
        auto entries = read_catalogue(file);
        ASSERT_FALSE(entries.empty()) << file;
        for (const message_use& m : MESSAGES) {
            auto it = entries.find(m.number);
            ASSERT_NE(it, entries.end()) << lang << " lacks " << m.number;
            EXPECT_EQ(it->second.kind, m.kind) << lang << " " << m.number;
            EXPECT_EQ(conversions(it->second.text), m.arguments)
                << lang << " " << m.number << ": " << it->second.text;
        }
        EXPECT_EQ(entries.size(), std::size(MESSAGES)) << lang << " has numbers no report uses";
    }
}

class ShippedCatalogueTest : public AlertFixture {};

// The loader itself accepts every line of every shipped file.
TEST_F(ShippedCatalogueTest, FilesLoadWithoutMalformedLines) {
    for (const char* lang : LANGUAGES) {
        std::string file = (dat_dir() / (std::string(lang) + "_msgs.txt")).string();
        EXPECT_EQ(alert_open_catalogue(file.c_str()), 1) << file;
        EXPECT_EQ(take_output(), "") << file;
    }
}

TEST_F(ShippedCatalogueTest, LocaleSelectsTheTranslation) {
    // The installation is the folder that holds dat/.
    env_.set("ZQT_INSTDIR", dat_dir().parent_path().c_str());
    struct {
        const char* lang;
        const char* text;
    } cases[] = {
        {"de_DE.UTF-8", "(107) unbekannte Direktive #foo\n"},
        {"fr_FR.UTF-8", "(107) directive inconnue #foo\n"},
        {"en_US.UTF-8", "(107) unknown directive #foo\n"},
        {"it_IT.UTF-8", "(107) unknown directive #foo\n"},
        {"C", "(107) unknown directive #foo\n"},
    };
    for (const auto& c : cases) {
        alert_reset();
        alert_set_stream(stream_);
        env_.set("LANG", c.lang);
        alert_report(107, "foo");
        EXPECT_EQ(take_output(), c.text) << c.lang;
    }
}

}  // namespace
