#include "common/clock.h"

#include <gtest/gtest.h>

namespace {
std::tm at(int year, int month, int day, int hour, int minute, int second)
{
    std::tm t{};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
    t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second;
    return t;
}
} // namespace

TEST(ShortDateTime, ChineseShortFormsWithoutLeadingZerosOnDayMonthAndHour)
{
    const kj::ShortDateTime early = kj::shortDateTime(at(2026, 1, 5, 9, 3, 7));
    EXPECT_EQ(early.date, "2026/1/5");
    EXPECT_EQ(early.time, "9:03:07");
    const kj::ShortDateTime late = kj::shortDateTime(at(2026, 12, 17, 23, 40, 59));
    EXPECT_EQ(late.date + "/" + late.time, "2026/12/17/23:40:59");
}
