// The clock and the two time texts the lists carry, in local time with
// English names whatever the locale.
#pragma once

#include <ctime>
#include <string>

namespace velmar {

std::time_t CurrentTime();

// "Mon Dec 07 05:55:01 2026\n": the list header's date, line feed included.
std::string HeaderDateText(std::time_t when);

// "Dec 01 10:00:00 2026": a file's time in the file-info comment.
std::string FileInfoTimeText(std::time_t when);

}  // namespace velmar
