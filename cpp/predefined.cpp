// The macros defined before the options are read: __STDC__, the dynamic
// __LINE__ and __FILE__, and __DATE__ / __TIME__ fixed from the clock, or
// from SOURCE_DATE_EPOCH when a reproducible build sets it.
#include "cpp/predefined.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/alert.h"
#include "common/alloc.h"
#include "cpp/dialect.h"
#include "cpp/macro_table.h"
#include "cpp/messages.h"
#include "cpp/options.h"

namespace {

const char* const fixed_names[] = {"__STDC__", nullptr};
const char* const dynamic_names[] = {"__LINE__", "__FILE__", nullptr};

macro_def* install(const char* name) {
    wchar wide[32];
    wstr_from_narrow(wide, name);
    return macro_install(wide, 0);
}

// A body of the form "<part of the clock text>", quotes included.
macro_text quoted_clock_text(const char* clock, int from, int count, int from2, int count2) {
    wchar body[64];  // (count + count2 is at most 11)
    body[0] = '"';
    wstr_from_narrow_n(body + 1, clock + from, count);
    if (count2 > 0) wstr_from_narrow_n(body + 1 + count, clock + from2, count2);
    body[1 + count + count2] = '"';
    body[2 + count + count2] = 0;
    return macro_text_dup(body);
}

// The clock text of a moment, "Www Mmm dd hh:mm:ss yyyy\n", made here
// because not every C library pads a day below 10 with a blank (Windows'
// pads it with a zero); false for a moment whose year the layout cannot show.
bool format_clock(const std::tm* t, char (&text)[64]) {
    static const char days[] = "SunMonTueWedThuFriSat";
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (t == nullptr || t->tm_wday < 0 || t->tm_wday > 6 || t->tm_mon < 0 || t->tm_mon > 11 ||
        t->tm_year < -1900 || t->tm_year + 1900 > 9999)
        return false;
    std::snprintf(text, sizeof text, "%.3s %.3s %2d %02d:%02d:%02d %04d\n", days + 3 * t->tm_wday,
                  months + 3 * t->tm_mon, t->tm_mday, t->tm_hour, t->tm_min, t->tm_sec,
                  t->tm_year + 1900);
    return true;
}

// The UTC moment of a count of seconds since 1970-01-01 00:00:00, worked out
// here because not every C library's gmtime reaches the year 9999 (Windows'
// stops at 3000); false for a year past 9999.
bool utc_moment(std::int64_t seconds, std::tm& t) {
    const std::int64_t days = seconds / 86400, rest = seconds % 86400;
    // Days since 0000-03-01, in eras of 400 years (146097 days); the year
    // taken to start in March puts the leap day at its end.
    const std::int64_t from_march = days + 719468, era = from_march / 146097;
    const std::int64_t day_of_era = from_march - era * 146097;
    const std::int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t month_from_march = (5 * day_of_year + 2) / 153;
    const std::int64_t month = month_from_march < 10 ? month_from_march + 2 : month_from_march - 10;
    const std::int64_t year = era * 400 + year_of_era + (month < 2 ? 1 : 0);
    if (year > 9999) return false;
    t = std::tm{};
    t.tm_year = static_cast<int>(year - 1900);
    t.tm_mon = static_cast<int>(month);
    t.tm_mday = static_cast<int>(day_of_year - (153 * month_from_march + 2) / 5 + 1);
    t.tm_wday = static_cast<int>((days + 4) % 7);  // 1970-01-01 was a Thursday
    t.tm_hour = static_cast<int>(rest / 3600);
    t.tm_min = static_cast<int>(rest / 60 % 60);
    t.tm_sec = static_cast<int>(rest % 60);
    return true;
}

// The moment of SOURCE_DATE_EPOCH (seconds since 1970-01-01 00:00:00 UTC),
// in UTC; false when the value is no decimal count of seconds or names no
// year the layout can show.
bool epoch_clock_text(const char* value, char (&text)[64]) {
    std::int64_t seconds = 0;
    const char* p = value;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (seconds > (INT64_MAX - 9) / 10) return false;
        seconds = seconds * 10 + (*p - '0');
    }
    if (p == value || *p != 0) return false;
    std::tm t;
    return utc_moment(seconds, t) && format_clock(&t, text);
}

// The clock text __DATE__ and __TIME__ are cut from. A SOURCE_DATE_EPOCH
// that cannot be used ends the run before anything is written: a release
// build must not fall back to the clock unseen.
const char* start_up_clock_text(char (&text)[64]) {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        if (!epoch_clock_text(epoch, text)) alert_report(MSG_BAD_SOURCE_DATE_EPOCH, epoch);
        return text;
    }
    std::time_t now = std::time(nullptr);
    if (!format_clock(std::localtime(&now), text)) return "??? ??? ?? ??:??:?? ????\n";
    return text;
}

// The macros ISO C adds, as a hosted implementation has them.
void define_iso_macros() {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%ldL", dialect.version);
    wchar body[24];
    wstr_from_narrow(body, digits);
    macro_def* version = install("__STDC_VERSION__");
    version->body = macro_text_dup(body);
    version->nparams = -1;
    macro_def* hosted = install("__STDC_HOSTED__");
    hosted->body = macro_text_dup(u"1");
    hosted->nparams = -1;
}

}  // namespace

int define_predefined_macros() {
    if (options.suppress_predefined == 0) {
        for (const char* const* n = fixed_names; *n != nullptr; ++n) {
            if (**n == 0) continue;
            macro_def* m = install(*n);
            m->body = macro_text_dup(u"1");
            m->nparams = -1;
        }
        if (dialect.iso) define_iso_macros();
    }
    if (options.suppress_predefined >= 2) return 0;
    int nparams = -2;
    for (const char* const* n = dynamic_names; *n != nullptr; ++n) install(*n)->nparams = nparams--;
    char text[64];
    const char* clock = start_up_clock_text(text);
    macro_def* date = install("__DATE__");
    date->body = quoted_clock_text(clock, 4, 7, 20, 4);
    date->nparams = -1;
    macro_def* time = install("__TIME__");
    time->body = quoted_clock_text(clock, 11, 8, 0, 0);
    time->nparams = -1;
    return 0;
}
