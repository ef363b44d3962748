// The second wind case W2, the wind from the right with its own shape: the
// built-in sets take +W2 for -W, a mirrored W2 gives the envelope of -W, a
// larger W2 governs, and the texts of its refusals and warning.
#include "calc/envelope.h"
#include "common/failure.h"
#include "design/design_rules.h"
#include "regular_frame.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kj {
namespace {

// Two equal spans, two storeys: symmetric. The wind is floor forces only,
// positive to the right, so the mirror of W is -W.
LoadCaseInput frameCase(LoadCaseKind kind, double q, double floorForce)
{
    kjtest::RegularFrame f;
    f.storeys = 2;
    f.q = q;
    f.floorForce = floorForce;
    return kjtest::regularFrameCase(kind, f);
}

EnvelopeResult builtIn(const std::vector<LoadCaseInput>& cases, const DesignOptions& o = {},
                       const DesignRules& rules = defaultRules())
{
    GivenCases given{};
    for (const LoadCaseInput& c : cases) given[static_cast<std::size_t>(c.kind)] = true;
    return calculateEnvelope(cases, combinationsFor(combinationSet("GB55001"), given), "GB 55001-2021", o, rules);
}

using kjtest::failureOf;

TEST(SecondWind, RowsRefusalsAndTheWarningOfAWindPointingTheSameWay)
{
    EXPECT_EQ(combinationSet("GB50009").rowsWith({}, true)[2], "1.2G+1.4Q+0.84W2");
    EXPECT_EQ(parseCombination("1.0g + 1.4 w2 + 0.98Q").name, "1.0G+0.98Q+1.4W2");
    EXPECT_EQ(failureOf([] { parseCombination("1.3G-1.5W2"); }),
              "荷载组合 \"1.3G-1.5W2\" 中 W2 取了负号: W2 是右风工况, 其荷载按所给方向计入, 不可反号 (左风用 W)");
    EXPECT_EQ(failureOf([] { checkCombinationCases({parseCombination("1.3G+1.5W2")}, GivenCases{true, false, true}); }),
              "荷载组合 1.3G+1.5W2 用到了风载 W2, 但没有给出它的数据文件");
    const LoadCaseInput g = frameCase(LoadCaseKind::G, 20, 0), w = frameCase(LoadCaseKind::W, 0, 10);
    const EnvelopeResult same = builtIn({g, w, frameCase(LoadCaseKind::W2, 0, 8)});
    EXPECT_EQ(same.warnings, std::vector<std::string>{"风载 W2 的数据文件 \\W2.txt 的层剪力与风载 W 同向: W2 应为右风, "
                                                      "其水平荷载应向左给出 (W2 的荷载按所给方向计入, 不反号)"});
    for (const CombinationResult& c : same.combinations) EXPECT_EQ(c.combination.name.find('-'), std::string::npos);
    EXPECT_TRUE(builtIn({g, w, frameCase(LoadCaseKind::W2, 0, -8)}).warnings.empty());
    EXPECT_EQ(builtIn({g, w, frameCase(LoadCaseKind::W2, 5, -8)}).warnings,
              std::vector<std::string>{"风载 W2 的数据文件 \\W2.txt 在第 1、2、3、4 号梁上有荷载: 梁上的重力荷载应放在 G 或 Q 中"});
}

TEST(SecondWind, MirroredW2GivesTheEnvelopeOfMinusWAndALargerOneGoverns)
{
    const LoadCaseInput g = frameCase(LoadCaseKind::G, 20, 0), w = frameCase(LoadCaseKind::W, 0, 10);
    const EnvelopeResult minusW = builtIn({g, w}), mirrored = builtIn({g, w, frameCase(LoadCaseKind::W2, 0, -10)});
    const InternalForces &a = minusW.envelope.forces, &b = mirrored.envelope.forces;
    const FrameTopology& t = minusW.envelope.topo();
    for (std::size_t i = 1; i <= static_cast<std::size_t>(t.memberCount()); ++i) {
        EXPECT_NEAR(a.M1[i], b.M1[i], 1e-9);
        EXPECT_NEAR(a.M2[i], b.M2[i], 1e-9);
        if (i > static_cast<std::size_t>(t.NB)) continue;
        EXPECT_NEAR(a.V1[i], b.V1[i], 1e-9);
        EXPECT_NEAR(a.V2[i], b.V2[i], 1e-9);
        EXPECT_NEAR(a.Mo[i], b.Mo[i], 1e-9);
    }

    // 15 kN a level against W's 10: "1.3G+1.5W2" is 1.3G - 2.25W, and it
    // governs the column feet.
    const EnvelopeResult larger = builtIn({g, w, frameCase(LoadCaseKind::W2, 0, -15)});
    const InternalForces byHand =
        calculateEnvelope({g, w}, {parseCombination("1.3G-2.25W")}, "自定义", DesignOptions{}).combinations[0].forces;
    for (const CombinationResult& c : larger.combinations) {
        if (c.combination.name != "1.3G+1.5W2") continue;
        for (std::size_t i = 1; i < byHand.M2.size(); ++i) EXPECT_NEAR(c.forces.M2[i], byHand.M2[i], 1e-9);
    }
    int byW2 = 0;
    for (int c = 1; c <= t.NC; ++c) {
        const std::size_t m = static_cast<std::size_t>(t.columnMember(c));
        if (larger.name(larger.columnGoverning[static_cast<std::size_t>(c)].bottom).find("W2") == std::string::npos)
            continue;
        ++byW2;
        EXPECT_GT(std::fabs(larger.envelope.forces.M2[m]), std::fabs(a.M2[m]) + 1);
    }
    EXPECT_GE(byW2, 2);

    // Storey drifts: the larger of W and W2, storey by storey.
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const auto byW = builtIn({g, w}, o, gb50010_2010Rules()).windDrifts;
    const auto both = builtIn({g, w, frameCase(LoadCaseKind::W2, 0, -15)}, o, gb50010_2010Rules()).windDrifts;
    ASSERT_EQ(both.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) EXPECT_NEAR(both[k].drift, -1.5 * byW[k].drift, 1e-9);
}

} // namespace
} // namespace kj
