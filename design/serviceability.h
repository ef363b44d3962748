#pragma once
// Serviceability of reinforced concrete beams by GB 50010-2010 (2015
// edition): crack width (7.1.2, 7.1.4), stiffness and deflection (7.2) and
// their limits (3.4.3, 3.4.5). Each function applies one clause, named in
// its comment with its units. The clause functions work in N, mm and N/mm2;
// the span deflection takes the analysis's kN*m, kN*m2, m and rad.
#include "design/design_options.h"

#include <functional>
#include <vector>

namespace kj::gb2010 {

// ------------------------------------------------------------------- limits

// Table 4.1.3-2: ftk of the grade C15 ... C80 (fcu,k in N/mm2), N/mm2.
// Throws Failure for any other grade.
double tensileStrengthCharacteristic(int grade);

// Table 3.4.5, reinforced concrete, crack control grade 3: wlim, mm
// (一类 0.30; 二a, 二b 0.20).
double crackWidthLimit(kj::EnvironmentClass environment);

// Table 3.4.3, floors and roofs: deflection limit of a span l0 (m), mm:
// l0/200 for l0 < 7 m, l0/250 for 7 <= l0 <= 9 m, l0/300 beyond.
double deflectionLimit(double l0);

// --------------------------------------------------------------- crack width

// Table 7.1.2-1: alpha_cr of reinforced concrete members in bending.
inline constexpr double kFlexuralCrackFactor = 1.9;
// Table 7.1.2-2: relative bond factor nu_i of ribbed bars and plain bars.
inline constexpr double kRibbedBarBond = 1.0;
inline constexpr double kPlainBarBond = 0.7;

// Bars of one diameter in the tension zone.
struct BarGroup {
    double count = 0;
    double diameter = 0; // mm
};

// 7.1.2-3: deq = sum(ni di^2) / sum(ni nui di), mm; 0 without bars.
double equivalentBarDiameter(const std::vector<BarGroup>& bars, double bond);

// 7.1.2-4: rho_te = As / Ate with Ate = 0.5 b h of a rectangle (mm, mm2),
// not below 0.01 (7.1.2).
double effectiveTensionRatio(double As, double b, double h);

// 7.1.4-3: sigma_sq = Mq / (0.87 h0 As), N/mm2, for Mq in N*mm; 0 when
// h0 or As is not positive.
double quasiPermanentSteelStress(double Mq, double h0, double As);

// 7.1.2-2: psi = 1.1 - 0.65 ftk / (rho_te sigma_s), limited to 0.2 ... 1.0
// (0.2 where the steel carries no tension).
double strainNonUniformity(double ftk, double rhoTe, double sigmaS);

// 7.1.2: cs, the distance from the edge of the outermost tension bars to
// the tension face, taken as 20 below 20 mm and 65 above 65 mm.
double crackCover(double cs);

// 7.1.2-1: wmax = alpha_cr psi sigma_s / Es (1.9 cs + 0.08 deq / rho_te), mm.
double maxCrackWidth(double alphaCr, double psi, double sigmaS, double Es, double cs, double deq, double rhoTe);

// --------------------------------------------------------------- stiffness

// 7.2.3-1: short-term stiffness Bs = Es As h0^2 / (1.15 psi + 0.2 +
// 6 alphaE rho / (1 + 3.5 gammaF')), N*mm2; gammaF' = 0 for a rectangle.
double shortTermStiffness(double Es, double As, double h0, double psi, double alphaE, double rho,
                          double gammaF = 0);

// 7.2.5: theta = 2.0 - 0.4 rho'/rho: 2.0 without compression steel, 1.6
// when rho' >= rho, linear between.
double longTermFactor(double rho, double rhoComp);

// 7.2.2-2: long-term stiffness of a reinforced concrete member under the
// quasi-permanent combination, B = Bs / theta.
double longTermStiffness(double Bs, double theta);

// One rectangular section under its quasi-permanent moment.
struct SectionInput {
    double b = 0, h = 0, h0 = 0; // mm
    double As = 0;     // provided tension steel, mm2
    double AsComp = 0; // provided compression steel, mm2
    double Mq = 0;     // quasi-permanent moment stretching As, kN*m (not positive: no tension in As)
    double cs = 0;     // edge of the outermost tension bars to the tension face, mm
    double deq = 0;    // 7.1.2-3, mm
    double ftk = 0;    // N/mm2
    double Es = 0, Ec = 0; // N/mm2
};

// The crack width and the stiffness of a section, with every value an
// engineer checks.
struct SectionServiceability {
    double sigmaSq = 0; // 7.1.4-3, N/mm2
    double rhoTe = 0;   // 7.1.2-4 (at least 0.01)
    double psi = 0;     // 7.1.2-2
    double cs = 0;      // as used, mm
    double wmax = 0;    // 7.1.2-1, mm
    double rho = 0, rhoComp = 0; // As / (b h0), As' / (b h0)
    double alphaE = 0;  // Es / Ec
    double Bs = 0;      // 7.2.3-1, N*mm2
    double theta = 0;   // 7.2.5
    double B = 0;       // 7.2.2-2, N*mm2
};

// Crack width (7.1.2) and stiffness (7.2.3, 7.2.5, 7.2.2) of a flexural
// member's section. The caller checks b, h0, As and Ec are positive.
SectionServiceability sectionServiceability(const SectionInput& in);

// ---------------------------------------------------------------- deflection

// Deflection of a span, downward positive.
struct SpanDeflection {
    double f = 0; // largest deflection from the chord between the span's ends, mm
    double x = 0; // its distance from the left end, m
};

// A stretch of a span between x0 and x1 (m, from the left end) where the
// moment keeps one sign, and the long-term stiffness B (kN*m2) taken there.
struct Stretch {
    double x0 = 0, x1 = 0;
    bool sagging = false; // M > 0 inside the stretch
    double B = 0;
};

// 7.2.1: the stretches of one sign of the moment M(x) (kN*m, sagging
// positive) along a span of length L (m), left to right. The moment is
// sampled between the points `at` (m, ascending, where the loads change)
// and every change of sign found by bisection; a moment of zero goes with
// hogging. B is left 0 for the caller.
std::vector<Stretch> sameSignStretches(const std::function<double(double)>& M, double L, const std::vector<double>& at);

// 7.2.1: a span may be computed at the constant stiffness of its largest
// sagging section when the stiffness of a support section is not above
// twice, nor below half, that stiffness.
bool uniformStiffnessAllowed(double Bspan, double Bsupport);

// 7.2.1, 7.2.2: the deflection of a span of length L (m) under its own
// quasi-permanent moment diagram M(x) (kN*m, sagging positive): the double
// integral of the curvature M/B (w'' = -M/B, downward positive) with the
// deflection measured from the chord between the span's ends, w(0) = w(L) =
// 0. The stiffness is B of the stretch each x lies in (kN*m2, positive; the
// stretches cover 0 ... L); M is taken as of second degree between the
// points `at` and the stretch ends (exact for uniform loads and forces at
// those points). L must be positive; no stretch or a B not positive gives
// f = 0.
SpanDeflection spanDeflection(const std::function<double(double)>& M, double L, const std::vector<Stretch>& stiffness,
                              const std::vector<double>& at = {});
// The same with one stiffness B over the whole span.
SpanDeflection spanDeflection(const std::function<double(double)>& M, double L, double B);

} // namespace kj::gb2010
