// The clause functions of GB 50011-2010 (2016 edition) and the seismic
// detailing of GB 50010-2010, against published worked examples and the
// code's tables at their boundaries.
#include "common/failure.h"
#include "design/gb50011_2010.h"

#include <gtest/gtest.h>

#include <cmath>

namespace g = kj::gb50011;
using g::Intensity;
using g::SiteClass;

// Worked example: examination answer "抗震结构设计" calculation problem 1
// (three storeys of 5 m; G1 = G2 = 1000 kN, G3 = 600 kN; T1 = 0.6332 s,
// Tg = 0.30 s, αmax = 0.24). Published: α1 = 0.122, FEk = 269.6 kN,
// δn = 0.121, ΔFn = 32.62 kN, F1 = 49.37, F2 = 98.75, F3 = 88.87 + 32.62 =
// 121.49 kN, V1 = 269.6, V2 = 220.24 kN. The example carries its rounded
// α1 and δn forward, so the later steps are checked from those.
TEST(Gb50011, BaseShearWorkedExample)
{
    EXPECT_DOUBLE_EQ(g::characteristicPeriod(SiteClass::I1, 2), 0.30);
    EXPECT_DOUBLE_EQ(g::maxInfluenceCoefficient(Intensity::I8_5), 0.24);
    const double alpha1 = g::influenceCoefficient(0.6332, 0.30, 0.24);
    EXPECT_NEAR(alpha1, 0.122, 0.001); // 0.1225: the example cuts it to 0.122
    const double Geq = g::equivalentGravity(1000 + 1000 + 600, 3);
    EXPECT_DOUBLE_EQ(Geq, 2210);
    const double FEk = g::totalHorizontalAction(0.122, Geq);
    EXPECT_NEAR(FEk, 269.6, 0.05);
    const double deltaN = g::topAdditionalFactor(0.6332, 0.30);
    EXPECT_NEAR(deltaN, 0.121, 0.0005);
    EXPECT_NEAR(0.121 * 269.6, 32.62, 0.005);
    const std::vector<double> F = g::floorForces({1000, 1000, 600}, {5, 10, 15}, 269.6, 0.121);
    EXPECT_NEAR(F[0], 49.37, 0.005);
    EXPECT_NEAR(F[1], 98.75, 0.01); // 98.741: the example's last digit is one off
    EXPECT_NEAR(F[2], 88.87, 0.005);
    EXPECT_NEAR(F[1] + F[2] + 32.62, 220.24, 0.015);
    EXPECT_NEAR(F[0] + F[1] + F[2] + 32.62, 269.6, 0.01);
}

// Worked examples of the top-displacement period of a frame: graduation
// design "中森建筑设计院办公楼设计" table 3-9 (uT = 0.205 m, ψT = 0.7,
// T1 = 0.54 s; Tg = 0.35 s so δn = 0.08 x 0.54 + 0.07 = 0.113) and a five-
// storey office graduation design, section 5.4.1, table 5-5 (uT = 0.195 m,
// ψT = 0.6, T1 = 0.450 s), both published at youerw.com.
TEST(Gb50011, TopDisplacementPeriodExamples)
{
    const double T1 = g::fundamentalPeriod(0.7, 0.205);
    EXPECT_NEAR(T1, 0.54, 0.005);
    EXPECT_NEAR(g::topAdditionalFactor(0.54, 0.35), 0.113, 0.0005);
    EXPECT_NEAR(g::fundamentalPeriod(0.6, 0.195), 0.450, 0.0005);
}

