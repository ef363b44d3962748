#include "design/beam_design.h"

#include "calc/options.h"

#include <gtest/gtest.h>

namespace kj {
namespace {

// Fy 300, C25: fy 300, fyv 210, xib 0.544, fcf 12, fc 11.9, ft 1.27.
const MaterialConstants kC25 = materialConstants(Materials{300, 25});

TEST(BeamFlexure, SingleReinforcedSectionWorkedByHand)
{
    // 250 x 500, M = 120: 120 <= 0.4 * 500, h0 = 465.
    // alpha_s = 120e6 / (12 * 250 * 465^2) = 0.1849925
    // xi = 1 - sqrt(1 - 0.369985) = 0.2062651
    // rho = 12 * 0.2062651 / 300 = 0.0082506; As = rho * 250 * 465 = 959.13
    const FlexureResult r = flexureDesign(120, 250, 500, kC25);
    EXPECT_NEAR(r.As, 959.1329, 1e-3);
    EXPECT_EQ(r.AsComp, 0);
    // The sign of the moment does not matter.
    EXPECT_NEAR(flexureDesign(-120, 250, 500, kC25).As, 959.1329, 1e-3);
}

TEST(BeamFlexure, CompressionSteelGrowsInStepsOf95)
{
    // M = 250 > 200: h0 = 440, resistance 12 * 250 * 440^2 = 580.8e6.
    // As' = 0:   alpha_s = 0.4304408, xi = 0.6270 > 0.544
    // As' = 95:  alpha_s = (250e6 - 300*95*465) / 580.8e6 = 0.4076231, xi = 0.5702 > 0.544
    // As' = 190: alpha_s = 0.3848054, xi = 0.5200113 <= 0.544
    // rho = 12 * 0.5200113 / 300 = 0.0208005; As = rho * 250 * 440 + 190 = 2478.05
    const FlexureResult r = flexureDesign(250, 250, 500, kC25);
    EXPECT_EQ(r.AsComp, 190);
    EXPECT_NEAR(r.As, 2478.0499, 1e-3);
    // M = 230: xi = 0.543942 just below 0.544, no compression steel; As = 2393.34.
    const FlexureResult justBelow = flexureDesign(230, 250, 500, kC25);
    EXPECT_EQ(justBelow.AsComp, 0);
    EXPECT_NEAR(justBelow.As, 2393.3444, 1e-3);
}

TEST(BeamFlexure, OverloadedOrTooShallowSectionFailsWith9999)
{
    // M = 300: h0 = 440, alpha_s = 300e6 / 580.8e6 = 0.5165 > 0.5.
    const FlexureResult over = flexureDesign(300, 250, 500, kC25);
    EXPECT_EQ(over.As, 9999);
    EXPECT_EQ(over.AsComp, 0);
    // h = 35: h0 = 0, no lever arm at all.
    EXPECT_EQ(flexureDesign(0, 250, 35, kC25).As, 9999);
    // h = 50 with M = 30 > 0.4 * 50: h0 = -10.
    EXPECT_EQ(flexureDesign(30, 250, 50, kC25).As, 9999);
}

TEST(BeamFlexure, LightMomentGetsMinimumRatio)
{
    // M = 10 on 250 x 500: xi = 0.01553, rho = 0.00062 < 0.002; As = 0.002 * 250 * 465 = 232.5.
    EXPECT_DOUBLE_EQ(flexureDesign(10, 250, 500, kC25).As, 232.5);
    EXPECT_DOUBLE_EQ(flexureDesign(0, 250, 500, kC25).As, 232.5);
}

TEST(BeamShear, EffectiveDepthSwitchesAboveHalfTheDepth)
{
    // 250 x 600. V = 300 = 0.5 h: h0 = 565; V = 301: h0 = 540.
    // Vc = 0.7 * 1.27 * 250 * h0; Asv/s = (1000 V - Vc) / (1.25 * 210 * h0)
    // V = 300: Vc = 125571.25, (300000 - 125571.25) / 148312.5 = 1.17610 -> 1.18
    // V = 301: Vc = 120015,    (301000 - 120015)    / 141750   = 1.27679 -> 1.28
    // (with h0 = 565 for 301 it would be 1.18284 -> 1.18)
    EXPECT_DOUBLE_EQ(shearDesign(300, 250, 600, kC25), 1.18);
    EXPECT_DOUBLE_EQ(shearDesign(301, 250, 600, kC25), 1.28);
}

TEST(BeamShear, MinimumStirrupsAndSectionTooSmall)
{
    // 250 x 500, V = 140: Vc = 103346.25, needed (140000 - Vc) / 122062.5 = 0.30029
    // below the minimum 0.28 * 1.27 * 250 / 210 = 0.42333 -> 0.42.
    EXPECT_DOUBLE_EQ(shearDesign(140, 250, 500, kC25), 0.42);
    EXPECT_DOUBLE_EQ(shearDesign(-20, 250, 500, kC25), 0.42);
    // V = 181: (181000 - 103346.25) / 122062.5 = 0.63618 -> 0.64.
    EXPECT_DOUBLE_EQ(shearDesign(181, 250, 500, kC25), 0.64);
    // Limit 0.25 fc b h0 = 0.00025 * 11.9 * 250 * 440 = 327.25 kN (V > 250 uses h0 = 440).
    EXPECT_EQ(shearDesign(327.25, 250, 500, kC25), 0);
    EXPECT_GT(shearDesign(327, 250, 500, kC25), 0);
    // No effective depth: too small whatever the shear.
    EXPECT_EQ(shearDesign(0, 250, 35, kC25), 0);
    // A designable section always gets some stirrups: 0.28 * 1.27 * 2 / 210
    // = 0.0034 rounds to 0, and is raised to 0.01.
    EXPECT_DOUBLE_EQ(shearDesign(0, 2, 500, kC25), 0.01);
}

TEST(DesignMaterials, DefaultTableGivesC20ItsStrengths)
{
    // C20: fc 9.6, ft 1.10 N/mm2 (GB 50010 table 4.1.4).
    const MaterialConstants m = materialConstants(Materials{300, 20});
    EXPECT_DOUBLE_EQ(m.fc, 9.6);
    EXPECT_DOUBLE_EQ(m.ft, 1.10);
}

// The boxes as typed, through the one reading of the design settings.
Stirrups stirrupsFor(double asvs, double b, const char* legs, const char* diameter)
{
    DesignSettings s;
    s.stirrupLegs = legs;
    s.stirrupDiameter = diameter;
    const DesignOptions o = parseDesignOptions(s);
    return chooseStirrups(asvs, b, o.stirrupLegs, o.stirrupDiameter);
}

BarArrangement arrange(double As, double b, double h, double cover, BarPosition pos, std::string_view count,
                       std::string_view diameter)
{
    DesignSettings s;
    s.topCount = count;
    s.topDiameter = diameter;
    return arrangeBars(As, b, h, cover, pos, parseDesignOptions(s).topBars);
}

TEST(BeamStirrups, DiameterGrowsUntilSpacingReaches100)
{
    // 2 legs, d 6: s = 2 * 0.7854 * 36 / 0.42 = 134.64 -> 2*6@135.
    EXPECT_EQ(stirrupString(stirrupsFor(0.42, 250, "2", "6")), "2*6@135");
    // 0.64: d 6 gives 88.36 < 100, d 8 gives 157.08 -> 2*8@157.
    EXPECT_EQ(stirrupString(stirrupsFor(0.64, 250, "2", "6")), "2*8@157");
    // Spacing is capped at 250.
    EXPECT_EQ(stirrupString(stirrupsFor(0.1, 250, "2", "6")), "2*6@250");
}

TEST(BeamStirrups, LegsFollowWidthUnlessTheBoxAsksForMore)
{
    EXPECT_EQ(stirrupsFor(0.42, 99, "", "6").legs, 1);
    EXPECT_EQ(stirrupsFor(0.42, 100, "", "6").legs, 2);
    EXPECT_EQ(stirrupsFor(0.42, 349, "", "6").legs, 2);
    EXPECT_EQ(stirrupsFor(0.42, 350, "", "6").legs, 4);
    EXPECT_EQ(stirrupsFor(0.42, 649, "2", "6").legs, 4); // the box asks for fewer
    EXPECT_EQ(stirrupsFor(0.42, 650, "x", "6").legs, 6);
    EXPECT_EQ(stirrupsFor(0.42, 250, "4", "6").legs, 4);
    EXPECT_EQ(stirrupsFor(0.42, 250, "-4", "6").legs, 2);
}

TEST(BeamStirrups, SectionTooSmallGets32At50)
{
    EXPECT_EQ(stirrupString(stirrupsFor(0, 250, "2", "6")), "2*32@50");
    EXPECT_EQ(stirrupString(stirrupsFor(0, 400, "2", "6")), "4*32@50");
}

TEST(BeamStirrups, DiameterBoxIsBounded)
{
    // Not a number or below 2: start at 2. 2 legs, Asv/s 0.02: s = 2 * 0.7854 * 4 / 0.02 = 314.16 -> 250.
    EXPECT_EQ(stirrupString(stirrupsFor(0.02, 250, "2", "")), "2*2@250");
    EXPECT_EQ(stirrupString(stirrupsFor(0.02, 250, "2", "1")), "2*2@250");
    // A huge demand stops growing at 50 mm: s = 2 * 0.7854 * 2500 / 100 = 39.27 -> 39.
    EXPECT_EQ(stirrupString(stirrupsFor(100, 250, "2", "6")), "2*50@39");
}

// Bar string of an arrangement.
std::string bars(double As, double b, double h, BarPosition pos, std::string_view count = "2",
                 std::string_view diameter = "zd", double cover = 25)
{
    return barString(arrange(As, b, h, cover, pos, count, diameter), pos);
}

TEST(BeamBars, ContinuousBarsAloneAreOneLayer)
{
    // 2 bars of 14 typed in: A1 = 0.7854 * 2 * 196 = 307.88 >= As.
    EXPECT_EQ(bars(300, 250, 400, BarPosition::Top, "2", "14"), "2,14+0,0 2/0");
    EXPECT_EQ(bars(300, 250, 400, BarPosition::Bottom, "2", "14"), "2,14+0,0 0/2");
    // Automatic, 250 x 400: 2 of 14; As = A1 exactly gives no additional bars.
    EXPECT_EQ(bars(0.7854 * 2 * 14 * 14, 250, 400, BarPosition::Top), "2,14+0,0 2/0");
}

TEST(BeamBars, AreaBelow220IsArrangedAs220)
{
    // 150 x 200 automatic: 2 of 12, A0 = 226.19. As 50 is taken as 220:
    // 220 / 226.19 = 0.97 keeps d 12, A1 >= 220 -> no additional bars.
    EXPECT_EQ(bars(50, 150, 200, BarPosition::Top), "2,12+0,0 2/0");
    // 2 of 10 typed in: A1 = 157.08; As 50 -> 220 needs 62.92 more:
    // D = sqrt(3.8 * 62.92 / 3.1416) = 8.72 -> size 12, |12 - 10| < 5.1: k = 1.
    // Layer: w = 250 - 50 = 200, s = 30, a = (200 + 30) / (10 + 30) = 5 > 3 bars.
    EXPECT_EQ(bars(50, 250, 400, BarPosition::Top, "2", "10"), "2,10+1,12 3/0");
    EXPECT_EQ(bars(220, 250, 400, BarPosition::Top, "2", "10"), "2,10+1,12 3/0");
}

TEST(BeamBars, AutomaticDiameterFollowsDepthAndArea)
{
    // 250 x 500: 2 of 16, A0 = 402.12.
    // As 250: 250 / 402.12 = 0.62 < 0.7 -> d 14, A1 = 307.88 suffices.
    EXPECT_EQ(bars(250, 250, 500, BarPosition::Top), "2,14+0,0 2/0");
    // As 1300: 3.23 > 3.15 -> d 18, A1 = 508.94, dA = 791.06, D = 30.93:
    // k 1: 30.93 > 25; k 2: 21.87 -> 22, |22 - 18| < 5.1. a = 230 / 48 = 4.
    EXPECT_EQ(bars(1300, 250, 500, BarPosition::Top), "2,18+2,22 4/0");
    // As 2800 > 2750 with b <= 300: d 25, A1 = 981.75, dA = 1818.25, D = 46.90:
    // k 4: 23.45 -> 25. Top spacing 1.5 * 25 = 37.5: a = 237.5 / 62.5 = 3, t = 3.
    EXPECT_EQ(bars(2800, 250, 500, BarPosition::Top), "2,25+4,25 3/3");
    // 400 x 700, As 1500: 4 of 18, A0 = 1017.88, dA = 482.12, D = 24.15:
    // k 1: 25, |25 - 18| = 7; k 2: 17.08 -> 18. a = 380 / 48 = 7 > 6 bars.
    EXPECT_EQ(bars(1500, 400, 700, BarPosition::Top), "4,18+2,18 6/0");
}

TEST(BeamBars, AdditionalBarsWorkedByHand)
{
    // 250 x 500, As 783: 2 of 16 (783 / 402.12 = 1.95), dA = 380.88,
    // D = sqrt(3.8 * 380.88 / 3.1416) = 21.46: k 1 -> 22 (|22 - 16| = 6),
    // k 2: 15.18 -> 16. w = 200; top a = 230 / 46 = 5, bottom a = 225 / 41 = 5; 4 bars.
    const BarArrangement top = arrange(783, 250, 500, 25, BarPosition::Top, "2", "zd");
    EXPECT_EQ(top.n, 2);
    EXPECT_EQ(top.d, 16);
    EXPECT_EQ(top.k, 2);
    EXPECT_EQ(top.e, 16);
    EXPECT_FALSE(top.searchFailed);
    EXPECT_EQ(barString(top, BarPosition::Top), "2,16+2,16 4/0");
    EXPECT_EQ(bars(783, 250, 500, BarPosition::Bottom), "2,16+2,16 0/4");
}

TEST(BeamBars, SecondLayerWhenTheWidthIsFull)
{
    // As 2478 on 250 x 500: 2478 / 402.12 = 6.16 -> d 18, A1 = 508.94, dA = 1969.06, D = 48.80:
    // k 1..3 above 25, k 4: 24.40 -> 25 (|25 - 18| = 7), k 5: 21.83 -> 22.
    // Top: a = (200 + 30) / (18 + 30) = 4, t = 3. Bottom: a = (200 + 25) / (18 + 25) = 5, t = 2.
    EXPECT_EQ(bars(2478, 250, 500, BarPosition::Top), "2,18+5,22 4/3");
    EXPECT_EQ(bars(2478, 250, 500, BarPosition::Bottom), "2,18+5,22 2/5");
    // 200 wide: a = (150 + 30) / 46 = 3 for 4 bars leaves one bar: 2 and 2.
    EXPECT_EQ(bars(783, 200, 500, BarPosition::Top), "2,16+2,16 2/2");
    // A failed section is arranged for 9999 mm2: 2 of 25, k 18 of 25; a = 237.5 / 62.5 = 3.
    EXPECT_EQ(bars(9999, 250, 500, BarPosition::Top), "2,25+18,25 3/17");
}

TEST(BeamBars, NarrowSectionKeepsTwoBarsInTheOuterLayer)
{
    // 60 wide with 25 cover: w = 10, (10 + 30) / (16 + 30) = 0 bars per layer -> 2.
    EXPECT_EQ(bars(783, 60, 500, BarPosition::Top), "2,16+2,16 2/2");
}

TEST(BeamBars, SearchWithoutAStandardSizeUsesTheContinuousDiameter)
{
    // 2 of 6 typed in: A1 = 56.55, As 500, dA = 443.45; every size is at least 12,
    // |12 - 6| >= 5.1. Fallback: k = ceil(443.45 / 28.27) = 16 of 6.
    // a = (200 + 30) / (6 + 30) = 6, t = 12.
    const BarArrangement small = arrange(500, 250, 500, 25, BarPosition::Top, "2", "6");
    EXPECT_TRUE(small.searchFailed);
    EXPECT_EQ(barString(small, BarPosition::Top), "2,6+16,6 6/12");
    // 2 of 28: A1 = 1231.50, As 1400, dA = 168.50, D = 14.28: sizes 12..16 are too far from 28.
    // k = ceil(168.50 / 615.75) = 1; top spacing 1.5 * 28 = 42, a = 242 / 70 = 3.
    EXPECT_EQ(bars(1400, 250, 500, BarPosition::Top, "2", "28"), "2,28+1,28 3/0");
}

TEST(BeamBars, CountAndDiameterBoxes)
{
    // Counts are rounded halves to even: "2.5" is 2, "3.5" is 4.
    EXPECT_EQ(arrange(300, 250, 400, 25, BarPosition::Top, "2.5", "14").n, 2);
    EXPECT_EQ(arrange(300, 250, 400, 25, BarPosition::Top, "3.5", "14").n, 4);
    // Boxes that do not hold a positive number leave the choice to the program (2 of 14 here).
    EXPECT_EQ(bars(300, 250, 400, BarPosition::Top, "abc", "20"), "2,14+0,0 2/0");
    EXPECT_EQ(bars(300, 250, 400, BarPosition::Top, "2", "-20"), "2,14+0,0 2/0");
    EXPECT_EQ(bars(300, 250, 400, BarPosition::Top, "0", "20"), "2,14+0,0 2/0");
    // "zd" must be exact to mean automatic; "ZD" is not a number either.
    EXPECT_EQ(bars(300, 250, 400, BarPosition::Top, "5", "ZD"), "2,14+0,0 2/0");
    // With "zd" the count box is not used.
    EXPECT_EQ(bars(300, 250, 400, BarPosition::Top, "5", "zd"), "2,14+0,0 2/0");
}

} // namespace
} // namespace kj
