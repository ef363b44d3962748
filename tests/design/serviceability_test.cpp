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
    const double end = w * L * L * L / (24 * B);                  // simple span: the joints turn freely
    const SpanDeflection f = spanDeflection([&](double x) { return w * x * (L - x) / 2; }, L, B, end, -end);
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
// 19.357 mm, against l0/200 = 30 mm.
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
    const double end = q * L * L * L / (24 * B);
    const SpanDeflection f = spanDeflection([&](double x) { return q * x * (L - x) / 2; }, L, B, end, -end);
    EXPECT_NEAR(f.f, 19.357, 0.001);
    EXPECT_NEAR(f.f, 5 * q * std::pow(L, 4) / (384 * B) * 1000, 1e-9);
    EXPECT_DOUBLE_EQ(deflectionLimit(L), 30);
}

// A span of a frame: uniform load q with hogging end moments MA, MB. The
// closed form of a simple span under q, MA and MB gives the deflection
// w(x) = q x (L^3 - 2 L x^2 + x^3) / 24B - MA x (L - x)(2L - x) / 6LB
// - MB x (L^2 - x^2) / 6LB and the end rotations that go with it.
TEST(Gb2010Serviceability, FrameSpanWithJointRotationsMatchesClosedForm)
{
    const double L = 7.2, q = 31.5, MA = 150, MB = 95, B = 42000;
    auto closed = [&](double x) {
        return (q * x * (L * L * L - 2 * L * x * x + x * x * x) / 24 - MA * x * (L - x) * (2 * L - x) / (6 * L) -
                MB * x * (L * L - x * x) / (6 * L)) / B;
    };
    const double theta1 = (q * L * L * L / 24 - MA * L / 3 - MB * L / 6) / B;
    const double theta2 = -(q * L * L * L / 24 - MA * L / 6 - MB * L / 3) / B;
    auto M = [&](double x) { return q * x * (L - x) / 2 - MA * (1 - x / L) - MB * x / L; };

    double largest = 0, at = 0;
    for (int i = 0; i <= 7200; ++i) {
        const double x = L * i / 7200;
        if (closed(x) > largest) largest = closed(x), at = x;
    }
    const SpanDeflection f = spanDeflection(M, L, B, theta1, theta2);
    EXPECT_NEAR(f.f, 1000 * largest, 1e-6);
    EXPECT_NEAR(f.x, at, L / 240);

    // Joints held still: the span's own load deflects it as a fixed-ended
    // beam, q L^4 / 384 B at midspan, whatever end moments the diagram had.
    const SpanDeflection fixed = spanDeflection(M, L, B, 0, 0);
    EXPECT_NEAR(fixed.f, 1000 * q * std::pow(L, 4) / (384 * B), 1e-6);
    EXPECT_NEAR(fixed.x, L / 2, 1e-9);
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
    const SpanDeflection none = spanDeflection([](double) { return 10.0; }, 6, 0, 0, 0);
    EXPECT_EQ(none.f, 0);
}

} // namespace
} // namespace kj::gb2010
