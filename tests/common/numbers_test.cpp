#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kj;

TEST(NumberValue, ReadsTheLeadingNumberIgnoringBlanks)
{
    EXPECT_EQ(numberValue(".25"), 0.25);
    EXPECT_EQ(numberValue(" 20"), 20);
    EXPECT_EQ(numberValue("P"), 0);
    EXPECT_EQ(numberValue(""), 0);
    EXPECT_EQ(numberValue(" 50.0"), 50);
    EXPECT_EQ(numberValue("6.003.60"), 6.003);
    EXPECT_EQ(numberValue("1 2 3"), 123);
    EXPECT_EQ(numberValue("- 4.5x"), -4.5);
    EXPECT_EQ(numberValue("+7"), 7);
    EXPECT_EQ(numberValue("   50P"), 50);
    EXPECT_EQ(numberValue("*1P"), 0);
    EXPECT_EQ(numberValue("."), 0);
    EXPECT_EQ(numberValue("-"), 0);
    EXPECT_EQ(numberValue("25h+1.9"), 25);
}

TEST(NumberValue, ReadsExponentsAndStopsAtAnIncompleteOne)
{
    EXPECT_EQ(numberValue("1E3"), 1000);
    EXPECT_EQ(numberValue("1.5e-2"), 0.015);
    EXPECT_EQ(numberValue("2D2"), 200);
    EXPECT_EQ(numberValue("3E"), 3);
    EXPECT_EQ(numberValue("3E+"), 3);
    EXPECT_EQ(numberValue("E5"), 0);
    // Out of range: saturates rather than giving infinity.
    EXPECT_TRUE(std::isfinite(numberValue("1E999")));
    EXPECT_GT(numberValue("1E999"), 1e300);
    EXPECT_EQ(numberValue("1E-999"), 0);
}

TEST(Rounding, HalvesGoToEven)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_FALSE(std::signbit(roundHalfEven(-0.5)));
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(-79.6), -80);
    EXPECT_EQ(roundHalfEven2(2.345000001), 2.35);
    EXPECT_EQ(roundHalfEven2(0.125), 0.12);
    EXPECT_EQ(roundHalfEven2(0.375), 0.38);
    EXPECT_EQ(roundHalfEven2(3), 3);
    EXPECT_EQ(indexValue("2.5"), 2);
    EXPECT_EQ(indexValue("3.5"), 4);
    EXPECT_EQ(indexValue("x"), 0);
}

TEST(ShortestDecimal, WritesPlainDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(shortestDecimal(1), "1");
    EXPECT_EQ(shortestDecimal(1.0), "1");
    EXPECT_EQ(shortestDecimal(0.5), "0.5");
    EXPECT_EQ(shortestDecimal(-0.5), "-0.5");
    EXPECT_EQ(shortestDecimal(-48), "-48");
    EXPECT_EQ(shortestDecimal(2.35), "2.35");
    EXPECT_EQ(shortestDecimal(0.25), "0.25");
    EXPECT_EQ(shortestDecimal(-0.0), "0");
    EXPECT_EQ(shortestDecimal(1200), "1200");
    EXPECT_EQ(shortestDecimal(0.1 + 0.2), "0.3"); // 15 significant digits
    EXPECT_EQ(shortestDecimal(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(shortestDecimal(-123.456789012345678), "-123.456789012346");
    EXPECT_EQ(shortestDecimal(0.000125), "0.000125");
    EXPECT_EQ(shortestDecimal(123456789012345), "123456789012345");
    EXPECT_EQ(shortestDecimal(1e20), "1E+20");
}

TEST(ReportNumber, LeadingBlankOrMinusAndTrailingBlank)
{
    EXPECT_EQ(reportNumber(0.25), " .25 ");
    EXPECT_EQ(reportNumber(0.5), " .5 ");
    EXPECT_EQ(reportNumber(-0.45), "-.45 ");
    EXPECT_EQ(reportNumber(0), " 0 ");
    EXPECT_EQ(reportNumber(-0.0), " 0 ");
    EXPECT_EQ(reportNumber(-80), "-80 ");
    EXPECT_EQ(reportNumber(612), " 612 ");
    EXPECT_EQ(reportNumber(2.35), " 2.35 ");
    // A negative number takes as many characters as a positive one.
    EXPECT_EQ(reportNumber(-95).size(), reportNumber(95).size());
}
