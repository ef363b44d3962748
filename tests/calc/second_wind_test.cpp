// The second wind case W2, the wind from the right with its own shape: the
// built-in sets take +W2 for -W, a mirrored W2 gives the envelope of -W, a
// larger W2 governs, and the texts of its refusals and warning.
#include "calc/envelope.h"
#include "calc/project.h"
#include "common/failure.h"
#include "design/design_rules.h"
#include "regular_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kj {
namespace {

std::string failureOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Failure& e) {
        return e.what();
    }
    return "(no failure)";
}

// A symmetric frame of two equal spans and two storeys; the wind as floor
// forces only, positive to the right.
LoadCaseInput frameCase(LoadCaseKind kind, double q, double floorForce)
{
    kjtest::RegularFrame f;
    f.storeys = 2;
    f.q = q;
    f.floorForce = floorForce;
    LoadCaseInput c;
    c.kind = kind;
    c.fileName = std::string("\\") + caseLetter(kind) + ".txt";
    c.model = kjtest::regularFrameModel(f);
    c.model.columnWeight = kind == LoadCaseKind::G;
    return c;
}

EnvelopeResult builtIn(const std::vector<LoadCaseInput>& cases)
{
    GivenCases given{};
    for (const LoadCaseInput& c : cases) given[static_cast<std::size_t>(c.kind)] = true;
    return calculateEnvelope(cases, combinationsFor(combinationSet("GB55001"), given), "GB 55001-2021", DesignOptions{});
}

TEST(SecondWind, BuiltInSetsTakePlusW2ForMinusW)
{
    const std::vector<Combination> list =
        combinationsFor(combinationSet("GB55001"), GivenCases{true, true, true, false, true});
    std::vector<std::string> names;
    for (const Combination& c : list) names.push_back(c.name);
    EXPECT_EQ(names.size(), 16u);
    EXPECT_NE(std::find(names.begin(), names.end(), "1.3G+1.5W2"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "1.3G+1.5Q+0.9W2"), names.end());
    for (const std::string& n : names) EXPECT_EQ(n.find("-"), std::string::npos) << n;
    EXPECT_EQ(combinationSet("GB50009").rowsWith({}, true)[2], "1.2G+1.4Q+0.84W2");
    EXPECT_EQ(parseCombination("1.0g + 1.4 w2 + 0.98Q").name, "1.0G+0.98Q+1.4W2");
    EXPECT_EQ(caseKindOf("w2"), LoadCaseKind::W2);
    EXPECT_EQ(caseLetter(LoadCaseKind::W2), std::string("W2"));
}

TEST(SecondWind, RefusalsAndTheWarningOfAWindPointingTheSameWay)
{
    EXPECT_EQ(failureOf([] { parseCombination("1.3G-1.5W2"); }),
              "荷载组合 \"1.3G-1.5W2\" 中 W2 取了负号: W2 是右风工况, 其荷载按所给方向计入, 不可反号 (左风用 W)");
    EXPECT_EQ(failureOf([] { checkCombinationCases({parseCombination("1.3G+1.5W2")}, GivenCases{true, false, true}); }),
              "荷载组合 1.3G+1.5W2 用到了风载 W2, 但没有给出它的数据文件");
    const LoadCaseInput g = frameCase(LoadCaseKind::G, 20, 0), w = frameCase(LoadCaseKind::W, 0, 10);
    const EnvelopeResult same = builtIn({g, w, frameCase(LoadCaseKind::W2, 0, 8)});
    ASSERT_EQ(same.warnings.size(), 1u);
    EXPECT_EQ(same.warnings[0], "风载 W2 的数据文件 \\W2.txt 的层剪力与风载 W 同向: W2 应为右风, 其水平荷载应向左给出 "
                                "(W2 的荷载按所给方向计入, 不反号)");
    EXPECT_TRUE(builtIn({g, w, frameCase(LoadCaseKind::W2, 0, -8)}).warnings.empty());
}

