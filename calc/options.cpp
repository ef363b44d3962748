#include "calc/options.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <cmath>

namespace kj {

namespace {

std::optional<ChosenBars> chosenBars(const std::string& count, const std::string& diameter)
{
    if (diameter == "zd") return std::nullopt;
    const double n = roundHalfEven(numberValue(count));
    const double d = numberValue(diameter);
    if (n >= 1 && d > 0 && std::isfinite(n) && std::isfinite(d)) return ChosenBars{n, d};
    return std::nullopt;
}

} // namespace

DesignOptions parseDesignOptions(const DesignSettings& s)
{
    DesignOptions o;
    o.beta = numberValue(s.beta);
    if (!(o.beta > 0 && o.beta <= 1)) throw Failure("梁顶负弯矩调幅系数应大于 0 且不大于 1: " + s.beta);
    o.cover = numberValue(s.cover);
    o.topBars = chosenBars(s.topCount, s.topDiameter);
    o.bottomBars = chosenBars(s.bottomCount, s.bottomDiameter);
    const double legs = numberValue(s.stirrupLegs);
    if (legs > 0) o.stirrupLegs = toIndex(legs);
    const double d = numberValue(s.stirrupDiameter);
    if (d > 0) o.stirrupDiameter = d;
    return o;
}

ReportRenewal parseRenewal(const std::string& text)
{
    return numberValue(text) == 1 ? ReportRenewal::Renew : ReportRenewal::Append;
}

} // namespace kj
