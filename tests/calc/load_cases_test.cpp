// Load cases, combinations and the design from their envelope: linearity
// against plain runs, a frame checked by hand, symmetry under the wind from
// both sides, and the refusals.
#include "calc/envelope.h"
#include "calc/envelope_report.h"
#include "calc/load_cases.h"
#include "calc/report.h"
#include "common/failure.h"
#include "common/textfile.h"

#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace kj {
namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

std::string exampleText(const std::string& name)
{
    return readTextFile(std::filesystem::path(KJ_EXAMPLES_DIR) / (name + ".txt"), name);
}

std::vector<Combination> parsed(std::initializer_list<const char*> texts)
{
    std::vector<Combination> out;
    for (const char* t : texts) out.push_back(parseCombination(t));
    return out;
}

using kjtest::failureOf;

// The frame of KJ-1 (two 6 m spans, one 3.6 m storey, beams 250x500,
// columns 400x400): dead load 20 kN/m and 50 kN on the outer joints, live
// load 20 kN/m, wind 80 kN from the left as the storey shear.
const char* kHandG = "H,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n300,25\r\n";
const char* kHandQ = "HQ,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n300,25\r\n";
const char* kHandW = "HW,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n0,0\r\n104 80.0   0.0\r\n300,25\r\n";

std::vector<LoadCaseInput> handCases()
{
    return {readLoadCase(LoadCaseKind::G, kHandG, "\\H.txt"), readLoadCase(LoadCaseKind::Q, kHandQ, "\\HQ.txt"),
            readLoadCase(LoadCaseKind::W, kHandW, "\\HW.txt")};
}

TEST(Combinations, AreReadWrittenAndChosenByTheCasesGiven)
{
    EXPECT_EQ(parseCombination("1.5q + 1.3 G - .9*w").name, "1.3G+1.5Q-0.9W");
    EXPECT_EQ(parseCombination("G+Q").name, "1.0G+1.0Q");
    EXPECT_EQ(parseCombination("1.3G-1.5W").factor(LoadCaseKind::W), -1.5);
    for (const char* bad : {"", "1.3G+", "1.3G+1.5X", "1.3G1.5Q", "-1.0G", "1.3G-1.5Q", "1.3G+1.2G", "0G", "1..3G"})
        EXPECT_NE(failureOf([&] { parseCombination(bad); }).find("荷载组合"), std::string::npos) << bad;
    EXPECT_NE(failureOf([&] { parseCombination("1.3G-1.5Q"); }).find("只有风载 W 可取负号"), std::string::npos);

    // Every row of the built-in tables is written as its own name.
    for (const CombinationSet& set : builtInCombinationSets())
        for (const std::string& row : set.rows) EXPECT_EQ(parseCombination(row).name, row);
    EXPECT_EQ(combinationSet("gb 55001-2021").rows.size(), 16u);
    EXPECT_EQ(combinationSet("GB50009").rows.size(), 21u);
    EXPECT_NE(failureOf([] { combinationSet("GB50010"); }).find("GB55001, GB50009"), std::string::npos);
    // Without the wind only the rows without W remain.
    std::vector<std::string> names;
    for (const Combination& c : combinationsFor(combinationSet("GB55001"), {true, true, false})) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"1.3G+1.5Q", "1.3G", "1.0G+1.5Q", "1.0G"}));
    EXPECT_NE(failureOf([] { checkCombinationCases(parsed({"1.3G+1.5Q"}), {true, false, false}); }).find("活载 Q"),
              std::string::npos);
}

