// The typed result of a calculation: equilibrium of the example frames, the
// JSON view read back, and boundaries of the rules that a changed constant
// would move.
#include "calc/calculation.h"
#include "calc/json_output.h"
#include "calc/options.h"
#include "calc/report.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/textfile.h"
#include "design/beam_design.h"
#include "design/column_design.h"
#include "regular_frame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kj {
namespace {

CalculationResult calculateExample(const std::string& name, const DesignOptions& options = {})
{
    const std::string slot = "\\" + name + ".txt";
    FrameFileReader reader(readTextFile(std::filesystem::path(KJ_EXAMPLES_DIR) / (name + ".txt"), slot), slot);
    FrameModel model = buildModel(reader.readRecords1to5());
    model.materials = reader.readMaterials();
    return calculate(model, options);
}

TEST(CalculationResult, ExampleFramesAreInEquilibrium)
{
    for (const char* name : {"KJ-1", "KJ-2", "KJ-3", "CB-1"}) {
        const CalculationResult r = calculateExample(name);
        const EquilibriumResiduals& e = r.residuals;
        ASSERT_GT(e.largestEndForce, 1) << name;
        EXPECT_LT(e.largest(), 1e-9 * e.largestEndForce) << name;
        EXPECT_EQ(e.joint.size(), static_cast<std::size_t>(r.topo().NC) + 1) << name;
        // The forces along a beam close on its end values.
        for (int i = 1; i <= r.topo().NB; ++i) {
            const MemberForces& a = r.forces.along[static_cast<std::size_t>(i)];
            EXPECT_NEAR(a.M(a.length), -r.forces.M2[i], 1e-9 * e.largestEndForce) << name << " beam " << i;
            EXPECT_NEAR(a.V(a.length, true), r.forces.V2[i], 1e-9 * e.largestEndForce) << name << " beam " << i;
            EXPECT_NEAR(a.M(a.xMax), r.forces.Mo[i], 1e-9 * e.largestEndForce) << name << " beam " << i;
        }
    }
}

TEST(CalculationResult, JsonReadBackGivesTheReportsNumbers)
{
    const CalculationResult r = calculateExample("KJ-1");
    const nlohmann::json j = nlohmann::json::parse(resultJson(r));
    EXPECT_EQ(j["schema"], kResultSchema);
    EXPECT_EQ(j["units"]["moment"], "kN·m");
    EXPECT_EQ(j["rules"], "原方法");
    ASSERT_EQ(j["members"].size(), 5u);
    // KJ-1 worked by hand through the report: M1 -34.63 -> -35, V1 53.66 -> 54, As 258, Mo 37.35.
    const nlohmann::json& beam1 = j["members"][0];
    EXPECT_NEAR(beam1["M1"].get<double>(), -34.63, 0.005);
    EXPECT_EQ(beam1["design"]["left"]["M"].get<double>(), -35);
    EXPECT_EQ(beam1["design"]["left"]["V"].get<double>(), 54);
    EXPECT_NEAR(beam1["Mo"].get<double>(), 37.35, 0.005);
    // Every number is the result's own, to the last bit.
    EXPECT_EQ(beam1["V1"].get<double>(), r.forces.V1[1]);
    EXPECT_EQ(j["members"][2]["design"]["top"]["As"].get<double>(), r.columns[1].top.As);
    // The report's rows are the JSON's design values.
    ReportWriter w;
    writeDesignTables(w, r);
    const std::string row = " 1   -35    54 ";
    EXPECT_EQ(w.str().find(row), w.str().find("梁号") + w.str().substr(w.str().find("梁号")).find("\r\n") + 2);
    EXPECT_LT(j["equilibrium"]["largestResidual"].get<double>(), 1e-9 * j["equilibrium"]["largestEndForce"].get<double>());
}

TEST(Displacements, PortalDriftInMillimetresByHand)
{
    // H = 100 kN at the beam of a fixed-base portal, C25: Ec = 2.80e4 N/mm2.
    // Slope deflection with r = kb/kc: drift = H h^3 (2 + 3r) / (12 Ec Ic (1 + 6r)),
    // both joints turning clockwise by 6 drift / (h (4 + 6r)).
    const std::string text = "P,1,1,1,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n103100.0\r\n300,25\r\n";
    FrameFileReader reader(text, "\\P.txt");
    FrameModel model = buildModel(reader.readRecords1to5());
    model.materials = reader.readMaterials();
    const CalculationResult r = calculate(model, DesignOptions{});
    const double Ec = 2.8e7, h = 3.6, Ic = 0.4 * 0.4 * 0.4 * 0.4 / 12, Ib = 0.25 * 0.5 * 0.5 * 0.5 / 12;
    const double ratio = (Ib / 6) / (Ic / h);
    const double drift = 100 * h * h * h * (2 + 3 * ratio) / (12 * Ec * Ic * (1 + 6 * ratio)); // 5.064 mm
    const double theta = -6 * drift / (h * (4 + 6 * ratio));
    EXPECT_EQ(r.displacements.Ec, 28000);
    EXPECT_NEAR(r.displacements.drift[1], drift * 1000, 1e-9 * drift * 1000);
    EXPECT_NEAR(r.displacements.drift[1], 5.064, 0.001);
    EXPECT_NEAR(r.displacements.driftRatio[1], drift / h, 1e-9 * drift / h);
    for (int n : {1, 2}) EXPECT_NEAR(r.displacements.rotation[n], theta, 1e-9 * -theta) << n;
    // The same numbers in the JSON, beside the stiffness-unit values.
    const nlohmann::json j = nlohmann::json::parse(resultJson(r));
    EXPECT_EQ(j["materials"]["Ec"].get<double>(), 28000);
    EXPECT_EQ(j["storeys"][0]["driftMm"].get<double>(), r.displacements.drift[1]);
    EXPECT_EQ(j["storeys"][0]["driftRatio"].get<double>(), r.displacements.driftRatio[1]);
    EXPECT_EQ(j["storeys"][0]["drift"].get<double>(), r.forces.displacement[3]);
    EXPECT_EQ(j["joints"][1]["rotationRad"].get<double>(), r.displacements.rotation[2]);
    // A stiffness factor on the beam changes the drift but not what the loads alone fix.
    model.members[1].stiffnessFactor = 2;
    const CalculationResult stiffer = calculate(model, DesignOptions{});
    const double r2 = 2 * ratio;
    EXPECT_NEAR(stiffer.displacements.drift[1] / r.displacements.drift[1],
                (2 + 3 * r2) / (1 + 6 * r2) * (1 + 6 * ratio) / (2 + 3 * ratio), 1e-9);
}

// Past 999 members the member numbers take four digits: their column and
// every column after it move one to the right, no row is wrapped.
TEST(LargeFrames, SixtySpansOfTwentyStoreysWidenTheMemberColumn)
{
    kjtest::RegularFrame f;
    f.spans = 60;
    f.storeys = 20;
    f.columnB = f.columnH = 0.8;
    const CalculationResult r = calculate(kjtest::regularFrameModel(f), DesignOptions{});
    ASSERT_EQ(memberNumberWidening(r.topo()), 1);
    EXPECT_EQ(memberNumberWidening(FrameTopology::of(30, 12)), 0); // 360 beams, 372 columns
    ReportWriter w;
    writeDesignTables(w, r);
    const std::string report = w.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1 + 1 + 2 * 1200 + 1 + 1220 + 1);
    EXPECT_NE(report.find("\r\n梁号    M1  "), std::string::npos);
    EXPECT_NE(report.find("\r\n 1    -"), std::string::npos);
    EXPECT_NE(report.find("\r\n 1200 -"), std::string::npos);
    EXPECT_NE(report.find("\r\n 1220 "), std::string::npos);
}

