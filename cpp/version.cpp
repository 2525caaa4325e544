// The version banner of --ver: product, edition, component and the build's
// version, date and number, fixed when the program is built.
#include "cpp/version.h"

#include "common/osdep.h"

#ifndef CPP_VERSION
#error "CPP_VERSION is set by the build"
#endif
#ifndef CPP_BUILD_NUMBER
#error "CPP_BUILD_NUMBER is set by the build"
#endif

namespace {

constexpr const char* PRODUCT = "QUEV";
constexpr const char* COMPONENT = "preprocessor";
constexpr const char* VERSION_SUFFIX = "";
constexpr const char* RELEASE = "";
constexpr const char* BUILD_DATE = __DATE__;
constexpr const char* COPYRIGHT = "Copyright (c) 2019-2026 MORVANE Software";

}  // namespace

void print_version_banner(std::FILE* out) {
    char edition[] = "pro";
    str_upper(edition);
    std::fprintf(out,
                 "\nProduct:\t%s\nEdition:\t%s\nComponent:\t%s\nVersion:\t%s%s\n"
                 "Build date:\t%s\nRelease:\t%s\nBuild number:\t%s\n%s\n",
                 PRODUCT, edition, COMPONENT, CPP_VERSION, VERSION_SUFFIX, BUILD_DATE, RELEASE,
                 CPP_BUILD_NUMBER, COPYRIGHT);
}
