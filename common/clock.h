#pragma once
// The date and time as the program writes them into the report's title line
// and the drawing's stamp: the short Chinese forms "2026/12/7" and "9:03:07".
#include <ctime>
#include <string>

namespace kj {

struct ShortDateTime {
    std::string date; // year/month/day, no leading zeros: 2026/12/7
    std::string time; // hour:minutes:seconds, hour without a leading zero: 9:03:07
};

ShortDateTime shortDateTime(const std::tm& when);
ShortDateTime shortDateTimeNow();

} // namespace kj
