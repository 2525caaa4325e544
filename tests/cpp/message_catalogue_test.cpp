// The shipped catalogues against the sources: every number named in
// cpp/messages.h has an entry in every language, with the kind and level of
// the English one, and a text whose conversions take exactly the arguments
// that its report passes. The files load without a malformed line.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "common/alert_catalogue.h"
#include "cpp/messages.h"
#include "tests/test_os.h"

namespace {

const std::filesystem::path SOURCES = std::filesystem::path(__FILE__).parent_path() / "../..";

// The arguments a printf format takes, one letter each ("d", "s"); "?" for a
// conversion no report can feed.
std::string conversions(const std::string& text) {
    static const std::regex conversion(R"(%[-+ #0]*(\*?)[0-9]*(?:\.(\*?)[0-9]*)?[hlLjzt]*(.?))");
    std::string sig;
    for (std::sregex_iterator i(text.begin(), text.end(), conversion), end; i != end; ++i) {
        const char c = (*i)[3].str()[0];
        sig += std::string((*i)[1].length() + (*i)[2].length(), 'd');
        sig += c == 's'                         ? "s"
               : c && std::strchr("diouxXc", c) ? "d"
               : c == '%' || c == 'm'           ? ""
                                                : "?";
    }
    return sig;
}

TEST(MessageCatalogue, EveryReportedNumberHasAFittingEntryInEveryLanguage) {
    std::ifstream header(SOURCES / "cpp/messages.h");
    std::set<unsigned> named;
    std::regex entry(R"(MSG_\w+\s*=\s*(\d+))");
    for (std::string line; std::getline(header, line);)
        if (std::smatch m; std::regex_search(line, m, entry)) named.insert(std::stoul(m[1]));
    set_env("ZQT_INSTDIR", nullptr);  // no fallback: each file must stand alone
    std::map<unsigned, std::pair<unsigned, int>> english;
    for (const char* lang : {"en", "de", "fr"}) {
        alert_reset();
        std::string file = (SOURCES / "dat" / (std::string(lang) + "_msgs.txt")).string();
        testing::internal::CaptureStderr();
        EXPECT_EQ(alert_open_catalogue(file.c_str()), 1) << file;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << file << " has malformed lines";
        for (unsigned n = 0; n <= 1000; ++n) {
            alert_entry e{};
            bool found = catalogue_find(n, &e);
            ASSERT_EQ(found, named.count(n) == 1) << lang << " " << n;
            ASSERT_EQ(message_signature(n) != nullptr, found) << n;
            if (!found) continue;
            EXPECT_EQ(conversions(e.text), message_signature(n))
                << lang << " " << n << " " << e.text;
            auto kind = std::make_pair(e.kind, e.level);
            EXPECT_EQ(english.emplace(n, kind).first->second, kind) << lang << " " << n;
        }
    }
    alert_reset();
}

}  // namespace