TEST(LoadCases, OneDeadLoadCaseAloneIsThePlainCalculation)
{
    // KJ-2 has every kind of span load and joint load; redistribution 0.8.
    DesignOptions o;
    o.beta = 0.8;
    const LoadCaseInput g = readLoadCase(LoadCaseKind::G, exampleText("KJ-2"), "\\KJ-2.txt");
    const EnvelopeResult e = calculateEnvelope({g}, parsed({"1.0G"}), "自定义", o);
    const CalculationResult plain = calculate(g.model, o);
    const InternalForces& a = e.combinations[0].forces;
    const InternalForces& b = plain.forces;
    const double scale = plain.residuals.largestEndForce;
    for (int i = 1; i <= plain.topo().memberCount(); ++i) {
        EXPECT_EQ(a.M1[z(i)], b.M1[z(i)]) << i;
        EXPECT_EQ(a.M2[z(i)], b.M2[z(i)]) << i;
    }
    for (int i = 1; i <= plain.topo().NB; ++i) {
        EXPECT_EQ(a.V1[z(i)], b.V1[z(i)]) << i;
        EXPECT_EQ(a.V2[z(i)], b.V2[z(i)]) << i;
        EXPECT_NEAR(a.X[z(i)], b.X[z(i)], 1e-12) << i;
        EXPECT_NEAR(a.Mo[z(i)], b.Mo[z(i)], 1e-12 * scale) << i;
    }
    for (int c = 1; c <= plain.topo().NC; ++c) EXPECT_EQ(a.N[z(c)], b.N[z(c)]) << c;
    // Redistributed case by case and designed with beta 1, the tables are
    // those of the plain calculation with beta 0.8.
    ReportWriter envelopeTables, plainTables;
    writeDesignTables(envelopeTables, e.envelope);
    writeDesignTables(plainTables, plain);
    EXPECT_EQ(envelopeTables.str(), plainTables.str());

    // And with GB 50010-2010: the storeys' sway magnifier etaS (KJ-2 and
    // KJ-3 carry horizontal forces) gives the columns and the beam supports
    // of the plain calculation; the span takes the largest sagging moment of
    // the magnified forces, at least the plain calculation's at its x.
    o.code = DesignCode::Gb50010_2010;
    o.beta = 1;
    for (const char* name : {"KJ-2", "KJ-3"}) {
        const LoadCaseInput in = readLoadCase(LoadCaseKind::G, exampleText(name), name);
        const EnvelopeResult e2010 = calculateEnvelope({in}, parsed({"1.0G"}), "自定义", o, rulesFor(o.code));
        const CalculationResult plain2010 = calculate(in.model, o, rulesFor(o.code));
        ASSERT_TRUE(e2010.combinations[0].sway.loaded) << name;
        for (std::size_t J = 1; J < plain2010.sway.size(); ++J) {
            EXPECT_EQ(e2010.envelope.sway[J].etaS, plain2010.sway[J].etaS) << name << J;
            EXPECT_EQ(e2010.envelope.sway[J].governing, "1.0G");
        }
        for (int c = 1; c <= plain2010.topo().NC; ++c) {
            const ColumnDesign &a = e2010.envelope.columns[z(c)], &b = plain2010.columns[z(c)];
            EXPECT_NEAR(a.top.M, b.top.M, 1e-9) << name << c;
            EXPECT_NEAR(a.bottom.M, b.bottom.M, 1e-9) << name << c;
            EXPECT_EQ(a.top.etaS, b.top.etaS) << name << c;
            EXPECT_NEAR(a.top.As, b.top.As, 1e-6) << name << c;
        }
        for (int i = 1; i <= plain2010.topo().NB; ++i) {
            const BeamDesign &a = e2010.envelope.beams[z(i)], &b = plain2010.beams[z(i)];
            EXPECT_NEAR(a.left.M, b.left.M, 1e-9) << name << i;
            EXPECT_NEAR(a.right.M, b.right.M, 1e-9) << name << i;
            EXPECT_GE(a.span.M, b.span.M - 1e-9) << name << i;
            EXPECT_LT(a.span.M, b.span.M * 1.01 + 0.1) << name << i;
        }
    }
}

