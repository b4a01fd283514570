// A calendar time read as UTC, for tests that fix the clock or a file's time.
#pragma once

#include <ctime>

namespace velmar::test {

inline std::time_t UtcTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return ::timegm(&tm);
}

}  // namespace velmar::test