TEST(Gb50011, SpectrumBranchesMeetAtTheirBoundaries)
{
    const g::SpectrumShape s = g::spectrumShape(0.05);
    EXPECT_NEAR(s.gamma, 0.9, 1e-12);
    EXPECT_NEAR(s.eta1, 0.02, 1e-12);
    EXPECT_NEAR(s.eta2, 1.0, 1e-12);

    const double am = 0.16, Tg = 0.35;
    EXPECT_NEAR(g::influenceCoefficient(0, Tg, am), 0.45 * am, 1e-12);
    EXPECT_NEAR(g::influenceCoefficient(0.1 - 1e-12, Tg, am), am, 1e-9);
    EXPECT_NEAR(g::influenceCoefficient(0.1, Tg, am), am, 1e-12);
    EXPECT_NEAR(g::influenceCoefficient(Tg, Tg, am), am, 1e-12);
    EXPECT_NEAR(g::influenceCoefficient(Tg + 1e-9, Tg, am), am, 1e-8);
    const double at5Tg = std::pow(0.2, 0.9) * am;
    EXPECT_NEAR(g::influenceCoefficient(5 * Tg, Tg, am), at5Tg, 1e-12);
    EXPECT_NEAR(g::influenceCoefficient(5 * Tg + 1e-9, Tg, am), at5Tg, 1e-9);
    EXPECT_NEAR(g::influenceCoefficient(6.0, Tg, am), (std::pow(0.2, 0.9) - 0.02 * (6.0 - 5 * Tg)) * am, 1e-12);
    EXPECT_THROW(g::influenceCoefficient(6.01, Tg, am), kj::Failure);

    // Table 5.1.4-2 corners and δn at 1.4 Tg.
    EXPECT_DOUBLE_EQ(g::characteristicPeriod(SiteClass::I0, 1), 0.20);
    EXPECT_DOUBLE_EQ(g::characteristicPeriod(SiteClass::IV, 3), 0.90);
    EXPECT_DOUBLE_EQ(g::characteristicPeriod(SiteClass::III, 2), 0.55);
    EXPECT_THROW(g::characteristicPeriod(SiteClass::II, 4), kj::Failure);
    EXPECT_DOUBLE_EQ(g::topAdditionalFactor(0.56, 0.40), 0.0);
    EXPECT_NEAR(g::topAdditionalFactor(0.60, 0.40), 0.058, 1e-12);
    EXPECT_NEAR(g::topAdditionalFactor(1.00, 0.65), 0.06, 1e-12);

    // Table 5.2.5: λ at 3.5 s, between, beyond 5 s.
    EXPECT_DOUBLE_EQ(g::minimumShearFactor(Intensity::I7, 3.5), 0.016);
    EXPECT_NEAR(g::minimumShearFactor(Intensity::I8, 4.25), 0.028, 1e-12);
    EXPECT_DOUBLE_EQ(g::minimumShearFactor(Intensity::I9, 5.5), 0.048);
    EXPECT_DOUBLE_EQ(g::minimumShearFactor(Intensity::I7_5, 1.0), 0.024);
}

TEST(Gb50011, FrameGradeByHeightAndIntensity)
{
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I6, 24.0), 4);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I6, 24.1), 3);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I7, 24.0), 3);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I7_5, 30.0), 2);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I8, 24.0), 2);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I8_5, 30.0), 1);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I9, 24.0), 1);
    EXPECT_THROW(g::frameSeismicGrade(Intensity::I9, 24.5), kj::Failure);
    EXPECT_THROW(g::frameSeismicGrade(Intensity::I8_5, 36.0), kj::Failure);
    // A large-span frame (a span of 18 m or more) takes its own row.
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I7, 12.0, 18.0), 2);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I7, 12.0, 17.9), 3);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I6, 30.0, 20.0), 3);
    EXPECT_EQ(g::frameSeismicGrade(Intensity::I8, 12.0, 18.0), 1);
    // 3.3.3: the detailing of 0.15 g and 0.30 g on sites III and IV is that
    // of 8 degrees (0.20 g) and 9 degrees.
    EXPECT_EQ(g::frameDetailingGrade(Intensity::I7_5, SiteClass::III, 12.0), 2);
    EXPECT_EQ(g::frameDetailingGrade(Intensity::I7_5, SiteClass::II, 12.0), 3);
    EXPECT_EQ(g::frameDetailingGrade(Intensity::I8_5, SiteClass::IV, 12.0), 1);
    EXPECT_EQ(g::frameDetailingGrade(Intensity::I8, SiteClass::IV, 12.0), 2);

    // Factors by grade 1..4.
    EXPECT_DOUBLE_EQ(g::columnMomentFactor(1), 1.7);
    EXPECT_DOUBLE_EQ(g::columnMomentFactor(4), 1.2);
    EXPECT_DOUBLE_EQ(g::columnFootFactor(2), 1.5);
    EXPECT_DOUBLE_EQ(g::beamShearFactor(3), 1.1);
    EXPECT_DOUBLE_EQ(g::columnShearFactor(2), 1.3);
    EXPECT_DOUBLE_EQ(g::columnShearFactor(3), 1.2); // 6.2.5, a frame structure of grade 3
    EXPECT_THROW(g::columnMomentFactor(5), kj::Failure);
    EXPECT_EQ(g::gradeText(3), "三级");
}