TEST(LoadCases, DeadAndLiveLoadInOneFileAreTheCombinationOfBoth)
{
    // Two storeys, spans of 6.00 and 4.50 m. Q: a 30 kN force at 3 m on
    // beam 1, uniform loads, a joint moment; the file with both loads lays
    // the forces and lengths of both end to end.
    const std::string head = ",2,2,%,0,\r\n6.004.503.60,1233\r\n.25.50.40.40.30.60,1313222222\r\n";
    auto file = [&](const std::string& name, const std::string& nj, const std::string& loads) {
        std::string h = head;
        h.replace(h.find('%'), 1, nj);
        return name + h + loads + "300,25\r\n";
    };
    const std::string g = file("G", "1", "1 20.0,1 15.0,1 18.0,1 12.0\r\n20103 50.0   0.0\r\n");
    const std::string q = file("Q", "1", "2    03.00   30P,1  6.0,0,1  5.0\r\n105  0.0  12.0\r\n");
    const std::string both =
        file("GQ", "2", "3 20.03.00   30P 20.03.00,1 21.0,1 18.0,1 17.0\r\n20103 50.0   0.0\r\n105  0.0  12.0\r\n");
    const EnvelopeResult e = calculateEnvelope(
        {readLoadCase(LoadCaseKind::G, g, "G"), readLoadCase(LoadCaseKind::Q, q, "Q")}, parsed({"1.0G+1.0Q"}),
        "自定义", DesignOptions{});
    const LoadCaseInput one = readLoadCase(LoadCaseKind::G, both, "GQ");
    const InternalForces f = analyse(one.model);
    const InternalForces& c = e.combinations[0].forces;
    const double tol = 1e-9 * equilibriumResiduals(one.model, f).largestEndForce;
    const FrameTopology& t = one.model.topo;
    for (int i = 1; i <= t.memberCount(); ++i) {
        EXPECT_NEAR(c.M1[z(i)], f.M1[z(i)], tol) << i;
        EXPECT_NEAR(c.M2[z(i)], f.M2[z(i)], tol) << i;
    }
    for (int i = 1; i <= t.NB; ++i) {
        EXPECT_NEAR(c.V1[z(i)], f.V1[z(i)], tol) << i;
        EXPECT_NEAR(c.V2[z(i)], f.V2[z(i)], tol) << i;
        EXPECT_NEAR(c.Mo[z(i)], f.Mo[z(i)], tol) << i;
        EXPECT_NEAR(c.X[z(i)], f.X[z(i)], 1e-9) << i;
    }
    // The columns' own weight is counted once, from G.
    for (int col = 1; col <= t.NC; ++col) EXPECT_NEAR(c.N[z(col)], f.N[z(col)], tol) << col;
    EXPECT_NEAR(f.X[1], 3.0, 1e-12); // the 30 kN force carries the shear through zero
}

