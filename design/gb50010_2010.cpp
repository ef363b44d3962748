#include "design/gb50010_2010.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

namespace kj::gb2010 {

namespace {

constexpr double kQuarterPi = std::numbers::pi / 4;

// Table 4.1.4-1 and 4.1.4-2, C15 ... C80.
struct GradeStrength {
    double fc, ft;
};
constexpr GradeStrength kGrades[14] = {
    {7.2, 0.91},  {9.6, 1.10},  {11.9, 1.27}, {14.3, 1.43}, {16.7, 1.57}, {19.1, 1.71}, {21.1, 1.80},
    {23.1, 1.89}, {25.3, 1.96}, {27.5, 2.04}, {29.7, 2.09}, {31.8, 2.14}, {33.8, 2.18}, {35.9, 2.22},
};

// Share of the way from C50 to C80, 0 up to C50.
double aboveC50(int grade) { return grade <= 50 ? 0.0 : (grade - 50) / 30.0; }

// Sets of bars tried, from the lightest up, for the one that holds the steel
// its own h0 needs. They are finitely many, each heavier than the one before,
// so the search ends; a section still short after this many is reported as
// failed.
constexpr int kMaxDepthSteps = 2000;

int legsByWidth(double b) { return b < 100 ? 1 : b < 350 ? 2 : b < 650 ? 4 : 6; }

} // namespace

// ---------------------------------------------------------------- materials

double blockStressFactor(int grade) { return 1.0 - 0.06 * aboveC50(grade); }
double blockDepthFactor(int grade) { return 0.8 - 0.06 * aboveC50(grade); }
double ultimateConcreteStrain(int grade) { return std::min(0.0033, 0.0033 - (grade - 50) * 1e-5); }
double shearStrengthFactor(int grade) { return 1.0 - 0.2 * aboveC50(grade); }

Concrete concreteGrade(double C)
{
    const double index = (C - 15) / 5;
    if (!std::isfinite(C) || index < -1e-9 || index > 13 + 1e-9 || std::fabs(index - std::round(index)) > 1e-9)
        throw Failure("GB50010-2010 没有混凝土强度等级 C" + shortestDecimal(C) +
                      ": 应为 C15 至 C80 中 5 的倍数");
    Concrete c;
    c.grade = 15 + 5 * static_cast<int>(std::round(index));
    const GradeStrength& s = kGrades[static_cast<int>(std::round(index))];
    c.fc = s.fc;
    c.ft = s.ft;
    c.alpha1 = blockStressFactor(c.grade);
    c.beta1 = blockDepthFactor(c.grade);
    c.epsCu = ultimateConcreteStrain(c.grade);
    c.betaC = shearStrengthFactor(c.grade);
    return c;
}

Steel steelGrade(double Fy)
{
    // name, fy, fy', fy' axial, Es, least total column ratio (8.5.1: the
    // 300 MPa row covers HPB300 and HRB335).
    static const Steel kSteels[] = {
        {"HPB300", 270, 270, 270, 2.1e5, 0.006},
        {"HRB335", 300, 300, 300, 2.0e5, 0.006},
        {"HRB400", 360, 360, 360, 2.0e5, 0.0055},
        {"HRB500", 435, 435, 400, 2.0e5, 0.005},
    };
    for (const Steel& s : kSteels)
        if (Fy == s.fy) return s;
    throw Failure("钢筋强度设计值 Fy=" + shortestDecimal(Fy) +
                  " 不是 GB50010-2010 的钢筋: 应为 270 (HPB300)、300 (HRB335)、360 (HRB400) 或 435 (HRB500)");
}

double balancedDepthRatio(double beta1, double fy, double Es, double epsCu)
{
    return beta1 / (1 + fy / (Es * epsCu));
}

Rules makeRules(double Fy, double C, double fyv, FloorKind floors, EnvironmentClass environment)
{
    Rules r;
    r.concrete = concreteGrade(C);
    r.steel = steelGrade(Fy);
    r.xib = balancedDepthRatio(r.concrete.beta1, r.steel.fy, r.steel.Es, r.concrete.epsCu);
    if (fyv != 270 && fyv != 300 && fyv != 360 && fyv != 435)
        throw Failure("箍筋强度设计值 fyv=" + shortestDecimal(fyv) + " 不是 GB50010-2010 的钢筋: 应为 270 或 360");
    r.fyv = std::min(fyv, 360.0); // 4.2.3: not above 360 in shear
    r.floors = floors;
    r.environment = environment;
    return r;
}

double minimumCover(EnvironmentClass environment, int grade)
{
    const double base = environment == EnvironmentClass::TwoB ? 35 : environment == EnvironmentClass::TwoA ? 25 : 20;
    return base + (grade <= 25 ? 5 : 0); // Table 8.2.1 note 1
}

const char* environmentName(EnvironmentClass environment)
{
    switch (environment) {
    case EnvironmentClass::TwoA: return "二a";
    case EnvironmentClass::TwoB: return "二b";
    case EnvironmentClass::One: break;
    }
    return "一类";
}

void checkCover(double cover, const Rules& rules)
{
    const double least = minimumCover(rules.environment, rules.concrete.grade);
    if (!(cover >= least))
        throw Failure("保护层 " + shortestDecimal(cover) + " mm 小于 GB50010-2010 第 8.2.1 条环境类别" +
                      environmentName(rules.environment) + "、C" + std::to_string(rules.concrete.grade) +
                      " 梁柱的最小保护层 " + shortestDecimal(least) + " mm (保护层从箍筋外缘算起)");
}

// -------------------------------------------------------------------- beams

double beamMinimumSteelRatio(double ft, double fy) { return std::max(0.002, 0.45 * ft / fy); }

FlexureSteel flexureSteel(double M, double b, double h0, double asComp, const Rules& rules)
{
    FlexureSteel r;
    const Concrete& c = rules.concrete;
    const double a1fcb = c.alpha1 * c.fc * b;
    r.alphaS = M / (a1fcb * h0 * h0);
    const double xi = r.alphaS <= 0.5 ? 1 - std::sqrt(1 - 2 * r.alphaS) : INFINITY;
    if (xi <= rules.xib) { // 6.2.10-1, -2 with As' = 0
        r.xi = xi;
        r.x = xi * h0;
        r.As = a1fcb * r.x / rules.steel.fy;
        return r;
    }
    // Compression steel carries what the balanced concrete zone cannot.
    r.doubly = true;
    r.xi = rules.xib;
    r.x = rules.xib * h0;
    const double concreteMoment = a1fcb * r.x * (h0 - r.x / 2);
    r.AsComp = (M - concreteMoment) / (rules.steel.fyc * (h0 - asComp));
    r.As = (a1fcb * r.x + rules.steel.fyc * r.AsComp) / rules.steel.fy;
    if (r.x < 2 * asComp) { // 6.2.10-4 not met: 6.2.14, moments about the compression steel
        r.xBelow2as = true;
        r.As = M / (rules.steel.fy * (h0 - asComp));
    }
    return r;
}

const char* beamGoverningText(BeamGoverning g)
{
    switch (g) {
    case BeamGoverning::Minimum: return "最小配筋率 (8.5.1)";
    case BeamGoverning::CompressionSteel: return "ξ>ξb, 配受压钢筋 (6.2.10)";
    case BeamGoverning::CompressionSteelBelow2as: return "配受压钢筋且 x<2as', 对受压钢筋取矩 (6.2.14)";
    case BeamGoverning::SectionLimit: return "截面限值";
    case BeamGoverning::Flexure: break;
    }
    return "受弯 ξ≤ξb (6.2.10)";
}

BeamFlexure designBeamFlexure(double M, double b, double h, double cover, double stirrup, const Rules& rules,
                              const BarArranger& arrange)
{
    BeamFlexure r;
    r.M = std::fabs(M);
    const double Mn = 1e6 * r.M;
    r.asComp = cover + stirrup + 12.5;
    r.AsMin = beamMinimumSteelRatio(rules.concrete.ft, rules.steel.fy) * b * h;
    const double AsMax = kBeamMaxSteelRatio * b * h;
    // bars: those the reason names; by default the bars for the flag's area.
    auto fail = [&](const std::string& why, const std::optional<BarArrangement>& bars = std::nullopt) {
        r.failed = true;
        r.failure = why;
        r.governs = BeamGoverning::SectionLimit;
        r.layers = 0;
        r.As = kFailedArea;
        r.AsComp = r.steel.AsComp;
        r.bars = bars ? *bars : arrange(kFailedArea);
        return r;
    };
    // The steel needed at the depth as of the bars; false when the section cannot take it.
    auto needAt = [&](double as) {
        r.as = as;
        r.h0 = h - as;
        if (!(r.h0 > r.asComp)) return false;
        r.steel = flexureSteel(Mn, b, r.h0, r.asComp, rules);
        r.As = std::max(r.steel.As, r.AsMin);
        r.AsComp = r.steel.AsComp;
        return r.As <= AsMax;
    };
    r.as = cover + stirrup + 5;
    r.h0 = h - r.as;
    if (!(b > 0) || !(h > 0) || !std::isfinite(Mn) || !std::isfinite(cover)) return fail("截面尺寸或弯矩不是有效数值");
    const std::string tooMuch = "受拉钢筋超过 4% b h";
    const std::string tooShallow = "截面高度放不下受拉和受压钢筋";
    // One layer of a thin bar first: no bars of 10 mm or more lie shallower,
    // so none need less.
    if (!needAt(r.as)) return fail(r.h0 > r.asComp ? tooMuch : tooShallow);
    // The bars in the order of their area, from the least that could do:
    // the first that holds the steel its own h0 needs. A larger moment needs
    // more of every set, so it never gets less steel.
    double target = r.As;
    for (int step = 0;; ++step) {
        if (step == kMaxDepthSteps) return fail("钢筋排列不收敛");
        const BarArrangement bars = arrange(target);
        if (bars.tooMany) {
            const std::string text = barString(bars, BarPosition::Top);
            std::string why = "钢筋 " + text.substr(0, text.find(' ')) + " 超过截面宽度三排所能容纳 (9.2.1)";
            if (bars.widthNeeded > 0)
                why += ", 需梁宽 " + shortestDecimal(std::ceil(bars.widthNeeded)) + " mm, 梁宽 " + shortestDecimal(b) + " mm";
            return fail(why, bars);
        }
        if (!needAt(barCentroidDepth(bars, cover, stirrup))) return fail(r.h0 > r.asComp ? tooMuch : tooShallow);
        if (barArea(bars) >= r.As) {
            r.bars = bars;
            break;
        }
        target = std::nextafter(barArea(bars), INFINITY);
    }
    // The lighter bars chosen for the final As alone lie deeper and hold too
    // little for their own h0.
    r.heavierLayout = barString(arrange(r.As), BarPosition::Top) != barString(r.bars, BarPosition::Top);
    r.layers = r.bars.third > 0 ? 3 : r.bars.second > 0 ? 2 : 1;
    r.minimumGoverns = r.AsMin >= r.steel.As;
    r.governs = r.minimumGoverns         ? BeamGoverning::Minimum
                : r.steel.xBelow2as      ? BeamGoverning::CompressionSteelBelow2as
                : r.steel.doubly         ? BeamGoverning::CompressionSteel
                                         : BeamGoverning::Flexure;
    return r;
}

StirrupLimits stirrupLimits(double h, bool aboveConcreteShare, bool compressionSteel)
{
    StirrupLimits l;
    if (h <= 300) l.sMax = aboveConcreteShare ? 150 : 200;
    else if (h <= 500) l.sMax = aboveConcreteShare ? 200 : 300;
    else if (h <= 800) l.sMax = aboveConcreteShare ? 250 : 350;
    else l.sMax = aboveConcreteShare ? 300 : 400;
    l.dMin = h > 800 ? 8 : 6;
    if (compressionSteel) { // 9.2.9-4, compression bars of 12 to 25 mm
        l.dMin = std::max(l.dMin, 8.0);
        l.sMax = std::min(l.sMax, 15 * 12.0);
    }
    return l;
}

double shearSectionLimit(double b, double h0, const Rules& rules)
{
    const double ratio = h0 / b; // hw / b of a rectangular section
    double factor = 0.25;
    if (ratio >= 6) factor = 0.2;
    else if (ratio > 4) factor = 0.25 - 0.025 * (ratio - 4);
    return factor * rules.concrete.betaC * rules.concrete.fc * b * h0;
}

double concreteShear(double b, double h0, const Rules& rules, double alphaCv)
{
    return alphaCv * rules.concrete.ft * b * h0;
}

double concentratedLoadShearFactor(double a, double h0)
{
    const double lambda = std::clamp(a / h0, 1.5, 3.0);
    return 1.75 / (lambda + 1);
}

double minimumStirrupRatio(const Rules& rules) { return 0.24 * rules.concrete.ft / rules.fyv; }

Stirrups chooseStirrupSpacing(double asvs, int legs, double dStart, double sMax, double step)
{
    double d = dStart;
    double s = sMax;
    if (asvs > 0) {
        auto spacingFor = [&](double dia) { return legs * kQuarterPi * dia * dia / asvs; };
        s = spacingFor(d);
        while (s < 100 && d + 2 <= 50) {
            d += 2;
            s = spacingFor(d);
        }
        s = std::min(s, sMax);
    }
    s = std::floor(s / step) * step;
    if (!(s >= step)) return {legs, toIndex(d), 0};
    return {legs, toIndex(d), toIndex(s)};
}

BeamShear designBeamShear(double V, double b, double h, double h0, bool compressionSteel, const Rules& rules,
                          const StirrupChoice& choice, double alphaCv, bool seismic)
{
    BeamShear r;
    r.alphaCv = alphaCv;
    r.V = std::fabs(V);
    r.h0 = h0;
    r.stirrups.legs = std::max(legsByWidth(b), choice.minLegs);
    auto tooSmall = [&] { // as the program always flagged it: 32@50
        r.tooSmall = true;
        r.stirrups.diameter = 32;
        r.stirrups.spacing = 50;
        return r;
    };
    if (!(b > 0) || !(h0 > 0) || !std::isfinite(r.V)) return tooSmall();
    const double Vn = 1000 * r.V;
    r.hwOverB = h0 / b;
    r.limit = shearSectionLimit(b, h0, rules) / 1000;
    r.Vc = concreteShear(b, h0, rules, alphaCv) / 1000;
    if (seismic) {
        r.limit = 0.20 * rules.concrete.betaC * rules.concrete.fc * b * h0 / 1000; // 11.3.3-1
        r.Vc *= 0.6;                                                                 // 11.3.4
    }
    if (Vn > 1000 * r.limit) return tooSmall();

    const bool above = r.V > r.Vc;
    r.byDetailing = !above;
    r.limits = stirrupLimits(h, above, compressionSteel);
    if (above) {
        r.asvsRequired = (Vn - 1000 * r.Vc) / (rules.fyv * h0);
        r.asvsMinimum = minimumStirrupRatio(rules) * b;
    }
    r.asvs = std::max(r.asvsRequired, r.asvsMinimum);

    // A typed starting diameter counts between 9.2.9's least one and 50 mm.
    const double typed = choice.startDiameter > 0 ? std::min(choice.startDiameter, 50.0) : 0.0;
    const Stirrups chosen = chooseStirrupSpacing(r.asvs, r.stirrups.legs, std::max(typed, r.limits.dMin), r.limits.sMax);
    if (chosen.spacing == 0) return tooSmall();
    r.stirrups = chosen;
    return r;
}

double startingStirrup(double h, const StirrupChoice& choice)
{
    const double typed = choice.startDiameter > 0 ? std::min(choice.startDiameter, 50.0) : 0.0;
    return std::max(typed, stirrupLimits(h, true, false).dMin);
}

BeamSupport designBeamSupport(double M, double V, double b, double h, double cover, const Rules& rules,
                              const StirrupBarArranger& arrangeTop, const StirrupChoice& choice, double loadDistance,
                              bool seismic)
{
    BeamSupport r;
    r.stirrup = startingStirrup(h, choice);
    // Thicker stirrups push the bars inwards: the support is designed again
    // inside them (the diameter only grows, so this ends).
    for (int pass = 0; pass < 8; ++pass) {
        const double stirrup = r.stirrup;
        r.flexure = designBeamFlexure(M, b, h, cover, stirrup, rules,
                                      [&](double As) { return arrangeTop(As, stirrup); });
        const double alphaCv =
            loadDistance > 0 ? concentratedLoadShearFactor(loadDistance, r.flexure.h0) : 0.7;
        StirrupChoice atLeast = choice;
        atLeast.startDiameter = std::max(choice.startDiameter, stirrup);
        r.shear = designBeamShear(V, b, h, r.flexure.h0, r.flexure.AsComp > 0, rules, pass == 0 ? choice : atLeast,
                                  alphaCv, seismic);
        if (r.shear.tooSmall || r.shear.stirrups.diameter <= r.stirrup) break;
        r.stirrup = r.shear.stirrups.diameter;
    }
    return r;
}

BeamFlexure designBeamSpan(double M, double b, double h, double cover, double stirrup, const Rules& rules,
                           const BarArranger& arrangeBottom)
{
    return designBeamFlexure(M, b, h, cover, stirrup, rules, arrangeBottom);
}

// ------------------------------------------------------------------ columns

double columnEffectiveLengthFactor(bool bottomStorey, FloorKind floors)
{
    if (floors == FloorKind::Precast) return bottomStorey ? 1.25 : 1.5;
    return bottomStorey ? 1.0 : 1.25;
}

double additionalEccentricity(double h) { return std::max(20.0, h / 30); }

double endMomentRatio(double Mtop, double Mfoot)
{
    const bool topLarger = std::fabs(Mtop) >= std::fabs(Mfoot);
    const double large = topLarger ? Mtop : Mfoot;
    const double small = topLarger ? Mfoot : Mtop;
    if (large == 0) return 1;
    // Opposite signs on the member ends bend the column in one curve.
    return -small / large;
}

SecondOrder memberSecondOrder(double ratio, double M2, double N, double b, double h, double h0, double lc,
                              const Rules& rules)
{
    SecondOrder r;
    r.ratio = ratio;
    const double A = b * h;
    r.axialRatio = N / (rules.concrete.fc * A);
    r.slenderness = lc / (h / std::sqrt(12.0));
    r.slendernessLimit = 34 - 12 * ratio;
    r.required = !(ratio <= 0.9 && r.axialRatio <= 0.9 && r.slenderness <= r.slendernessLimit);
    if (!r.required) return r;
    r.Cm = std::max(0.7, 0.7 + 0.3 * ratio);                      // 6.2.4-2
    r.zetaC = std::min(1.0, 0.5 * rules.concrete.fc * A / N);      // 6.2.4-4
    const double ea = additionalEccentricity(h);
    r.etaNs = 1 + (lc / h) * (lc / h) * r.zetaC / (1300 * (M2 / N + ea) / h0); // 6.2.4-3
    r.factor = std::max(1.0, r.Cm * r.etaNs);                      // 6.2.4-1
    return r;
}

double axialStabilityFactor(double l0OverB)
{
    // Table 6.2.15, l0/b = 8, 10, ... 50.
    static constexpr double kPhi[] = {1.0,  0.98, 0.95, 0.92, 0.87, 0.81, 0.75, 0.70, 0.65, 0.60, 0.56,
                                      0.52, 0.48, 0.44, 0.40, 0.36, 0.32, 0.29, 0.26, 0.23, 0.21, 0.19};
    if (!(l0OverB > 8)) return 1.0;
    if (l0OverB > 50) return 0;
    const double pos = (l0OverB - 8) / 2;
    const int i = std::min(static_cast<int>(pos), 20);
    return kPhi[i] + (kPhi[i + 1] - kPhi[i]) * (pos - i);
}

double columnTotalMinimumRatio(const Rules& rules)
{
    return rules.steel.totalMinRatio + (rules.concrete.grade >= 60 ? 0.001 : 0.0);
}

double symmetricSteelForDepth(double N, double e, double xi, double b, double h0, double as, const Rules& rules)
{
    const double a1fcb = rules.concrete.alpha1 * rules.concrete.fc * b;
    return (N * e - xi * (1 - 0.5 * xi) * a1fcb * h0 * h0) / (rules.steel.fyc * (h0 - as));
}

double smallEccentricityDepth(double N, double e, double b, double h0, double as, const Rules& rules)
{
    const Concrete& c = rules.concrete;
    const double a1fcb = c.alpha1 * c.fc * b;
    const double xib = rules.xib;
    const double denominator =
        (N * e - 0.43 * a1fcb * h0 * h0) / ((c.beta1 - xib) * (h0 - as)) + a1fcb * h0;
    if (!(denominator > 0)) return INFINITY; // the whole section in compression
    return (N - xib * a1fcb * h0) / denominator + xib;
}

SymmetricSection symmetricEccentricCompression(double N, double ei, double b, double h, double as,
                                               const Rules& rules)
{
    SymmetricSection r;
    const double h0 = h - as;
    const double a1fcb = rules.concrete.alpha1 * rules.concrete.fc * b;
    r.e = ei + h / 2 - as;
    r.x = N / a1fcb;
    if (r.x <= rules.xib * h0) { // 6.2.17-1, -2 large eccentricity
        r.large = true;
        r.xi = r.x / h0;
        if (r.x < 2 * as) { // 6.2.14, moments about the compression steel
            r.xBelow2as = true;
            r.As = N * (ei - h / 2 + as) / (rules.steel.fy * (h0 - as));
        } else {
            r.As = symmetricSteelForDepth(N, r.e, r.xi, b, h0, as, rules);
        }
        return r;
    }
    // Small eccentricity; the zone cannot be deeper than the section.
    r.xi = std::min(smallEccentricityDepth(N, r.e, b, h0, as, rules), h / h0);
    r.x = r.xi * h0;
    r.As = symmetricSteelForDepth(N, r.e, r.xi, b, h0, as, rules);
    return r;
}

EccentricTension symmetricEccentricTension(double N, double M, double h, double as, const Rules& rules)
{
    EccentricTension r;
    const double h0 = h - as;
    r.e0 = N > 0 ? M / N : INFINITY;
    r.large = r.e0 > h / 2 - as;
    r.ePrime = r.e0 + h / 2 - as;
    // N e' written as M + N (h/2 - as'), which holds for N = 0 too.
    r.As = (M + N * (h / 2 - as)) / (rules.steel.fy * (h0 - as));
    return r;
}

const char* columnGoverningText(ColumnGoverning g)
{
    switch (g) {
    case ColumnGoverning::Minimum: return "最小配筋率 (8.5.1)";
    case ColumnGoverning::Axial: return "轴心受压验算 (6.2.15)";
    case ColumnGoverning::Tension: return "偏心受拉 (6.2.23)";
    case ColumnGoverning::Section: break;
    }
    return "偏心受压 (6.2.17)";
}

ColumnTieLimits columnTieLimits(double b, double h, double totalSteelRatio)
{
    // Main bars taken as 20 mm, the smallest of them 16 mm.
    constexpr double largestBar = 20, smallestBar = 16;
    ColumnTieLimits l;
    l.dMin = std::max(largestBar / 4, 6.0);
    l.sMax = std::min({400.0, std::min(b, h), 15 * smallestBar});
    if (totalSteelRatio > 0.03) { // 9.3.2-5
        l.dMin = std::max(l.dMin, 8.0);
        l.sMax = std::min({l.sMax, 10 * smallestBar, 200.0});
    }
    return l;
}

ColumnShear designColumnShear(double V, double N, double b, double h, double h0, double Hn, double totalSteelRatio,
                              const Rules& rules, const StirrupChoice& choice, bool seismic)
{
    ColumnShear r;
    r.V = std::fabs(V);
    r.N = N;
    r.h0 = h0;
    // 9.3.2-4: compound ties across a side over 400 mm.
    r.ties.legs = std::max(b > 400 ? 4 : 2, choice.minLegs);
    auto tooSmall = [&] {
        r.tooSmall = true;
        r.ties.diameter = 32;
        r.ties.spacing = 50;
        return r;
    };
    if (!(b > 0) || !(h0 > 0) || !std::isfinite(r.V) || !std::isfinite(N) || !std::isfinite(Hn)) return tooSmall();
    const double ft = rules.concrete.ft, fyv = rules.fyv;
    r.lambda = std::clamp(Hn / (2 * h0), 1.0, 3.0);          // 6.3.12
    r.limit = shearSectionLimit(b, h0, rules) / 1000;         // 6.3.1
    r.Vc = 1.75 / (r.lambda + 1) * ft * b * h0 / 1000;
    double axialShare = 0.07;
    if (seismic) {
        r.limit = (r.lambda > 2 ? 0.20 : 0.15) * rules.concrete.betaC * rules.concrete.fc * b * h0 / 1000; // 11.4.6
        r.Vc = 1.05 / (r.lambda + 1) * ft * b * h0 / 1000;                                                 // 11.4.7
        axialShare = 0.056;
    }
    r.limits = columnTieLimits(b, h, totalSteelRatio);
    if (r.V > r.limit) return tooSmall();
    if (N >= 0) {
        r.Nshare = axialShare * std::min(N, 0.3 * rules.concrete.fc * b * h / 1000); // 6.3.12, 11.4.7
        r.byDetailing = r.V <= r.Vc + r.Nshare;                               // 6.3.13
        if (!r.byDetailing) r.asvsRequired = 1000 * (r.V - r.Vc - r.Nshare) / (fyv * h0);
    } else {
        // 6.3.14: the concrete share less 0.2 N, not below nothing; the ties
        // carry at least 0.36 ft b h0.
        r.Nshare = 0.2 * N;
        const double concrete = std::max(0.0, r.Vc + r.Nshare);
        r.asvsRequired = 1000 * std::max(0.0, r.V - concrete) / (fyv * h0);
        r.asvsMinimum = 0.36 * ft * b / fyv;
    }
    r.asvs = std::max(r.asvsRequired, r.asvsMinimum);

    const double typed = choice.startDiameter > 0 ? std::min(choice.startDiameter, 50.0) : 0.0;
    const Stirrups chosen = chooseStirrupSpacing(r.asvs, r.ties.legs, std::max(typed, r.limits.dMin), r.limits.sMax);
    if (chosen.spacing == 0) return tooSmall();
    r.ties = chosen;
    return r;
}

namespace {

ColumnEnd designColumnEnd(double M, double N, double factor, double b, double h, double l0, double as,
                          const Rules& rules)
{
    ColumnEnd r;
    r.M = std::fabs(M);
    r.N = N;
    r.as = as;
    r.h0 = h - r.as;
    auto fail = [&](ColumnFailure why) {
        r.failure = why;
        r.As = kFailedArea;
        return r;
    };
    if (!(b > 0) || !(h > 2 * r.as) || !std::isfinite(r.M) || !std::isfinite(l0)) return fail(ColumnFailure::BadSection);
    if (!std::isfinite(N)) return fail(ColumnFailure::Tension);
    const double A = b * h;
    r.axialRatio = 1000 * N / (rules.concrete.fc * A);
    if (!(N > 0)) { // 6.2.23, with the 8.5.1 minimum of a member in tension on each side
        r.tension = true;
        r.Mdesign = r.M;
        r.tensionSteel = symmetricEccentricTension(-1000 * N, 1e6 * r.M, h, r.as, rules);
        r.e0 = r.tensionSteel.e0;
        r.ei = r.e0;
        r.AsMin = beamMinimumSteelRatio(rules.concrete.ft, rules.steel.fy) * A;
        r.As = std::max(r.tensionSteel.As, r.AsMin);
        r.minimumGoverns = r.AsMin >= r.tensionSteel.As;
        r.governs = r.minimumGoverns ? ColumnGoverning::Minimum : ColumnGoverning::Tension;
        if (!(2 * r.As <= kColumnMaxSteelRatio * A)) return fail(ColumnFailure::OverReinforced);
        return r;
    }
    const double Nn = 1000 * N;
    r.Mdesign = factor * r.M;
    r.e0 = 1e6 * r.Mdesign / Nn;
    r.ea = additionalEccentricity(h);
    r.ei = r.e0 + r.ea;
    r.section = symmetricEccentricCompression(Nn, r.ei, b, h, r.as, rules);

    // 8.5.1: 0.2 % of b h on each side; the total minimum carried by the two faces.
    r.AsMin = std::max(0.002 * A, columnTotalMinimumRatio(rules) * A / 2);

    // Axial compression across the bending plane (6.2.15), with b as the
    // dimension there and the same effective length.
    r.phi = axialStabilityFactor(1000 * l0 / b);
    if (!(r.phi > 0)) return fail(ColumnFailure::TooSlender);
    const double needed = Nn / (0.9 * r.phi);
    const double fyc = rules.steel.fycAxial;
    const double fc = rules.concrete.fc;
    double total = (needed - fc * A) / fyc;
    if (total > 0.03 * A) total = (needed - fc * A) / (fyc - fc); // net concrete area above 3 %
    r.AsAxial = std::max(0.0, total / 2);

    r.As = std::max({r.section.As, r.AsMin, r.AsAxial});
    r.minimumGoverns = r.AsMin >= r.section.As && r.AsMin >= r.AsAxial;
    r.governs = r.minimumGoverns                  ? ColumnGoverning::Minimum
                : r.AsAxial > r.section.As        ? ColumnGoverning::Axial
                                                  : ColumnGoverning::Section;
    if (!(2 * r.As <= kColumnMaxSteelRatio * A)) return fail(ColumnFailure::OverReinforced);
    return r;
}

} // namespace

ColumnDesign designColumn(double Mtop, double Mfoot, double Ntop, double Nfoot, double b, double h, double H,
                          bool bottomStorey, const Rules& rules, const ColumnSetting& setting)
{
    ColumnDesign r;
    r.l0 = columnEffectiveLengthFactor(bottomStorey, rules.floors) * H;
    r.lc = setting.clearHeight > 0 ? setting.clearHeight : H;
    // The end of the larger moment carries M2; equal moments: the foot, with
    // the larger axial force.
    r.topIsM2 = std::fabs(Mtop) > std::fabs(Mfoot);
    const double M2 = r.topIsM2 ? std::fabs(Mtop) : std::fabs(Mfoot);
    const double N2 = r.topIsM2 ? Ntop : Nfoot;
    const double as = setting.as;
    const double h0 = h - as;
    if (N2 > 0 && b > 0 && h0 > as && std::isfinite(M2) && std::isfinite(r.lc))
        r.secondOrder = memberSecondOrder(endMomentRatio(Mtop, Mfoot), 1e6 * M2, 1000 * N2, b, h, h0,
                                          1000 * r.lc, rules);
    const double factor = r.secondOrder.factor;
    r.top = designColumnEnd(Mtop, Ntop, r.topIsM2 ? factor : 1.0, b, h, r.l0, as, rules);
    r.foot = designColumnEnd(Mfoot, Nfoot, r.topIsM2 ? 1.0 : factor, b, h, r.l0, as, rules);

    // Shear from the end moments (no load along a column); the smaller
    // compression, or the larger tension, goes with it.
    const double V = setting.V ? *setting.V : (Mtop + Mfoot) / H;
    const double N = std::min(Ntop, Nfoot);
    double largestAs = 0;
    for (const ColumnEnd* e : {&r.top, &r.foot})
        if (!e->failed()) largestAs = std::max(largestAs, e->As);
    r.shear = designColumnShear(V, N, b, h, h0, 1000 * r.lc, 2 * largestAs / (b * h), rules, setting.ties,
                                setting.seismic);
    return r;
}

} // namespace kj::gb2010
