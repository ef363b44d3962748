#include "design/gb50010_2010.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

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

// Steps tried while the depth of the bars settles. Each step deepens the
// bar centroid to one of finitely many arrangements, so a few suffice; a
// depth still moving after this many is reported as a failed section.
constexpr int kMaxDepthSteps = 100;

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

Rules makeRules(double Fy, double C, double fyv, FloorKind floors)
{
    Rules r;
    r.concrete = concreteGrade(C);
    r.steel = steelGrade(Fy);
    r.xib = balancedDepthRatio(r.concrete.beta1, r.steel.fy, r.steel.Es, r.concrete.epsCu);
    if (fyv != 270 && fyv != 300 && fyv != 360 && fyv != 435)
        throw Failure("箍筋强度设计值 fyv=" + shortestDecimal(fyv) + " 不是 GB50010-2010 的钢筋: 应为 270 或 360");
    r.fyv = std::min(fyv, 360.0); // 4.2.3: not above 360 in shear
    r.floors = floors;
    return r;
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

double barCentroidDepth(const BarArrangement& bars, double cover)
{
    // Bars of each layer: the continuous ones fill the outer layer first.
    const double outerContinuous = std::min(bars.outer, bars.n);
    const double outerAdditional = std::max(0.0, std::min(bars.outer - outerContinuous, bars.k));
    const double innerContinuous = bars.n - outerContinuous;
    const double innerAdditional = bars.k - outerAdditional;

    double outerLargest = 0;
    if (outerContinuous > 0) outerLargest = bars.d;
    if (outerAdditional > 0) outerLargest = std::max(outerLargest, bars.e);
    const double largest = std::max(bars.d, bars.k > 0 ? bars.e : 0.0);
    const double face = std::max(cover, outerLargest); // 8.2.1-1: cover not below the bar
    const double innerFace = face + outerLargest + std::max(25.0, largest); // 9.2.1-3

    double moment = 0, area = 0;
    auto add = [&](double count, double d, double faceLine) {
        if (count <= 0 || d <= 0) return;
        const double a = count * d * d;
        area += a;
        moment += a * (faceLine + d / 2);
    };
    add(outerContinuous, bars.d, face);
    add(outerAdditional, bars.e, face);
    add(innerContinuous, bars.d, innerFace);
    add(innerAdditional, bars.e, innerFace);
    if (area <= 0) return std::max(cover, bars.d) + bars.d / 2;
    return moment / area;
}

BeamFlexure designBeamFlexure(double M, double b, double h, double cover, const Rules& rules,
                              const BarArranger& arrange)
{
    BeamFlexure r;
    r.M = std::fabs(M);
    const double Mn = 1e6 * r.M;
    r.asComp = std::max(cover, 25.0) + 12.5;
    r.AsMin = beamMinimumSteelRatio(rules.concrete.ft, rules.steel.fy) * b * h;
    auto fail = [&] {
        r.failed = true;
        r.layers = 0;
        r.As = kFailedArea;
        r.AsComp = r.steel.AsComp;
        r.bars = arrange(kFailedArea);
        return r;
    };
    if (!(b > 0) || !(h > 0) || !std::isfinite(Mn) || !std::isfinite(cover)) return fail();

    // Start from one layer of the smallest bar; each design that needs
    // deeper bars is redone with their centroid, so the depth used is never
    // above the depth of the bars finally chosen.
    r.as = std::max(cover, 10.0) + 5;
    for (int step = 0;; ++step) {
        if (step == kMaxDepthSteps) return fail();
        r.h0 = h - r.as;
        if (!(r.h0 > r.asComp)) return fail();
        r.steel = flexureSteel(Mn, b, r.h0, r.asComp, rules);
        r.As = std::max(r.steel.As, r.AsMin);
        r.AsComp = r.steel.AsComp;
        r.minimumGoverns = r.AsMin >= r.steel.As;
        if (!(r.As <= kBeamMaxSteelRatio * b * h)) return fail();
        r.bars = arrange(r.As);
        r.layers = r.bars.second > 0 ? 2 : 1;
        const double depth = barCentroidDepth(r.bars, cover);
        if (depth <= r.as + 1e-9) break;
        r.as = depth;
    }
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

double concreteShear(double b, double h0, const Rules& rules) { return 0.7 * rules.concrete.ft * b * h0; }

double minimumStirrupRatio(const Rules& rules) { return 0.24 * rules.concrete.ft / rules.fyv; }

BeamShear designBeamShear(double V, double b, double h, double h0, bool compressionSteel, const Rules& rules,
                          const StirrupChoice& choice)
{
    BeamShear r;
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
    r.Vc = concreteShear(b, h0, rules) / 1000;
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
    double d = std::max(typed, r.limits.dMin);
    double s = r.limits.sMax;
    if (r.asvs > 0) {
        auto spacingFor = [&](double dia) { return r.stirrups.legs * kQuarterPi * dia * dia / r.asvs; };
        s = spacingFor(d);
        while (s < 100 && d + 2 <= 50) {
            d += 2;
            s = spacingFor(d);
        }
        s = std::min(s, r.limits.sMax);
    }
    s = std::floor(s / kStirrupSpacingStep) * kStirrupSpacingStep;
    if (s < kStirrupSpacingStep) return tooSmall();
    r.stirrups.diameter = toIndex(d);
    r.stirrups.spacing = toIndex(s);
    return r;
}

BeamSupport designBeamSupport(double M, double V, double b, double h, double cover, const Rules& rules,
                              const BarArranger& arrangeTop, const StirrupChoice& choice)
{
    BeamSupport r;
    r.flexure = designBeamFlexure(M, b, h, cover, rules, arrangeTop);
    // A failed flexure still gets its stirrups, with the one-layer depth.
    const double h0 = r.flexure.failed ? h - (std::max(cover, 10.0) + 5) : r.flexure.h0;
    r.shear = designBeamShear(V, b, h, h0, r.flexure.AsComp > 0, rules, choice);
    return r;
}

BeamFlexure designBeamSpan(double M, double b, double h, double cover, const Rules& rules,
                           const BarArranger& arrangeBottom)
{
    return designBeamFlexure(M, b, h, cover, rules, arrangeBottom);
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

namespace {

ColumnEnd designColumnEnd(double M, double N, double factor, double b, double h, double l0, const Rules& rules)
{
    ColumnEnd r;
    r.M = std::fabs(M);
    r.N = N;
    r.as = kColumnSteelDepth;
    r.h0 = h - r.as;
    auto fail = [&](ColumnFailure why) {
        r.failure = why;
        r.As = kFailedArea;
        return r;
    };
    if (!(b > 0) || !(h > 2 * r.as) || !std::isfinite(r.M) || !std::isfinite(l0)) return fail(ColumnFailure::BadSection);
    if (!(N > 0) || !std::isfinite(N)) return fail(ColumnFailure::Tension);
    const double Nn = 1000 * N;
    r.Mdesign = factor * r.M;
    r.e0 = 1e6 * r.Mdesign / Nn;
    r.ea = additionalEccentricity(h);
    r.ei = r.e0 + r.ea;
    r.section = symmetricEccentricCompression(Nn, r.ei, b, h, r.as, rules);

    // 8.5.1: 0.2 % of b h on each side; the total minimum carried by the two faces.
    const double A = b * h;
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
    if (!(2 * r.As <= kColumnMaxSteelRatio * A)) return fail(ColumnFailure::OverReinforced);
    return r;
}

} // namespace

ColumnDesign designColumn(double Mtop, double Mfoot, double Ntop, double Nfoot, double b, double h, double H,
                          bool bottomStorey, const Rules& rules)
{
    ColumnDesign r;
    r.l0 = columnEffectiveLengthFactor(bottomStorey, rules.floors) * H;
    // The end of the larger moment carries M2; equal moments: the foot, with
    // the larger axial force.
    r.topIsM2 = std::fabs(Mtop) > std::fabs(Mfoot);
    const double M2 = r.topIsM2 ? std::fabs(Mtop) : std::fabs(Mfoot);
    const double N2 = r.topIsM2 ? Ntop : Nfoot;
    const double h0 = h - kColumnSteelDepth;
    if (N2 > 0 && b > 0 && h0 > kColumnSteelDepth && std::isfinite(M2) && std::isfinite(r.l0))
        r.secondOrder = memberSecondOrder(endMomentRatio(Mtop, Mfoot), 1e6 * M2, 1000 * N2, b, h, h0,
                                          1000 * r.l0, rules);
    const double factor = r.secondOrder.factor;
    r.top = designColumnEnd(Mtop, Ntop, r.topIsM2 ? factor : 1.0, b, h, r.l0, rules);
    r.foot = designColumnEnd(Mfoot, Nfoot, r.topIsM2 ? 1.0 : factor, b, h, r.l0, rules);
    return r;
}

} // namespace kj::gb2010
