#include "common/clock.h"

#include <gtest/gtest.h>

TEST(ShortDateTime, ChineseShortFormsWithoutLeadingZerosOnDayMonthAndHour)
{
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 0;
    when.tm_mday = 5;
    when.tm_hour = 9;
    when.tm_min = 3;
    when.tm_sec = 7;
    const kj::ShortDateTime t = kj::shortDateTime(when);
    EXPECT_EQ(t.date, "2026/1/5");
    EXPECT_EQ(t.time, "9:03:07");
    when.tm_mon = 11;
    when.tm_mday = 17;
    when.tm_hour = 23;
    EXPECT_EQ(kj::shortDateTime(when).date + "/" + kj::shortDateTime(when).time, "2026/12/17/23:03:07");
}