TEST(Gb50011, AxialRatioDriftAndAdjustmentAtTheirLimits)
{
    EXPECT_TRUE(g::axialRatioWithinLimit(0.65, 1));
    EXPECT_FALSE(g::axialRatioWithinLimit(0.6501, 1));
    EXPECT_TRUE(g::axialRatioWithinLimit(0.90, 4));
    EXPECT_FALSE(g::axialRatioWithinLimit(0.9001, 4));
    // A 3 m storey may drift 3000/550 = 5.4545 mm.
    EXPECT_TRUE(g::driftWithinLimit(0.0054545, 3.0));
    EXPECT_FALSE(g::driftWithinLimit(0.00546, 3.0));
    EXPECT_DOUBLE_EQ(g::seismicAdjustmentFactor(g::SeismicCheck::ColumnCompression, 0.1499), 0.75);
    EXPECT_DOUBLE_EQ(g::seismicAdjustmentFactor(g::SeismicCheck::ColumnCompression, 0.15), 0.80);
    EXPECT_DOUBLE_EQ(g::seismicAdjustmentFactor(g::SeismicCheck::Shear), 0.85);
}

// Worked examinations: a grade-2 beam of C25 with HRB335 needs 0.25 % in the
// span (55 ft/fy = 0.23 %); a grade-1 column at axial ratio 0.6 with
// multi-leg ties needs λv = 0.15.
TEST(Gb50011, DetailingTables)
{
    EXPECT_NEAR(g::beamMinimumSteelRatio(2, false, 1.27, 300), 0.0025, 1e-12);
    EXPECT_NEAR(g::beamMinimumSteelRatio(1, true, 1.71, 360), 0.004, 1e-12);
    EXPECT_NEAR(g::stirrupCharacteristicValue(1, 0.6), 0.15, 1e-12);
    EXPECT_NEAR(g::stirrupCharacteristicValue(2, 0.45), 0.10, 1e-12);
    EXPECT_NEAR(g::stirrupCharacteristicValue(3, 0.2), 0.06, 1e-12);
    // C30 counts as C35 (16.7 N/mm2); the 0.4 % floor of grade 3.
    EXPECT_NEAR(g::columnMinimumVolumetricRatio(2, 0.6, 14.3, 270), 0.13 * 16.7 / 270, 1e-12);
    EXPECT_NEAR(g::columnMinimumVolumetricRatio(3, 0.3, 14.3, 360), 0.004, 1e-12);
    EXPECT_NEAR(g::columnMinimumTotalSteelRatio(3, 360, 30, false), 0.0075, 1e-12);
    EXPECT_NEAR(g::columnMinimumTotalSteelRatio(1, 300, 60, true), 0.013, 1e-12);
    EXPECT_NEAR(g::columnMinimumTotalSteelRatio(4, 435, 30, false), 0.006, 1e-12);

    const g::DenseZone b = g::beamDenseZone(1, 600, 20, 0.021);
    EXPECT_DOUBLE_EQ(b.length, 1200);
    EXPECT_DOUBLE_EQ(b.maxSpacing, 100);
    EXPECT_DOUBLE_EQ(b.minDiameter, 12);
    // Table 11.4.12-2 length max(hc, Hn / 6, 500): 500 itself for 450 and
    // 2700 / 6 = 450; hc = 650 over 3000 / 6 = 500; Hn / 6 = 4200 / 6 = 700
    // over hc = 500.
    const g::DenseZone c = g::columnDenseZone(3, 450, 2700, 20, false);
    EXPECT_DOUBLE_EQ(c.length, 500);
    EXPECT_DOUBLE_EQ(c.maxSpacing, 150);
    EXPECT_DOUBLE_EQ(g::columnDenseZone(3, 650, 3000, 20, false).length, 650);
    EXPECT_DOUBLE_EQ(g::columnDenseZone(2, 500, 4200, 20, false).length, 700);
    const g::DenseZone foot = g::columnDenseZone(4, 500, 4200, 20, true);
    EXPECT_DOUBLE_EQ(foot.length, 1400);
    EXPECT_DOUBLE_EQ(foot.maxSpacing, 100);
    EXPECT_DOUBLE_EQ(foot.minDiameter, 8);
    EXPECT_FALSE(g::beamEndDepthLimit(4).has_value());
    EXPECT_DOUBLE_EQ(*g::beamEndBottomTopRatio(1), 0.5);
    // Leg spacing: 20 d counts for grade 1 beams, not for grade 1 columns.
    EXPECT_DOUBLE_EQ(g::beamDenseLegSpacing(1, 12), 240);
    EXPECT_DOUBLE_EQ(g::columnDenseLegSpacing(1, 12), 200);
    EXPECT_DOUBLE_EQ(g::columnDenseLegSpacing(3, 14), 280);
    EXPECT_DOUBLE_EQ(g::beamDenseLegSpacing(4, 20), 300);
}
