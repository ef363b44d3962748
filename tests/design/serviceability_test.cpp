// Crack width and deflection by GB 50010-2010 against a published worked
// example, hand results and an independent closed-form integration.
#include "design/serviceability.h"

#include "common/failure.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kj::gb2010 {
namespace {

// 一级注册结构工程师 exam problem with its published solution
// (tihaiku.com/jzgc/1079096.html, app.ixiawen.com/question/396037): simple
// beam l0 = 6.9 m, b x h = 250 x 650, C30, HRB335, gk = 16.20 kN/m,
// qk = 8.50 kN/m, psi_q = 0.4, 3 bars of 20 (As = 941), c = 25.
TEST(Gb2010Serviceability, PublishedExamBeamCrackWidthAndDeflection)
{
    // Given psi = 0.506 and sigma_s = 270: wmax "closest to 0.241 mm" (A).
    const double rhoTe = effectiveTensionRatio(941, 250, 650);
    const double deq = equivalentBarDiameter({{3, 20}}, kRibbedBarBond);
    EXPECT_DOUBLE_EQ(deq, 20);
    EXPECT_NEAR(maxCrackWidth(kFlexuralCrackFactor, 0.506, 270, 2.0e5, crackCover(25), deq, rhoTe), 0.241, 0.0005);

    // Deflection, answer A f = 23.75 mm: Mgk 96.41, Mqk 50.59, Mq = 96.41 +
    // 0.4 x 50.59 = 116.65, theta = 2.0 (no compression steel), and the
    // solution's B = Mk / (Mq (theta - 1) + Mk) Bs with Bs = 5.5e13 N*mm2.
    const double L = 6.9, g = 16.20, q = 8.50;
    EXPECT_NEAR(g * L * L / 8, 96.41, 0.005);
    EXPECT_NEAR(q * L * L / 8, 50.59, 0.005);
    const double theta = longTermFactor(941 / (250.0 * 615), 0);
    EXPECT_DOUBLE_EQ(theta, 2.0);
    const double Mk = 147, Mq = 116.65;
    const double B = Mk / (Mq * (theta - 1) + Mk) * 5.5e13 / 1e9; // kN*m2
    const double w = 8 * Mk / (L * L);                            // the load giving Mk, kN/m
    const SpanDeflection f = spanDeflection([&](double x) { return w * x * (L - x) / 2; }, L, B);
    EXPECT_NEAR(f.f, 23.75, 0.05);
    EXPECT_NEAR(f.x, L / 2, 1e-9);
}

// A section worked by hand: b x h = 250 x 500, h0 = 465, 3 bars of 20
// (As = 942, ribbed), C30 (ftk 2.01, Ec 3.0e4), Es 2.0e5, cs 28, Mq 80 kN*m:
// sigma_sq = 80e6 / (0.87 x 465 x 942) = 209.93; rho_te = 942 / 62500 =
// 0.015072; psi = 1.1 - 0.65 x 2.01 / (0.015072 x 209.93) = 0.68707;
// wmax = 1.9 psi sigma_sq / Es (1.9 x 28 + 0.08 x 20 / rho_te) = 0.21836 mm;
// rho = 0.0081032, alphaE = 6.6667, Bs = Es As h0^2 / (1.15 psi + 0.2 +
// 6 alphaE rho) = 3.0996e13, B = Bs / 2 = 1.5498e13 N*mm2. As a simple
// span of 6 m under q = 8 x 80 / 36 = 17.778 kN/m: f = 5 q l^4 / (384 B) =
// 19.357 mm, against l0/200 = 30 mm; in the form 5/48 Mq l0^2 / B the same.
TEST(Gb2010Serviceability, SimpleSpanByHand)
{
    SectionInput in;
    in.b = 250, in.h = 500, in.h0 = 465, in.As = 942, in.Mq = 80, in.cs = 28;
    in.deq = equivalentBarDiameter({{3, 20}}, kRibbedBarBond);
    in.ftk = tensileStrengthCharacteristic(30), in.Es = 2.0e5, in.Ec = 3.0e4;
    const SectionServiceability s = sectionServiceability(in);
    EXPECT_NEAR(s.sigmaSq, 209.93, 0.005);
    EXPECT_NEAR(s.psi, 0.68707, 0.00001);
    EXPECT_NEAR(s.wmax, 0.21836, 0.00001);
    EXPECT_NEAR(s.Bs / 1e13, 3.0996, 0.0001);
    EXPECT_DOUBLE_EQ(s.theta, 2.0);
    EXPECT_NEAR(s.B / 1e13, 1.5498, 0.0001);

    const double L = 6, q = 8 * 80 / 36.0, B = s.B / 1e9;
    const SpanDeflection f = spanDeflection([&](double x) { return q * x * (L - x) / 2; }, L, B);
    EXPECT_NEAR(f.f, 19.357, 0.001);
    EXPECT_NEAR(f.f, 5.0 / 48 * 80 * L * L / B * 1000, 1e-9);
    EXPECT_NEAR(f.x, L / 2, 1e-9);
    EXPECT_DOUBLE_EQ(deflectionLimit(L), 30);
}

// A span of a frame: uniform load q with hogging end moments MA, MB. From
// the chord between its ends, the deflection is that of a simple span under
// q, MA and MB: w(x) = q x (L^3 - 2 L x^2 + x^3) / 24B - MA x (L - x)(2L - x)
// / 6LB - MB x (L^2 - x^2) / 6LB. With MA = MB = q L^2 / 12 (a fixed-ended
// span) it is q L^4 / 384 B at midspan.
TEST(Gb2010Serviceability, FrameSpanFromTheChordMatchesClosedForm)
{
    const double L = 7.2, q = 31.5, MA = 150, MB = 95, B = 42000;
    auto closed = [&](double x) {
        return (q * x * (L * L * L - 2 * L * x * x + x * x * x) / 24 - MA * x * (L - x) * (2 * L - x) / (6 * L) -
                MB * x * (L * L - x * x) / (6 * L)) / B;
    };
    auto M = [&](double x) { return q * x * (L - x) / 2 - MA * (1 - x / L) - MB * x / L; };
    // Where the slope of the closed form is zero, by bisection.
    auto slope = [&](double x) { return (closed(x + 1e-6) - closed(x - 1e-6)) / 2e-6; };
    double lo = 0.1, hi = L - 0.1;
    for (int i = 0; i < 60; ++i) (slope((lo + hi) / 2) > 0 ? lo : hi) = (lo + hi) / 2;
    const SpanDeflection f = spanDeflection(M, L, B);
    EXPECT_NEAR(f.f, 1000 * closed(lo), 1e-9);
    EXPECT_NEAR(f.x, lo, 1e-6);

    const double Mf = q * L * L / 12;
    auto fixedM = [&](double x) { return q * x * (L - x) / 2 - Mf; };
    const SpanDeflection fixed = spanDeflection(fixedM, L, B);
    EXPECT_NEAR(fixed.f, 1000 * q * std::pow(L, 4) / (384 * B), 1e-9);
    EXPECT_NEAR(fixed.x, L / 2, 1e-9);

    // 7.2.1: the stretches of one sign end where M = 0, at x = L/2 (1 -+ 1/sqrt 3).
    const std::vector<Stretch> s = sameSignStretches(fixedM, L, {});
    ASSERT_EQ(s.size(), 3u);
    EXPECT_FALSE(s[0].sagging);
    EXPECT_TRUE(s[1].sagging);
    EXPECT_NEAR(s[0].x1, L / 2 * (1 - 1 / std::sqrt(3.0)), 1e-9);
    EXPECT_NEAR(s[1].x1, L / 2 * (1 + 1 / std::sqrt(3.0)), 1e-9);
    EXPECT_DOUBLE_EQ(s[2].x1, L);

    // Variable stiffness, the hogging stretches at B2: by the unit load at
    // midspan, f = 2 [F(a)/B2 + (F(L/2) - F(a))/B] with F the integral of
    // M(x) x/2, F(x) = q/4 (L x^3/3 - x^4/4) - Mf x^2/4.
    const double B2 = B / 3, a = s[0].x1;
    auto F = [&](double x) { return q / 4 * (L * x * x * x / 3 - x * x * x * x / 4) - Mf * x * x / 4; };
    std::vector<Stretch> variable = s;
    variable[0].B = variable[2].B = B2;
    variable[1].B = B;
    const SpanDeflection v = spanDeflection(fixedM, L, variable);
    EXPECT_NEAR(v.f, 1000 * 2 * (F(a) / B2 + (F(L / 2) - F(a)) / B), 1e-9);
    EXPECT_NEAR(v.x, L / 2, 1e-6);
    EXPECT_LT(v.f, fixed.f); // softer hogging ends curve the span up
}

TEST(Gb2010Serviceability, TablesLimitsAndBounds)
{
    // Table 4.1.3-2.
    EXPECT_DOUBLE_EQ(tensileStrengthCharacteristic(15), 1.27);
    EXPECT_DOUBLE_EQ(tensileStrengthCharacteristic(25), 1.78);
    EXPECT_DOUBLE_EQ(tensileStrengthCharacteristic(40), 2.39);
    EXPECT_DOUBLE_EQ(tensileStrengthCharacteristic(80), 3.11);
    EXPECT_THROW(tensileStrengthCharacteristic(32), Failure);
    EXPECT_THROW(tensileStrengthCharacteristic(10), Failure);
    // Tables 3.4.5 and 3.4.3.
    EXPECT_DOUBLE_EQ(crackWidthLimit(EnvironmentClass::One), 0.3);
    EXPECT_DOUBLE_EQ(crackWidthLimit(EnvironmentClass::TwoA), 0.2);
    EXPECT_DOUBLE_EQ(crackWidthLimit(EnvironmentClass::TwoB), 0.2);
    EXPECT_DOUBLE_EQ(deflectionLimit(6.9), 34.5);
    EXPECT_DOUBLE_EQ(deflectionLimit(7.0), 28);
    EXPECT_DOUBLE_EQ(deflectionLimit(9.0), 36);
    EXPECT_DOUBLE_EQ(deflectionLimit(9.6), 32);
    // 7.1.2: psi 0.2 ... 1.0, rho_te >= 0.01, cs 20 ... 65; deq of mixed and plain bars.
    EXPECT_DOUBLE_EQ(strainNonUniformity(2.01, 0.01, 20), 0.2);
    EXPECT_DOUBLE_EQ(strainNonUniformity(2.01, 0.05, 400), 1.0);
    EXPECT_DOUBLE_EQ(effectiveTensionRatio(300, 300, 600), 0.01);
    EXPECT_DOUBLE_EQ(crackCover(15), 20);
    EXPECT_DOUBLE_EQ(crackCover(80), 65);
    EXPECT_DOUBLE_EQ(equivalentBarDiameter({{2, 22}, {2, 20}}, kRibbedBarBond), (2 * 484 + 2 * 400) / 84.0);
    EXPECT_DOUBLE_EQ(equivalentBarDiameter({{2, 20}}, kPlainBarBond), 20 / 0.7);
    // 7.2.1: one stiffness where the support's is within half to twice the span's.
    EXPECT_TRUE(uniformStiffnessAllowed(100, 200));
    EXPECT_TRUE(uniformStiffnessAllowed(100, 50));
    EXPECT_FALSE(uniformStiffnessAllowed(100, 200.01));
    EXPECT_FALSE(uniformStiffnessAllowed(100, 49.99));
    // 7.2.5: 2.0 without compression steel, 1.6 from rho' = rho, linear between.
    EXPECT_DOUBLE_EQ(longTermFactor(0.01, 0), 2.0);
    EXPECT_DOUBLE_EQ(longTermFactor(0.01, 0.005), 1.8);
    EXPECT_DOUBLE_EQ(longTermFactor(0.01, 0.02), 1.6);
}

TEST(Gb2010Serviceability, NoTensionOrNoSteelDividesByNothing)
{
    SectionInput in;
    in.b = 250, in.h = 500, in.h0 = 465, in.As = 942, in.Mq = -40, in.cs = 28, in.deq = 20;
    in.ftk = 2.01, in.Es = 2.0e5, in.Ec = 3.0e4;
    const SectionServiceability s = sectionServiceability(in);
    EXPECT_EQ(s.sigmaSq, 0);
    EXPECT_EQ(s.wmax, 0);
    EXPECT_DOUBLE_EQ(s.psi, 0.2);
    EXPECT_TRUE(std::isfinite(s.B) && s.B > 0);
    EXPECT_EQ(quasiPermanentSteelStress(80e6, 465, 0), 0);
    EXPECT_EQ(equivalentBarDiameter({}, kRibbedBarBond), 0);
    EXPECT_DOUBLE_EQ(longTermFactor(0, 0), 2.0);
    const SpanDeflection none = spanDeflection([](double) { return 10.0; }, 6, 0.0);
    EXPECT_EQ(none.f, 0);
}

} // namespace
} // namespace kj::gb2010