TEST(LargeFrames, ThirtyStoreysOfTwelveSpansCalculateAndFormat)
{
    kjtest::RegularFrame f;
    f.spans = 12;
    f.storeys = 30;
    f.floorForce = 10;
    f.columnB = f.columnH = 0.8;
    const CalculationResult r = calculate(kjtest::regularFrameModel(f), DesignOptions{});
    const FrameTopology& t = r.topo();
    ASSERT_EQ(t.NB, 360);
    ASSERT_EQ(t.NC, 390);
    EXPECT_LT(r.residuals.largest(), 1e-9 * r.residuals.largestEndForce);
    // The drift of the ground storey: every storey's shear summed from the top.
    EXPECT_GT(r.displacements.drift[30], 0);
    // One row and one bar row per beam, one row per column, none wrapped:
    // three-digit member numbers keep the columns of the table.
    ReportWriter w;
    writeDesignTables(w, r);
    const std::string report = w.str();
    std::size_t lines = 0;
    for (std::size_t p = report.find("\r\n"); p != std::string::npos; p = report.find("\r\n", p + 2)) ++lines;
    EXPECT_EQ(lines, 1u + 1 + 2 * 360 + 1 + 390 + 1); // blank, material line, beams, column header, columns
    EXPECT_NE(report.find("\r\n 360  "), std::string::npos);
    EXPECT_NE(report.find("\r\n 390  "), std::string::npos);
    auto countLines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    EXPECT_EQ(countLines(beamBarsText(r)), 360);
    EXPECT_EQ(countLines(forceDiagramText(r)), 360 + 390);
    const nlohmann::json j = nlohmann::json::parse(resultJson(r));
    EXPECT_EQ(j["members"].size(), 750u);
    EXPECT_EQ(j["joints"].size(), 390u);
    EXPECT_EQ(j["storeys"][0]["driftMm"].get<double>(), r.displacements.drift[30]); // from the ground up
}

