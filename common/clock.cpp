#include "common/clock.h"

#include "common/platform.h"

namespace kj {

ShortDateTime shortDateTime(const std::tm& when)
{
    const auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    return {std::to_string(when.tm_year + 1900) + "/" + std::to_string(when.tm_mon + 1) + "/" +
                std::to_string(when.tm_mday),
            std::to_string(when.tm_hour) + ":" + two(when.tm_min) + ":" + two(when.tm_sec)};
}

ShortDateTime shortDateTimeNow()
{
    return shortDateTime(platform::localTime(std::time(nullptr)));
}

} // namespace kj