TEST(LoadCases, TheGoverningCombinationsOfAFrameCheckedByHand)
{
    const EnvelopeResult e = calculateEnvelope(handCases(), combinationsFor(combinationSet("GB55001"), {true, true, true}),
                                               "GB 55001-2021", DesignOptions{});
    // Slope-deflection by hand, B = b h^3 / l: beams 0.0052083, columns
    // 0.0071111. Dead load 20 kN/m: beam 1 M1 = -60 Bc/(Bb+Bc) = -34.634,
    // M2 = 60 (1 + Bb/(2(Bb+Bc))) = 72.683; the live load the same. Wind
    // 80 kN (rotations of the outer and middle joints and the drift from the
    // three equations of the symmetric sway): beam 1 M1 = 33.804, M2 = 26.658,
    // middle column Mt = -53.316, Mb = -62.196 and no axial force.
    // Interior support of beam 1, hogging M2: Q leading
    // 1.3x72.683 + 1.5x72.683 + 0.9x26.658 = 227.505 beats W leading
    // 1.3x72.683 + 1.05x72.683 + 1.5x26.658 = 210.793.
    const BeamGoverning& b1 = e.beamGoverning[1];
    EXPECT_EQ(e.name(b1.rightMoment), "1.3G+1.5Q+0.9W");
    EXPECT_EQ(e.envelope.beams[1].right.M, 228);
    // Outer support, hogging M1 under the wind from the right: W leading
    // -1.3x34.634 - 1.05x34.634 - 1.5x33.804 = -132.094 beats Q leading -127.397.
    EXPECT_EQ(e.name(b1.leftMoment), "1.3G+1.05Q-1.5W");
    EXPECT_EQ(e.envelope.beams[1].left.M, -132);
    // Middle column: no moment from G and Q, the same wind moment in every
    // W-leading combination; the least axial force, 1.0G (132.683 kN at the
    // top: the beam reactions; 149.963 at the foot with 17.28 kN of own
    // weight), gives the most steel: top 584, foot 691 mm2 by the column
    // formula, against 531 and 633 with 1.3G. Both wind directions give the
    // same; the first listed is named.
    const ColumnGoverning& c2 = e.columnGoverning[2];
    EXPECT_EQ(e.name(c2.top), "1.0G+1.5W");
    EXPECT_EQ(e.name(c2.bottom), "1.0G+1.5W");
    const ColumnDesign& d = e.envelope.columns[2];
    EXPECT_EQ(d.top.M, -80);
    EXPECT_NEAR(d.top.N, 132.683, 0.001);
    EXPECT_EQ(d.top.As, 584);
    EXPECT_EQ(d.bottom.M, -93);
    EXPECT_NEAR(d.bottom.N, 149.963, 0.001);
    EXPECT_EQ(d.bottom.As, 691);
    // The report names them beneath the rows; the force-diagram file holds
    // the envelope values, signed as their combinations give them.
    const RowNotes notes = governingNotes(e);
    // Beneath them the force sets of each end: the least N is 1.0G's,
    // 132.683 and 149.963 kN, with the wind's -79.97 and -93.29 kN*m.
    EXPECT_EQ(notes.columns[2],
              "    控制组合 上端:1.0G+1.5W  下端:1.0G+1.5W\n"
              "    上端  |M|max M=-80 N=312 (1.3G+1.05Q+1.5W)  Nmax M=0 N=372 (1.3G+1.5Q)  Nmin M=-80 N=133 (1.0G+1.5W)\n"
              "    下端  |M|max M=-93.3 N=334 (1.3G+1.05Q+1.5W)  Nmax M=0 N=394 (1.3G+1.5Q)  Nmin M=-93.3 N=150 (1.0G+1.5W)");
    const std::string lines = forceDiagramText(e.envelope);
    EXPECT_EQ(lines.substr(0, 9), "-132,228,");
    EXPECT_NE(lines.find("\r\n-80,-93\r\n"), std::string::npos);

    // Redistribution 0.8 of G and Q, never of W: 0.8 x (1.3 + 1.5) x 72.683
    // + 0.9 x 26.658 = 186.80; the span gains 0.2 x 2.8 x (34.634 + 72.683) / 2.
    DesignOptions o;
    o.beta = 0.8;
    const EnvelopeResult r = calculateEnvelope(handCases(), parsed({"1.3G+1.5Q+0.9W"}), "自定义", o);
    EXPECT_EQ(r.envelope.beams[1].right.M, 187);
    const CombinationResult& c = r.combinations[0];
    EXPECT_NEAR(c.beams[1].Mo - c.forces.Mo[1], 0.2 * 2.8 * (34.634 + 72.683) / 2, 1e-3);
}

TEST(LoadCases, WindFromBothSidesGivesMirroredColumnDesigns)
{
    const EnvelopeResult e = calculateEnvelope(handCases(), combinationsFor(combinationSet("GB55001"), {true, true, true}),
                                               "GB 55001-2021", DesignOptions{});
    auto mirrored = [](std::string name) {
        const std::size_t w = name.find('W');
        if (w == std::string::npos) return name;
        const std::size_t sign = name.find_last_of("+-", w);
        name[sign] = name[sign] == '+' ? '-' : '+';
        return name;
    };
    const ColumnDesign& left = e.envelope.columns[1];
    const ColumnDesign& right = e.envelope.columns[3];
    ASSERT_GT(left.top.As, 400); // above the least steel, so no tie decides
    EXPECT_EQ(left.top.As, right.top.As);
    EXPECT_EQ(left.bottom.As, right.bottom.As);
    EXPECT_EQ(left.top.M, -right.top.M);
    EXPECT_EQ(left.bottom.M, -right.bottom.M);
    EXPECT_EQ(left.top.N, right.top.N);
    EXPECT_EQ(mirrored(e.name(e.columnGoverning[1].top)), e.name(e.columnGoverning[3].top));
    EXPECT_EQ(mirrored(e.name(e.columnGoverning[1].bottom)), e.name(e.columnGoverning[3].bottom));
    // The beams mirror too: the left support of beam 1 is the right one of beam 2.
    EXPECT_EQ(e.envelope.beams[1].left.As, e.envelope.beams[2].right.As);
    EXPECT_EQ(mirrored(e.name(e.beamGoverning[1].leftMoment)), e.name(e.beamGoverning[2].rightMoment));
}