// Boundaries of the rules: each one is moved by a changed constant.
TEST(RuleBoundaries, DesignConstantsSitWhereTheRulesPutThem)
{
    const MaterialConstants c25 = materialConstants(Materials{300, 25});
    // Two layers of bars (h0 = h - 60) only above M = 0.4 h.
    EXPECT_EQ(flexureDesign(200, 250, 500, c25).h0, 465);
    EXPECT_EQ(flexureDesign(200.001, 250, 500, c25).h0, 440);
    // The additional eccentricity 0.12 (0.3 h0 - e0) of a nearly axial load:
    // e0 = 20e6 / 1.5e6 = 13.333, 0.3 h0 = 108, ei = 13.333 + 0.12 * 94.667 = 24.693.
    EXPECT_NEAR(columnSteel(20, 1500, 400, 400, 6, c25).ei, 24.6933, 1e-4);
    // 25 mm continuous bars above 2750 mm2 up to 300 wide, above 3950 mm2 when wider.
    EXPECT_NE(arrangeBars(2750, 300, 600, 25, BarPosition::Top, std::nullopt).d, 25);
    EXPECT_EQ(arrangeBars(2751, 300, 600, 25, BarPosition::Top, std::nullopt).d, 25);
    EXPECT_NE(arrangeBars(3950, 301, 600, 25, BarPosition::Top, std::nullopt).d, 25);
    EXPECT_EQ(arrangeBars(3951, 301, 600, 25, BarPosition::Top, std::nullopt).d, 25);
    // The bottom storey is the last NF-th of the columns.
    const FrameTopology t = FrameTopology::of(1, 2);
    EXPECT_FALSE(t.bottomStorey(2));
    EXPECT_TRUE(t.bottomStorey(3));
    // Renewal is the number 1 only.
    EXPECT_EQ(parseRenewal("1"), ReportRenewal::Renew);
    EXPECT_EQ(parseRenewal(" 1.0"), ReportRenewal::Renew);
    for (const char* other : {"0", "2", "-1", "y", ""}) EXPECT_EQ(parseRenewal(other), ReportRenewal::Append) << other;
}

TEST(RuleBoundaries, SectionsFrom51MillimetresAreDesigned)
{
    for (double b : {0.051, 0.0509}) {
        CalculationResult r = calculateExample("KJ-1");
        r.model.members[1].b = b;
        designMembers(r, defaultRules());
        EXPECT_EQ(r.beams[1].designed, b >= 0.051) << b;
    }
}

TEST(RuleBoundaries, LoadsMayOverrunTheSpanByOneMillimetre)
{
    // Two loaded lengths of 3 m laid end to end reach 6 m.
    EXPECT_NO_THROW(spanLoadEntries("2 10.03.00 10.03.00", 5.9991, 1, "f"));
    EXPECT_THROW(spanLoadEntries("2 10.03.00 10.03.00", 5.9989, 1, "f"), Failure);
}

TEST(RuleBoundaries, PivotsBelowOneMillionthOfAMillionthOfTheirDiagonalStopTheSolution)
{
    FrameModel m;
    m.topo = FrameTopology::of(1, 1);
    for (double delta : {2e-12, 0.5e-12}) {
        // [[1, 1, 0], [1, 1 + delta, 0], [0, 0, 1]]: the second pivot is delta.
        StiffnessSystem s;
        s.N = 3;
        s.P.assign(4, 1.0);
        s.add(1, 1, 1);
        s.add(2, 1, 1);
        s.add(2, 2, 1 + delta);
        s.add(3, 3, 1);
        if (delta > 1e-12) EXPECT_NO_THROW(solve(s, m));
        else EXPECT_THROW(solve(s, m), Failure);
    }
}


// The JSON's storeys, member kinds and a continuous beam's props, each
// against the data file.
TEST(CalculationResult, JsonStoreysKindsAndContinuousBeamProps)
{
    // KJ-2: storey heights 3.60 m (top) and 3.90 m, from its length numbers;
    // the JSON counts and lists storeys from the ground.
    const nlohmann::json j = nlohmann::json::parse(resultJson(calculateExample("KJ-2")));
    ASSERT_EQ(j["storeys"].size(), 2u);
    EXPECT_EQ(j["storeys"][0]["storey"], 1);
    EXPECT_DOUBLE_EQ(j["storeys"][0]["height"].get<double>(), 3.9);
    EXPECT_DOUBLE_EQ(j["storeys"][1]["height"].get<double>(), 3.6);
    EXPECT_EQ(j["members"][0]["kind"], "beam");
    EXPECT_EQ(j["members"][5]["kind"], "beam");
    EXPECT_EQ(j["members"][6]["kind"], "column");
    EXPECT_EQ(j["members"][6]["number"], 1);
    // CB-1: a continuous beam's columns are props of the program's own, not designed.
    const nlohmann::json cb = nlohmann::json::parse(resultJson(calculateExample("CB-1")));
    ASSERT_EQ(cb["members"].size(), 7u);
    for (int i = 3; i < 7; ++i) {
        EXPECT_EQ(cb["members"][i]["kind"], "column");
        EXPECT_EQ(cb["members"][i]["design"]["skipped"], "连续梁的支座, 不配筋") << i;
    }
    EXPECT_TRUE(cb["members"][0]["design"].contains("left"));
}

} // namespace
} // namespace kj
