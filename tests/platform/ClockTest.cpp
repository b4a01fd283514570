#include "platform/Clock.h"

#include <clocale>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "tests/support/UtcTime.h"

namespace velmar {
namespace {

class ClockTest : public ::testing::Test {
protected:
    void SetZone(const char* zone) {
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    void TearDown() override {
        ::unsetenv("TZ");
        ::tzset();
    }
};

TEST_F(ClockTest, HeaderDateHasTwoDigitDaysAndEndsWithALineFeed) {
    SetZone("UTC0");
    std::time_t t = test::UtcTime(2026, 12, 7, 5, 55, 1);
    EXPECT_EQ(HeaderDateText(t), "Mon Dec 07 05:55:01 2026\n");
    EXPECT_EQ(HeaderDateText(t).size(), 25u);
    EXPECT_EQ(HeaderDateText(test::UtcTime(2027, 1, 31, 23, 59, 59)), "Sun Jan 31 23:59:59 2027\n");
}

TEST_F(ClockTest, FileInfoTimeIsLocalTime) {
    SetZone("UTC0");
    EXPECT_EQ(FileInfoTimeText(test::UtcTime(2026, 12, 1, 10, 0, 0)), "Dec 01 10:00:00 2026");
    // Three hours east of UTC, written the POSIX way so no zone data is needed.
    SetZone("XYZ-3");
    EXPECT_EQ(FileInfoTimeText(test::UtcTime(2026, 12, 31, 22, 30, 0)), "Jan 01 01:30:00 2027");
    EXPECT_EQ(HeaderDateText(test::UtcTime(2026, 12, 31, 22, 30, 0)), "Fri Jan 01 01:30:00 2027\n");
}

TEST_F(ClockTest, NamesStayEnglishUnderAnotherLocale) {
    SetZone("UTC0");
    // Whatever locale the user runs, strftime-style names must not leak in.
    const char* old = std::setlocale(LC_TIME, nullptr);
    std::string saved = old ? old : "C";
    std::setlocale(LC_TIME, "de_DE.UTF-8");
    EXPECT_EQ(FileInfoTimeText(test::UtcTime(2026, 3, 5, 1, 2, 3)), "Mar 05 01:02:03 2026");
    std::setlocale(LC_TIME, saved.c_str());
}

}  // namespace
}  // namespace velmar