TEST(SecondWind, MirroredW2GivesTheEnvelopeOfMinusWAndALargerOneGoverns)
{
    const LoadCaseInput g = frameCase(LoadCaseKind::G, 20, 0), w = frameCase(LoadCaseKind::W, 0, 10);
    const EnvelopeResult minusW = builtIn({g, w});
    // The frame is symmetric and the wind is floor forces only: its mirror is -W.
    const EnvelopeResult mirrored = builtIn({g, w, frameCase(LoadCaseKind::W2, 0, -10)});
    const InternalForces &a = minusW.envelope.forces, &b = mirrored.envelope.forces;
    const FrameTopology& t = minusW.envelope.topo();
    for (std::size_t i = 1; i < a.M1.size(); ++i) {
        EXPECT_NEAR(a.M1[i], b.M1[i], 1e-9) << i;
        EXPECT_NEAR(a.M2[i], b.M2[i], 1e-9) << i;
    }
    for (std::size_t i = 1; i <= static_cast<std::size_t>(t.NB); ++i) {
        EXPECT_NEAR(a.V1[i], b.V1[i], 1e-9) << i;
        EXPECT_NEAR(a.V2[i], b.V2[i], 1e-9) << i;
        EXPECT_NEAR(a.Mo[i], b.Mo[i], 1e-9) << i;
    }
    for (std::size_t i = 1; i < a.N.size(); ++i) EXPECT_NEAR(a.N[i], b.N[i], 1e-9) << i;
    ASSERT_EQ(mirrored.windDrifts.size(), 0u); // the default method checks no drifts

    // A stronger right wind: 15 kN a level against W's 10. Its combination
    // is 1.3G - 2.25W of the frame without W2, and it governs the feet.
    const EnvelopeResult larger = builtIn({g, w, frameCase(LoadCaseKind::W2, 0, -15)});
    const auto combination = [](const EnvelopeResult& e, const std::string& name) -> const CombinationResult& {
        return *std::find_if(e.combinations.begin(), e.combinations.end(),
                             [&](const CombinationResult& c) { return c.combination.name == name; });
    };
    const EnvelopeResult byHand =
        calculateEnvelope({g, w}, {parseCombination("1.3G-2.25W")}, "自定义", DesignOptions{});
    const InternalForces& w2 = combination(larger, "1.3G+1.5W2").forces;
    for (std::size_t i = 1; i < w2.M1.size(); ++i) EXPECT_NEAR(w2.M2[i], byHand.combinations[0].forces.M2[i], 1e-9);
    int byW2 = 0;
    for (int c = 1; c <= t.NC; ++c) {
        const std::size_t m = static_cast<std::size_t>(t.columnMember(c));
        EXPECT_GE(std::fabs(larger.envelope.forces.M2[m]) + 1e-9, std::fabs(a.M2[m]));
        if (larger.name(larger.columnGoverning[static_cast<std::size_t>(c)].bottom).find("W2") != std::string::npos) ++byW2;
    }
    EXPECT_GT(byW2, 0);

    // The storey drifts: the larger of W and W2, storey by storey.
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const auto drifts = [&](const std::vector<LoadCaseInput>& cases) {
        return calculateEnvelope(cases, {parseCombination("1.3G")}, "自定义", o, gb50010_2010Rules()).windDrifts;
    };
    const std::vector<StoreyDrift> byW = drifts({g, w}), both = drifts({g, w, frameCase(LoadCaseKind::W2, 0, -15)});
    ASSERT_EQ(both.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_NEAR(both[k].drift, -1.5 * byW[k].drift, 1e-9);
        EXPECT_NEAR(both[k].ratio, 1.5 * byW[k].ratio, 1e-12);
    }
}

TEST(SecondWind, ProjectFileKeepsW2AndRefusesACombinationWithoutIt)
{
    const auto project = [](const std::string& w2, const std::string& combinations) {
        return std::string(R"({"schema": "kjpj-project/1", "name": "P", "spans": [6], "storeys": [3.6],
  "sections": {"B": [250, 500], "C": [400, 400]}, "beams": [["B"]], "columns": [["C", "C"]],
  "cases": {"G": {"beamLoads": [[[{"q": 20}]]], "jointLoads": [], "floorForces": []},
            "W": {"beamLoads": [[[]]], "jointLoads": [], "floorForces": [{"level": 1, "H": 10}]})") +
               w2 + R"(}, "materials": {"concrete": 30, "fy": 360}, "combinations": )" + combinations + "}";
    };
    const Project p = parseProject(
        project(R"(, "W2": {"beamLoads": [[[]]], "jointLoads": [], "floorForces": [{"level": 1, "H": -12}]})",
                R"("GB55001")"),
        "\\p.kjpj");
    ASSERT_NE(p.findCase(LoadCaseKind::W2), nullptr);
    EXPECT_EQ(parseProject(projectJson(p), "\\p.kjpj").findCase(LoadCaseKind::W2)->floorForces[0].H, -12);
    EXPECT_EQ(failureOf([&] { parseProject(project("", R"(["1.3G+1.5W2"])"), "\\p.kjpj"); }),
              "项目文件 \\p.kjpj: combinations 荷载组合 1.3G+1.5W2 用到了风载 W2, 但没有给出它的数据文件");
}

} // namespace
} // namespace kj
