// The macros defined before the options are read: __STDC__, the dynamic
// __LINE__ and __FILE__, and __DATE__ / __TIME__ fixed from the clock.
#include "cpp/predefined.h"

#include <cstdio>
#include <ctime>

#include "common/alloc.h"
#include "cpp/macro_table.h"
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

// The C library's ctime text of the moment, "Www Mmm dd hh:mm:ss yyyy\n" in
// local time, made here because not every C library pads a day below 10
// with a blank (Windows' pads it with a zero).
void format_clock(std::time_t now, char (&text)[32]) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::tm* t = std::localtime(&now);
    if (t == nullptr || t->tm_wday < 0 || t->tm_wday > 6 || t->tm_mon < 0 || t->tm_mon > 11) {
        std::snprintf(text, sizeof text, "??? ??? ?? ??:??:?? ????\n");
        return;
    }
    std::snprintf(text, sizeof text, "%s %s%3d %02d:%02d:%02d %d\n", days[t->tm_wday],
                  months[t->tm_mon], t->tm_mday, t->tm_hour, t->tm_min, t->tm_sec,
                  1900 + t->tm_year);
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
    char clock[32];
    format_clock(std::time(nullptr), clock);
    macro_def* date = install("__DATE__");
    date->body.reset(quoted_clock_text(clock, 4, 7, 20, 4));
    date->nparams = -1;
    macro_def* time = install("__TIME__");
    time->body.reset(quoted_clock_text(clock, 11, 8, 0, 0));
    time->nparams = -1;
    return 0;
}
