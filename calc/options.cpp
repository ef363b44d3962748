#include "calc/options.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <cmath>

namespace kj {

namespace {

// Covers of 200 mm or more are no beam's.
constexpr double kMaxCover = 200;

std::optional<ChosenBars> chosenBars(const std::string& count, const std::string& diameter)
{
    if (diameter == "zd") return std::nullopt;
    const double n = roundHalfEven(numberValue(count));
    const double d = numberValue(diameter);
    if (n >= 1 && d > 0 && std::isfinite(n) && std::isfinite(d)) return ChosenBars{n, d};
    return std::nullopt;
}

// The text without blanks around it, ASCII letters in upper case.
std::string normalised(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    std::string s = text.substr(first, text.find_last_not_of(' ') - first + 1);
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

DesignCode designCode(const std::string& text)
{
    const std::string s = normalised(text);
    if (s == "原方法") return DesignCode::Default;
    if (s == "GB50010-2010" || s == "2010") return DesignCode::Gb50010_2010;
    throw Failure("设计规范应为 原方法 或 GB50010-2010: " + clipForMessage(text));
}

FloorKind floorKind(const std::string& text)
{
    const std::string s = normalised(text);
    if (s == "现浇") return FloorKind::CastInPlace;
    if (s == "装配") return FloorKind::Precast;
    throw Failure("楼盖应为 现浇 或 装配: " + clipForMessage(text));
}

EnvironmentClass environmentClass(const std::string& text)
{
    const std::string s = normalised(text);
    if (s == "1" || s == "一类" || s == "一") return EnvironmentClass::One;
    if (s == "2A" || s == "二A" || s == "二A类") return EnvironmentClass::TwoA;
    if (s == "2B" || s == "二B" || s == "二B类") return EnvironmentClass::TwoB;
    throw Failure("环境类别应为 1 (一类)、2a (二a) 或 2b (二b): " + clipForMessage(text));
}

} // namespace

DesignOptions parseDesignOptions(const DesignSettings& s)
{
    DesignOptions o;
    o.beta = numberValue(s.beta);
    if (!(o.beta > 0 && o.beta <= 1)) throw Failure("梁顶负弯矩调幅系数应大于 0 且不大于 1: " + clipForMessage(s.beta));
    o.cover = numberValue(s.cover);
    // "一般梁" reads as 0; a negative or metre-sized cover is a typing slip.
    if (!(o.cover >= 0 && o.cover < kMaxCover))
        throw Failure("主筋保护层应在 0 到 " + std::to_string(static_cast<int>(kMaxCover)) + " mm 之间: " +
                      clipForMessage(s.cover));
    o.topBars = chosenBars(s.topCount, s.topDiameter);
    o.bottomBars = chosenBars(s.bottomCount, s.bottomDiameter);
    const double legs = numberValue(s.stirrupLegs);
    if (legs > 0) o.stirrupLegs = toIndex(legs);
    const double d = numberValue(s.stirrupDiameter);
    if (d > 0) o.stirrupDiameter = d;

    o.code = designCode(s.code);
    o.fyv = numberValue(s.fyv);
    if (o.fyv != 270 && o.fyv != 360) throw Failure("箍筋强度设计值 fyv 应为 270 或 360: " + clipForMessage(s.fyv));
    o.floors = floorKind(s.floors);
    o.environment = environmentClass(s.environment);
    // 5.4.3: the support moments of a frame beam are redistributed by at
    // most 25 %.
    if (o.code == DesignCode::Gb50010_2010 && o.beta < 0.75)
        throw Failure("GB50010-2010 第 5.4.3 条: 梁端负弯矩调幅系数不应小于 0.75 (调幅不超过 25%): " +
                      clipForMessage(s.beta));
    o.quasiPermanentFactor = numberValue(s.quasiPermanent);
    if (!(o.quasiPermanentFactor >= 0 && o.quasiPermanentFactor <= 1))
        throw Failure("活荷载准永久值系数 ψq 应在 0 到 1 之间: " + clipForMessage(s.quasiPermanent));
    if (o.code == DesignCode::Default && o.fyv != 270)
        throw Failure("箍筋 fyv=" + clipForMessage(s.fyv) + " 只用于 GB50010-2010 规范; 原方法的箍筋按 fyv=210 计算");
    if (o.code == DesignCode::Default && o.floors != FloorKind::CastInPlace)
        throw Failure("装配式楼盖只用于 GB50010-2010 规范; 原方法的柱计算长度按 1.25H (底层) 和 1.5H 计算");
    if (o.code == DesignCode::Default && o.environment != EnvironmentClass::One)
        throw Failure("环境类别 " + clipForMessage(s.environment) +
                      " 只用于 GB50010-2010 规范; 原方法的保护层即主筋保护层选择框的值");
    return o;
}

ReportRenewal parseRenewal(const std::string& text)
{
    return numberValue(text) == 1 ? ReportRenewal::Renew : ReportRenewal::Append;
}

} // namespace kj
