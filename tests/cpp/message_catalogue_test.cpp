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
#include "cpp/messages.h"

namespace {

// The kind each catalogue gives a number: "E", "F", or the warning level.
// The arguments come from the preprocessor's own signature table.
struct message_kind {
    unsigned number;
    const char* kind;
};

const message_kind MESSAGES[] = {
    {100, "E"}, {101, "E"}, {102, "E"}, {103, "E"}, {104, "E"}, {105, "E"}, {106, "E"}, {107, "E"},
    {108, "E"}, {109, "E"}, {110, "E"}, {111, "1"}, {112, "E"}, {113, "E"}, {114, "E"}, {115, "E"},
    {116, "E"}, {117, "E"}, {118, "E"}, {119, "E"}, {120, "E"}, {121, "E"}, {122, "E"}, {123, "E"},
    {124, "E"}, {125, "E"}, {126, "E"}, {127, "E"}, {128, "E"}, {129, "E"}, {130, "E"}, {131, "E"},
    {132, "E"}, {133, "E"}, {134, "E"}, {137, "E"}, {138, "E"}, {139, "E"}, {141, "F"}, {144, "F"},
    {146, "E"}, {147, "E"}, {148, "E"}, {149, "E"}, {150, "E"}, {151, "E"}, {152, "E"}, {153, "E"},
    {155, "E"}, {156, "E"}, {158, "E"}, {159, "E"}, {161, "0"}, {162, "1"}, {163, "0"}, {164, "1"},
    {165, "0"}, {166, "E"}, {167, "E"}, {168, "E"}, {169, "E"}, {171, "E"}, {172, "E"}, {174, "0"},
    {175, "0"}, {177, "0"}, {179, "0"}, {180, "0"}, {337, "0"}, {917, "E"}, {990, "E"},
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
    for (const message_kind& m : MESSAGES) table.insert(m.number);
    EXPECT_EQ(named, table);
    // Every named number has a signature, and no other number has one.
    for (unsigned n = 0; n < 1000; ++n) {
        EXPECT_EQ(message_signature(n) != nullptr, named.count(n) == 1) << n;
    }
}

TEST(MessageCatalogue, EveryLanguageHasEveryNumberWithItsKindAndArguments) {
    for (const char* lang : LANGUAGES) {
        std::filesystem::path file = dat_dir() / (std::string(lang) + "_msgs.txt");
        auto entries = read_catalogue(file);
        ASSERT_FALSE(entries.empty()) << file;
        for (const message_kind& m : MESSAGES) {
            auto it = entries.find(m.number);
            ASSERT_NE(it, entries.end()) << lang << " lacks " << m.number;
            EXPECT_EQ(it->second.kind, m.kind) << lang << " " << m.number;
            ASSERT_NE(message_signature(m.number), nullptr) << m.number;
            EXPECT_EQ(conversions(it->second.text), message_signature(m.number))
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
    SKIP_UNLESS_INSTALLATION_FROM_ENVIRONMENT();
    // The installation is the folder that holds dat/.
    env_.set("ZQT_INSTDIR", dat_dir().parent_path().string().c_str());
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
