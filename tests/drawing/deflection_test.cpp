// The deflected shape against the joint rotations and drifts it is built
// from, and a clamped span against its hand result.
#include "deflection.h"
#include "drawing_support.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DeflectedShape, EndSlopesAreTheJointRotationsAndEndsSwayWithTheirLevels)
{
    const kj::FileCalculation fc = kjtest::calculateExample("KJ-2");
    const kj::CalculationResult& r = fc.calculation;
    const kj::FrameTopology& t = r.topo();
    const kjd::DeflectedShape shape = kjd::deflectedShape(r);
    const auto theta = [&](int node) { return node == 0 ? 0.0 : r.forces.displacement[static_cast<std::size_t>(node)]; };
    double scale = 0;
    for (int n = 1; n <= t.NC; ++n) scale = std::max(scale, std::fabs(theta(n)));
    ASSERT_GT(scale, 0);
    for (int i = 1; i <= t.memberCount(); ++i) {
        const kjd::DeflectedMember& d = shape.members[static_cast<std::size_t>(i)];
        int n1, n2;
        if (t.isBeam(i)) {
            n1 = t.leftNode(i), n2 = t.rightNode(i);
            // The beam stays at its level at both ends and moves with its level's sway.
            EXPECT_NEAR(d.dy.front(), 0, 1e-9 * scale);
            EXPECT_NEAR(d.dy.back(), 0, 1e-9 * scale);
            EXPECT_DOUBLE_EQ(d.dx.front(), shape.sway[static_cast<std::size_t>(t.beamStorey(i))]);
        } else {
            const int c = i - t.NB;
            n1 = t.topNode(c), n2 = t.bottomNode(c);
            const int level = t.columnStorey(c);
            EXPECT_NEAR(d.dx.front(), shape.sway[static_cast<std::size_t>(level)], 1e-9 * scale);
            EXPECT_NEAR(d.dx.back(), shape.sway[static_cast<std::size_t>(level + 1)], 1e-9 * scale);
        }
        // Counter-clockwise joint rotations turn the right-of-travel deflection backward.
        EXPECT_NEAR(d.slope.front(), -theta(n1), 1e-7 * scale) << t.memberName(i);
        EXPECT_NEAR(d.slope.back(), -theta(n2), 1e-7 * scale) << t.memberName(i);
    }
    // Level sways are the drifts summed from the ground up.
    EXPECT_EQ(shape.sway[static_cast<std::size_t>(t.NF + 1)], 0);
    EXPECT_NEAR(shape.sway[1] - shape.sway[2], r.forces.displacement[static_cast<std::size_t>(t.drift(1))], 1e-12 * scale);
}

TEST(DeflectedShape, ClampedSpanSagsByTheHandResult)
{
    const kj::FileCalculation fc = kjtest::calculateText(kjtest::kClampedBeam);
    const auto shape = kjd::deflectedShape(fc.calculation);
    const kjd::DeflectedMember& d = shape.members[1];
    // w L^4 / (384 EI) with b h^3 = 0.25 * 0.5^3 in place of EI: 2160, downward.
    double lowest = 0;
    for (double v : d.dy) lowest = std::min(lowest, v);
    EXPECT_NEAR(lowest, -2160, 2160 * 0.01);
    EXPECT_LT(d.dy[d.dy.size() / 2], 0);
}
