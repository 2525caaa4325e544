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
wchar* quoted_clock_text(const char* clock, int from, int count, int from2, int count2) {
    int units = 1 + count + count2 + 2;
    auto* body = static_cast<wchar*>(alloc_mem(units * sizeof(wchar)));
    body[0] = '"';
    wstr_from_narrow_n(body + 1, clock + from, count);
    if (count2 > 0) wstr_from_narrow_n(body + 1 + count, clock + from2, count2);
    body[1 + count + count2] = '"';
    body[2 + count + count2] = 0;
    return body;
}

// The moment of SOURCE_DATE_EPOCH (seconds since 1970-01-01 00:00:00 UTC),
// in UTC and in the clock text's layout "Www Mmm dd hh:mm:ss yyyy"; false
// when the value is no decimal count of seconds or names no year the layout
// can show.
bool epoch_clock_text(const char* value, char (&text)[64]) {
    std::int64_t seconds = 0;
    const char* p = value;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (seconds > (INT64_MAX - 9) / 10) return false;
        seconds = seconds * 10 + (*p - '0');
    }
    if (p == value || *p != 0) return false;
    auto t = static_cast<std::time_t>(seconds);
    if (static_cast<std::int64_t>(t) != seconds) return false;
    const std::tm* tm = std::gmtime(&t);
    if (tm == nullptr || tm->tm_year + 1900 > 9999) return false;
    static const char days[] = "SunMonTueWedThuFriSat";
    static const char months[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    std::snprintf(text, sizeof text, "%.3s %.3s %2d %02d:%02d:%02d %04d\n", days + 3 * tm->tm_wday,
                  months + 3 * tm->tm_mon, tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec,
                  tm->tm_year + 1900);
    return true;
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
    const char* clock = std::ctime(&now);
    return clock != nullptr ? clock : "??? ??? ?? ??:??:?? ????\n";
}

}  // namespace

int define_predefined_macros() {
    if (options.suppress_predefined == 0) {
        for (const char* const* n = fixed_names; *n != nullptr; ++n) {
            if (**n == 0) continue;
            macro_def* m = install(*n);
            m->body.reset(wstr_dup(u"1"));
            m->nparams = -1;
        }
    }
    if (options.suppress_predefined >= 2) return 0;
    int nparams = -2;
    for (const char* const* n = dynamic_names; *n != nullptr; ++n) install(*n)->nparams = nparams--;
    char text[64] = "??? ??? ?? ??:??:?? ????\n";
    const char* clock = start_up_clock_text(text);
    macro_def* date = install("__DATE__");
    date->body.reset(quoted_clock_text(clock, 4, 7, 20, 4));
    date->nparams = -1;
    macro_def* time = install("__TIME__");
    time->body.reset(quoted_clock_text(clock, 11, 8, 0, 0));
    time->nparams = -1;
    return 0;
}
