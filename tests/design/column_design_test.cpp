#include "design/column_design.h"
#include "design/gb50010_2010.h"

#include <gtest/gtest.h>

namespace kj {
namespace {

// Fy 300, C25: fy 300, xib 0.544, fcf 12, fc 11.9.
const MaterialConstants kC25 = materialConstants(Materials{300, 25});

TEST(ColumnSection, LargeEccentricityWorkedByHand)
{
    // 400 x 400, M = 150, N = 480.8, l0 = 5 m.
    // h0 = 360; e0 = 150e6 / 480800 = 311.980 > 0.3 h0 = 108, so ei = e0.
    // zeta1 = 0.5 * 11.9 * 160000 / 480800 = 1.98 -> 1; l0/h = 12.5, zeta2 = 1.
    // eta = 1 + 12.5^2 * 360 / (1400 * 311.980) = 1.128786
    // e = 1.128786 * 311.980 + 200 - 40 = 512.1586
    // xi = 480800 / (12 * 400 * 360) = 0.278241 (480800 < 0.544 * 1728000 = 940032)
    // As = (480800 * 512.1586 - 0.278241 * (1 - 0.139120) * 12 * 400 * 360^2) / (300 * 340) = 953.313
    EXPECT_NEAR(columnSteel(150, 480.8, 400, 400, 5, kC25).As, 953.3130, 1e-3);
    EXPECT_NEAR(columnSteel(-150, 480.8, 400, 400, 5, kC25).As, 953.3130, 1e-3);
}

TEST(ColumnSection, SmallEccentricityWorkedByHand)
{
    // 400 x 400, M = 150, N = 1200, l0 = 5 m.
    // e0 = 125 > 108: ei = 125. zeta1 = 952000 / 1200000 = 0.793333.
    // eta = 1 + 156.25 * 0.793333 * 360 / (1400 * 125) = 1.255; e = 156.875 + 160 = 316.875
    // N' = 1.2e6 > 940032: K = (1.2e6 * 316.875 - 0.45 * 12 * 400 * 129600) / (0.256 * 320) = 1224536.13
    // xi = 0.544 + (1200000 - 940032) / (1224536.13 + 1728000) = 0.632049
    // As = (1.2e6 * 316.875 - 0.632049 * 0.683975 * 12 * 400 * 129600) / 102000 = 1091.383
    EXPECT_NEAR(columnSteel(150, 1200, 400, 400, 5, kC25).As, 1091.3829, 1e-3);
}

TEST(ColumnSection, SlenderColumnReducesZeta2)
{
    // 300 x 300, M = 50, N = 600, l0 = 6 m: l0/h = 20 > 15, zeta2 = 1.15 - 0.2 = 0.95.
    // h0 = 260, e0 = 83.333 > 78: ei = e0; zeta1 = 0.5 * 11.9 * 90000 / 600000 = 0.8925.
    // eta = 1 + 400 * 0.8925 * 0.95 * 260 / (1400 * 83.333) = 1.75582; e = 146.318 + 110 = 256.318
    // N' = 600000 > 0.544 * 12 * 300 * 260 = 509184: K = 786203.84, xi = 0.596732
    // As = 720.822
    EXPECT_NEAR(columnSteel(50, 600, 300, 300, 6, kC25).As, 720.8219, 1e-3);
}

TEST(ColumnSection, ShortColumnHasNoMagnifier)
{
    // l0/h = 3200 / 400 = 8: eta = 1, e = 311.980 + 160 = 471.980
    // As = (480800 * 471.980 - 0.278241 * 0.860880 * 622080000) / 102000 = 763.922
    EXPECT_NEAR(columnSteel(150, 480.8, 400, 400, 3.2, kC25).As, 763.9222, 1e-3);
}

TEST(ColumnSection, LightLoadGetsMinimumSteel)
{
    // M = 20, N = 1500, l0 = 6: e0 = 13.333 <= 108, ei = 13.333 + 0.12 * 94.667 = 24.693;
    // As works out at 353.2 < 0.0025 * 400 * 400 = 400.
    EXPECT_DOUBLE_EQ(columnSteel(20, 1500, 400, 400, 6, kC25).As, 400);
    // No moment at all.
    EXPECT_DOUBLE_EQ(columnSteel(0, 500, 400, 400, 5, kC25).As, 400);
}

TEST(ColumnSection, FailuresReport9999)
{
    // M = 300, N = 2500: As = 4368.3 > 0.025 * 400 * 400 = 4000.
    EXPECT_EQ(columnSteel(300, 2500, 400, 400, 5, kC25).As, 9999);
    // Tension or no axial force: not an eccentric compression member.
    EXPECT_EQ(columnSteel(50, -10, 400, 400, 5, kC25).As, 9999);
    EXPECT_EQ(columnSteel(50, 0, 400, 400, 5, kC25).As, 9999);
    // No depth left for the bars' lever arm.
    EXPECT_EQ(columnSteel(10, 100, 400, 80, 3, kC25).As, 9999);
}

} // namespace
// GB 50010-2010 columns: the bars' centre 40 mm from the face, so that
// h0 = h - 40 at both ends.
TEST(Gb2010Column, SteelCentreIs40MillimetresFromTheFace)
{
    const gb2010::Rules rules = gb2010::makeRules(360, 30);
    const gb2010::ColumnDesign d = gb2010::designColumn(80, -60, 400, 420, 400, 450, 3.6, true, rules);
    EXPECT_EQ(d.top.as, 40);
    EXPECT_EQ(d.top.h0, 410);
    EXPECT_EQ(d.foot.h0, 410);
}

} // namespace kj
