#include "platform/Clock.h"

#include <cstdio>

namespace velmar {

namespace {

// Our own names: strftime would follow the user's locale.
constexpr const char* WeekdayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::tm LocalTime(std::time_t when) {
    std::tm tm{};
    if (!localtime_r(&when, &tm)) {
        std::time_t zero = 0;
        localtime_r(&zero, &tm);
    }
    return tm;
}

// Days, hours, minutes and seconds in range for the fixed layouts.
int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

std::time_t CurrentTime() { return std::time(nullptr); }

std::string HeaderDateText(std::time_t when) {
    std::tm tm = LocalTime(when);
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d\n", WeekdayNames[Clamp(tm.tm_wday, 0, 6)],
                  MonthNames[Clamp(tm.tm_mon, 0, 11)], tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  tm.tm_year + 1900);
    return text;
}

std::string FileInfoTimeText(std::time_t when) {
    std::tm tm = LocalTime(when);
    char text[64];
    std::snprintf(text, sizeof text, "%s %02d %02d:%02d:%02d %d", MonthNames[Clamp(tm.tm_mon, 0, 11)],
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_year + 1900);
    return text;
}

}  // namespace velmar