// A rule set of its own: the beam's steel is its design moment, a column
// end's steel its axial force. Whatever the rules, they receive the combined
// forces already redistributed (beta 1) and the top axial force given.
BeamDesign recordBeam(const BeamInput& in, const Materials&, const DesignOptions& o)
{
    BeamDesign d;
    d.designed = o.beta == 1;
    d.left.M = in.M1;
    d.right.M = in.M2;
    d.span.M = in.Mo;
    return d;
}
ColumnDesign recordColumn(const ColumnInput& in, const Materials&, const DesignOptions&)
{
    ColumnDesign d;
    d.designed = in.Ntop.has_value();
    d.top.As = in.Ntop.value_or(0);
    d.bottom.As = in.Nfoot;
    return d;
}

TEST(LoadCases, AnyRuleSetDesignsTheCombinedForces)
{
    const DesignRules rules{"记录", recordBeam, recordColumn, "", nullptr, false, false};
    DesignOptions o;
    o.beta = 0.9;
    const EnvelopeResult e = calculateEnvelope(handCases(), parsed({"1.0G+1.5Q", "1.3G+1.0Q-1.5W"}), "自定义", o, rules);
    const InternalForces& g = e.cases[0].result.forces;
    const InternalForces& q = e.cases[1].result.forces;
    ASSERT_TRUE(e.envelope.beams[1].designed);
    EXPECT_NEAR(e.envelope.beams[1].right.M, 0.9 * (g.M2[1] + 1.5 * q.M2[1]), 1e-9);
    // Column 1: the most axial force wins, top and foot apart; only G has
    // the column's own weight (17.28 kN).
    const ColumnDesign& c = e.envelope.columns[1];
    ASSERT_TRUE(c.designed);
    EXPECT_EQ(e.name(e.columnGoverning[1].top), "1.3G+1.0Q-1.5W");
    EXPECT_NEAR(c.bottom.As - c.top.As, 1.3 * 17.28, 1e-9);
}

TEST(LoadCases, ADifferentFrameIsRefusedNamingTheFileAndTheRecord)
{
    const LoadCaseInput g = readLoadCase(LoadCaseKind::G, kHandG, "\\H.txt");
    auto refusal = [&](std::string text) {
        return failureOf([&] { checkLoadCases({g, readLoadCase(LoadCaseKind::W, text, "\\HW.txt")}); });
    };
    std::string text = kHandW;
    text.replace(text.find("11222"), 5, "11223");
    text.replace(text.find(".40.40,"), 7, ".40.40.40.45,");
    EXPECT_EQ(refusal(text), "荷载工况 风载 W 的数据文件 \\HW.txt 与恒载 G 的 \\H.txt 不是同一框架: "
                             "第 3 类数据(截面)中第 3 号柱的截面 b×h 为 0.4×0.45 m, G 中为 0.4×0.4 m");
    text = kHandW;
    text.replace(text.find("6.003.60"), 8, "6.003.90");
    EXPECT_NE(refusal(text).find("第 2 类数据(长度)中第 1 号柱的长度为 3.9 m"), std::string::npos);
    text = kHandW;
    text.replace(text.find("300,25"), 6, "300,30");
    EXPECT_NE(refusal(text).find("最后一类数据中砼强度等级 C 为 30, G 中为 25"), std::string::npos);
    // Another frame flag: a frame and a continuous beam are not one frame.
    text = kHandW;
    text.replace(text.find("HW,2,1,1,0,"), 11, "HW,2,1,1,1,");
    EXPECT_EQ(refusal(text), "荷载工况 风载 W 的数据文件 \\HW.txt 与恒载 G 的 \\H.txt 不是同一框架: "
                             "第 1 类数据中框架标志 CL 为 1, G 中为 0");
    // Name and NJ may differ: the wind file has its own of both.
    EXPECT_NO_THROW(checkLoadCases(handCases()));
    EXPECT_NE(failureOf([] { checkLoadCases({readLoadCase(LoadCaseKind::Q, kHandQ, "\\HQ.txt")}); }).find("缺少恒载 G"),
              std::string::npos);
}

} // namespace
} // namespace kj
