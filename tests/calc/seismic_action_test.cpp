// The seismic action on a frame: a portal frame checked by hand with the
// closed-form sway stiffness, the distribution over a taller frame, the
// least storey shear, and the refusals.
#include "analysis/internal_forces.h"
#include "calc/seismic_action.h"
#include "calc/seismic_report.h"
#include "calc/seismic_combination.h"
#include "design/design_rules.h"
#include "common/failure.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace kj {
namespace {

namespace g = gb50011;

using kjtest::failureOf;

// One 6 m span, one 3.6 m storey; beam 250x500, columns 300x300, C30.
// G: 20 kN/m and 50 kN on both joints (and the columns' weight); Q: 10 kN/m.
const char* kPortalG = "P,1,1,1,0,\r\n6.003.60,12\r\n.25.50.30.30,122\r\n1 20.0\r\n20102 50.0   0.0\r\n360,30\r\n";
const char* kPortalQ = "PQ,1,1,0,0,\r\n6.003.60,12\r\n.25.50.30.30,122\r\n1 10.0\r\n360,30\r\n";

// Three storeys of 3.6 m, two 6 m spans; beams 250x600, columns 400x400.
const char* kThreeG = "T,2,3,1,0,\r\n6.003.60,11222\r\n.25.60.40.40,"
                      "111111222222222\r\n1 25.0,1 25.0,1 25.0,1 25.0,1 25.0,1 25.0\r\n"
                      "9010203040506070809 40.0   0.0\r\n360,30\r\n";
const char* kThreeQ = "TQ,2,3,0,0,\r\n6.003.60,11222\r\n.25.60.40.40,"
                      "111111222222222\r\n1 12.0,1 12.0,1 12.0,1 12.0,1 12.0,1 12.0\r\n360,30\r\n";

LoadCaseInput caseOf(LoadCaseKind kind, const char* text) { return readLoadCase(kind, text, "\\case.txt"); }

SeismicParameters params(g::Intensity i, g::SiteClass s, int group)
{
    SeismicParameters p;
    p.intensity = i;
    p.site = s;
    p.group = group;
    return p;
}

// By hand: GE = 20 x 6 + 2 x 50 + 2 x (0.3 x 0.3 x 3.6 x 30)/2 = 229.72 kN,
// the live load of the roof not included (GB 50011 Table 5.1.3). Sway
// stiffness of a fixed-base portal, k = (Ib/L)/(Ic/h):
// K = 24 E Ic / h^3 x (1 + 6k)/(4 + 6k). With E = 3.0e4 N/mm2 (C30):
// Ic = 6.75e-4 m4, Ib = 2.604e-3 m4, k = 2.3148,
// K = 8669.7 kN/m, uT = GE/K = 0.02996 m, T1 = 1.7 x 0.7 x sqrt(uT) = 0.2060 s.
// 8 degrees, site I0, group 1: Tg = 0.20 s, T1 <= Tg: α1 = η2 αmax = 0.16; one
// storey: Geq = GE, FEk = α1 GE, δn = 0; drift = FEk / K. (With the roof's
// live load in GE, 259.72 kN, T1 was 0.2060 s, past Tg, α1 0.1558.)
TEST(SeismicAction, PortalFrameCheckedByHand)
{
    const LoadCaseInput G = caseOf(LoadCaseKind::G, kPortalG), Q = caseOf(LoadCaseKind::Q, kPortalQ);
    const double E = 3.0e4;
    const SeismicAction a = seismicAction(G.model, &Q.model, params(g::Intensity::I8, g::SiteClass::I0, 1), E);

    const double GE = 120 + 100 + 0.3 * 0.3 * 3.6 * 30;
    const double Ic = 0.3 * 0.3 * 0.3 * 0.3 / 12, Ib = 0.25 * 0.5 * 0.5 * 0.5 / 12, h = 3.6;
    const double k = (Ib / 6) / (Ic / h);
    const double K = 24 * E * 1000 * Ic / (h * h * h) * (1 + 6 * k) / (4 + 6 * k);
    ASSERT_EQ(a.floors.size(), 1u);
    EXPECT_NEAR(a.floors[0].GE, GE, 1e-9);
    EXPECT_NEAR(GE, 229.72, 1e-9);
    EXPECT_NEAR(K, 8669.7, 0.1);
    EXPECT_NEAR(a.uT, GE / K, 1e-9);
    const double T1 = 1.7 * 0.7 * std::sqrt(GE / K);
    EXPECT_NEAR(a.T1, T1, 1e-9);
    EXPECT_NEAR(a.T1, 0.1937, 5e-5);
    EXPECT_DOUBLE_EQ(a.Tg, 0.20);
    EXPECT_DOUBLE_EQ(a.alpha1, 0.16);
    EXPECT_NEAR(a.Geq, GE, 1e-9);
    EXPECT_NEAR(a.FEk, a.alpha1 * GE, 1e-9);
    EXPECT_EQ(a.deltaN, 0.0);
    EXPECT_NEAR(a.floors[0].F, a.FEk, 1e-9);
    EXPECT_NEAR(a.floors[0].V, a.FEk, 1e-9);
    EXPECT_FALSE(a.floors[0].raised);
    EXPECT_NEAR(a.floors[0].drift, a.FEk / K * 1000, 1e-6);
    EXPECT_NEAR(a.floors[0].driftRatio, a.FEk / K / h, 1e-9);
    EXPECT_TRUE(a.floors[0].driftOk);
    EXPECT_EQ(a.grade, 2); // 8 degrees, 3.6 m
    EXPECT_TRUE(a.gradeFromTable);
}

// Three storeys: GE per floor by hand, the forces sum to FEk with ΔFn at the
// roof, the storey shears are the sums from the top, and the load case E
// carries them as storey shears that its analysis balances.
TEST(SeismicAction, ThreeStoreysDistributeFEkByGiHi)
{
    const LoadCaseInput G = caseOf(LoadCaseKind::G, kThreeG), Q = caseOf(LoadCaseKind::Q, kThreeQ);
    SeismicParameters p = params(g::Intensity::I8_5, g::SiteClass::III, 2);
    p.grade = 1;
    const SeismicAction a = seismicAction(G.model, &Q.model, p, 3.0e4);
    ASSERT_EQ(a.floors.size(), 3u);
    const double col = 0.4 * 0.4 * 3.6 * 30; // one column's weight
    const double floorLoad = 2 * 6 * (25 + 0.5 * 12) + 3 * 40;
    EXPECT_NEAR(a.floors[0].GE, floorLoad + 3 * col, 1e-9); // level 1: half of the columns above and below
    EXPECT_NEAR(a.floors[2].GE, 2 * 6 * 25 + 3 * 40 + 1.5 * col, 1e-9); // the roof: no live load
    EXPECT_EQ(a.floors[0].level, 1);
    EXPECT_EQ(a.floors[2].level, 3);
    EXPECT_DOUBLE_EQ(a.floors[0].height, 3.6);
    EXPECT_DOUBLE_EQ(a.floors[2].height, 10.8);
    EXPECT_EQ(a.grade, 1);
    EXPECT_FALSE(a.gradeFromTable);

    double sumF = 0, sumGH = 0;
    for (const SeismicFloor& f : a.floors) {
        sumF += f.F;
        sumGH += f.GE * f.height;
    }
    EXPECT_NEAR(sumF, a.FEk, 1e-9);
    EXPECT_NEAR(a.Geq, 0.85 * a.sumGE, 1e-9);
    EXPECT_NEAR(a.floors[0].F, a.floors[0].GE * 3.6 / sumGH * a.FEk * (1 - a.deltaN), 1e-9);
    EXPECT_NEAR(a.floors[2].F - a.deltaFn, a.floors[2].GE * 10.8 / sumGH * a.FEk * (1 - a.deltaN), 1e-9);
    EXPECT_NEAR(a.floors[0].V, a.FEk, 1e-9);
    EXPECT_NEAR(a.floors[1].V, a.floors[1].F + a.floors[2].F, 1e-9);

    const InternalForces f = analyse(a.model);
    const EquilibriumResiduals r = equilibriumResiduals(a.model, f);
    EXPECT_LT(r.largest(), 1e-9 * r.largestEndForce);
    for (int J = 1; J <= 3; ++J) EXPECT_NEAR(f.storeyShear[static_cast<std::size_t>(J)], a.floors[static_cast<std::size_t>(3 - J)].V, 1e-12);
    // The drift ratio of every storey against 1/550.
    for (const SeismicFloor& fl : a.floors) EXPECT_EQ(fl.driftOk, fl.driftRatio <= 1.0 / 550);
}

// A slender heavy frame of long period at 7 degrees: the storey shears fall
// below λ ΣGE = 0.016 ΣGE and are raised to it.
TEST(SeismicAction, ShortStoreyShearsAreRaisedToTheLeastShear)
{
    const char* slender = "S,1,2,1,0,\r\n6.003.60,122\r\n.25.50.15.15,112222\r\n1 20.0,1 20.0\r\n"
                          "401020304200.0   0.0\r\n360,30\r\n";
    const LoadCaseInput G = caseOf(LoadCaseKind::G, slender);
    SeismicParameters p = params(g::Intensity::I7, g::SiteClass::I0, 1);
    p.psiT = 1.0;
    const SeismicAction a = seismicAction(G.model, nullptr, p, 3.0e4);
    ASSERT_GT(a.T1, 5 * a.Tg);
    EXPECT_DOUBLE_EQ(a.lambda, 0.016);
    const SeismicFloor& base = a.floors[0];
    EXPECT_TRUE(base.raised);
    EXPECT_LT(base.Vcomputed, base.Vmin);
    EXPECT_NEAR(base.V, 0.016 * a.sumGE, 1e-9);
}

TEST(SeismicAction, RefusesWhatTheBaseShearMethodCannotServe)
{
    // 11 storeys of 3.8 m = 41.8 m.
    const char* tall = "T,1,1,0,0,\r\n6.0041.8,12\r\n.25.50.40.40,122\r\n1 20.0\r\n360,30\r\n";
    const LoadCaseInput high = caseOf(LoadCaseKind::G, tall);
    EXPECT_NE(failureOf([&] { seismicAction(high.model, nullptr, params(g::Intensity::I7, g::SiteClass::II, 1), 3e4); })
                  .find("超过底部剪力法的适用高度 40 m"),
              std::string::npos);
    const char* nineDegrees = "T,1,1,0,0,\r\n6.0025.0,12\r\n.25.50.40.40,122\r\n1 20.0\r\n360,30\r\n";
    const LoadCaseInput nine = caseOf(LoadCaseKind::G, nineDegrees);
    EXPECT_NE(failureOf([&] { seismicAction(nine.model, nullptr, params(g::Intensity::I9, g::SiteClass::II, 1), 3e4); })
                  .find("最大适用高度 24 m"),
              std::string::npos);
    const std::vector<LoadCaseInput> portal{caseOf(LoadCaseKind::G, kPortalG), caseOf(LoadCaseKind::Q, kPortalQ)};
    const SeismicParameters p8 = params(g::Intensity::I8, g::SiteClass::I0, 1);
    EXPECT_NE(failureOf([&] { seismicAction(portal, p8, DesignCode::Default); }).find("原方法时不能进行抗震计算"),
              std::string::npos);
    EXPECT_NE(failureOf([&] { seismicAction({portal[1]}, p8, DesignCode::Gb50010_2010); }).find("需要恒载 G"),
              std::string::npos);
    // Ec of C30 from GB 50010 Table 4.1.5 is 3.00e4 N/mm2.
    const SeismicAction byCases = seismicAction(portal, p8, DesignCode::Gb50010_2010);
    EXPECT_DOUBLE_EQ(byCases.Ec, 3.0e4);
    EXPECT_DOUBLE_EQ(byCases.T1, seismicAction(portal[0].model, &portal[1].model, p8, 3.0e4).T1);
    EXPECT_EQ(seismicCase(portal, byCases).kind, LoadCaseKind::E);

    const char* unloaded = "U,1,1,0,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n360,30\r\n";
    const LoadCaseInput empty = caseOf(LoadCaseKind::Q, unloaded);
    FrameModel weightless = empty.model;
    weightless.columnWeight = false;
    EXPECT_NE(failureOf([&] { seismicAction(weightless, nullptr, params(g::Intensity::I7, g::SiteClass::II, 1), 3e4); })
                  .find("重力荷载代表值为 0 kN"),
              std::string::npos);
}

// GB 50011 Table 5.1.3 on two storeys of 3.6 m, one 6 m span, columns
// 300 x 300 (9.72 kN each at 30 kN/m3); G 20 kN/m on both beams, Q 10 kN/m
// on the roof and 8 kN/m on the floor. By hand: roof GE = 120 + 9.72 =
// 129.72 kN (its live load left out), floor GE = 120 + 0.5 x 8 x 6 + 19.44
// = 163.44 kN. With the roof on storey 1 (a room on the roof above it) the
// floor's live load is left out too: 139.44 kN.
TEST(SeismicAction, GravityLoadLeavesOutTheRoofLiveLoad)
{
    const LoadCaseInput G = caseOf(LoadCaseKind::G, "W,1,2,0,0,\r\n6.003.60,122\r\n.25.50.30.30,112222\r\n1 20.0,1 20.0\r\n360,30\r\n");
    const LoadCaseInput Q = caseOf(LoadCaseKind::Q, "WQ,1,2,0,0,\r\n6.003.60,122\r\n.25.50.30.30,112222\r\n1 10.0,1 8.0\r\n360,30\r\n");
    const std::vector<double> GE = gravityRepresentativeValues(G.model, &Q.model, 2);
    EXPECT_NEAR(GE[1], 129.72, 1e-9);
    EXPECT_NEAR(GE[2], 163.44, 1e-9);
    SeismicParameters p = params(g::Intensity::I7, g::SiteClass::II, 1);
    EXPECT_NEAR(seismicAction(G.model, &Q.model, p, 3e4).sumGE, 129.72 + 163.44, 1e-9);
    p.roofStorey = 1;
    const SeismicAction a = seismicAction(G.model, &Q.model, p, 3e4);
    EXPECT_NEAR(a.floors[0].GE, 139.44, 1e-9);
    EXPECT_NEAR(a.floors[1].GE, 129.72, 1e-9);
    ReportWriter w;
    writeSeismicBlock(w, a);
    EXPECT_NE(w.str().find("  假定: GE=G+0.5Q (楼面), 屋面 (第 1 层顶及以上, 层号自底层起)活荷载不计入 (表 5.1.3); 第 2 层及以上为屋顶间, "
                         "其构件的地震作用效应乘以 3, 不往下传递 (5.2.4), "),
              std::string::npos)
        << w.str();
    p.roofStorey = 3;
    EXPECT_EQ(failureOf([&] { seismicAction(G.model, &Q.model, p, 3e4); }),
              "抗震计算 (\\case.txt): 屋面所在层为第 3 层, 框架只有 2 层 (层号自底层起)");
    EXPECT_EQ(parseSeismicParameters({"7", "II", "1", "", "", false, "2"}).roofStorey, 2);
    EXPECT_EQ(failureOf([] { parseSeismicParameters({"7", "II", "1", "", "", false, "1.5"}); }),
              "屋面所在层应为自底层 (1) 起的层号: 1.5");
}

TEST(SeismicAction, ParametersAreReadOnceFromTheirTexts)
{
    const SeismicParameters p = parseSeismicParameters({"7.5", " iii ", "2", "", ""});
    EXPECT_EQ(p.intensity, g::Intensity::I7_5);
    EXPECT_EQ(p.site, g::SiteClass::III);
    EXPECT_EQ(p.group, 2);
    EXPECT_FALSE(p.grade.has_value());
    EXPECT_DOUBLE_EQ(p.psiT, 0.7);
    const SeismicParameters q = parseSeismicParameters({"9", "Ⅱ", "1", "1", "0.65"});
    EXPECT_EQ(q.site, g::SiteClass::II);
    EXPECT_EQ(q.grade, 1);
    EXPECT_DOUBLE_EQ(q.psiT, 0.65);
    EXPECT_NE(failureOf([] { parseSeismicParameters({"10", "II", "1", "", ""}); }).find("抗震设防烈度"), std::string::npos);
    EXPECT_NE(failureOf([] { parseSeismicParameters({"7", "V", "1", "", ""}); }).find("场地类别"), std::string::npos);
    EXPECT_NE(failureOf([] { parseSeismicParameters({"7", "II", "4", "", ""}); }).find("设计地震分组"), std::string::npos);
    EXPECT_NE(failureOf([] { parseSeismicParameters({"7", "II", "1", "5", ""}); }).find("抗震等级"), std::string::npos);
    EXPECT_NE(failureOf([] { parseSeismicParameters({"7", "II", "1", "", "1.2"}); }).find("ψT"), std::string::npos);
    EXPECT_NE(failureOf([] { parseSeismicParameters({"7", "II", "1", "", "0.7x"}); }).find("ψT"), std::string::npos);
}

} // namespace
} // namespace kj

namespace kj {
namespace {

TEST(SeismicAction, ReportBlockAndJsonOfThePortal)
{
    const LoadCaseInput G = caseOf(LoadCaseKind::G, kPortalG), Q = caseOf(LoadCaseKind::Q, kPortalQ);
    const SeismicAction a = seismicAction(G.model, &Q.model, params(g::Intensity::I8, g::SiteClass::I0, 1), 3.0e4);
    ReportWriter w;
    writeSeismicBlock(w, a);
    const std::string block = w.str();
    for (const char* line : {
             "  设防烈度 8 度 (0.20g)  场地类别 I0  设计地震分组 第1组  抗震等级 二级 (表 6.1.2, 框架高度 3.60 m)\r\n",
             "  Tg=0.20 s  αmax=0.16  ψT=0.70  Ec=30000 N/mm2  uT=0.0265 m  T1=1.7ψT√uT=0.194 s  α1=0.1600\r\n",
             "  ΣGE=229.7 kN  Geq=229.7 kN  FEk=α1Geq=36.76 kN  δn=0.0000  ΔFn=0.00 kN  λ=0.0320\r\n",
             "  1     3.60      229.7      36.76      36.76     7.35       4.239         1/849  满足 1/550\r\n"})
        EXPECT_NE(block.find(line), std::string::npos) << line << "\n" << block;

    const nlohmann::json j = seismicJsonValue(a);
    for (const char* key : {"T1", "uT", "Tg", "alphaMax", "alpha1", "FEk", "deltaN", "grade", "floors"})
        EXPECT_TRUE(j.contains(key)) << key;
    EXPECT_DOUBLE_EQ(j["T1"].get<double>(), a.T1);
    EXPECT_EQ(j["grade"].get<int>(), 2);
    const nlohmann::json& f = j["floors"][0];
    for (const char* key : {"level", "height", "GE", "F", "V", "drift", "driftRatio"}) EXPECT_TRUE(f.contains(key)) << key;
    EXPECT_DOUBLE_EQ(f["drift"].get<double>(), a.floors[0].drift);

    // 7 degrees (0.15 g) on a site of class III: grade 3 for the calculation,
    // the detailing measures of 8 degrees (0.20 g), grade 2.
    const SeismicAction b = seismicAction(G.model, &Q.model, params(g::Intensity::I7_5, g::SiteClass::III, 1), 3.0e4);
    EXPECT_EQ(b.grade, 3);
    EXPECT_EQ(b.detailingGrade, 2);
    ReportWriter v;
    writeSeismicBlock(v, b);
    EXPECT_NE(v.str().find("抗震等级 三级 (表 6.1.2, 框架高度 3.60 m)  抗震构造措施 二级 (3.3.3: III 类场地, 按 8 度 (0.20g))\r\n"),
              std::string::npos)
        << v.str();
}

} // namespace
} // namespace kj

namespace kj {
namespace {

TEST(SeismicCombinations, FactorsFollowTheChosenSet)
{
    std::vector<std::string> names;
    for (const Combination& c : seismicCombinations("GB55001", true)) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"1.3G+0.65Q+1.4E", "1.3G+0.65Q-1.4E", "1.0G+0.5Q+1.4E", "1.0G+0.5Q-1.4E"}));
    names.clear();
    for (const Combination& c : seismicCombinations("gb50009", false)) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"1.2G+1.3E", "1.2G-1.3E", "1.0G+1.3E", "1.0G-1.3E"}));
    EXPECT_EQ(parseCombination("1.2g+0.6q - 1.3e").name, "1.2G+0.6Q-1.3E");
    EXPECT_NE(failureOf([] { caseKindOf("E"); }).find("荷载工况应为"), std::string::npos);
    EXPECT_NE(failureOf([] { checkCombinationCases({parseCombination("1.2G+1.3E")}, GivenCases{true, false, false, false}); })
                  .find("没有给出抗震参数"),
              std::string::npos);
}

// The three-storey frame at every intensity: the envelope of the static and
// the seismic combinations never gives less steel than the static envelope
// alone, and a seismic combination's design forces are γRE x its forces.
TEST(SeismicCombinations, SeismicEnvelopeNeverLowersSteel)
{
    const LoadCaseInput G = caseOf(LoadCaseKind::G, kThreeG), Q = caseOf(LoadCaseKind::Q, kThreeQ);
    DesignOptions options;
    options.code = DesignCode::Gb50010_2010;
    const DesignRules& rules = rulesFor(options.code);
    const std::vector<Combination> statics = combinationsFor(combinationSet("GB55001"), GivenCases{true, true, false, false});
    const EnvelopeResult plain = calculateEnvelope({G, Q}, statics, "GB 55001-2021", options, rules);
    for (g::Intensity i : {g::Intensity::I6, g::Intensity::I7, g::Intensity::I8, g::Intensity::I8_5}) {
        const SeismicAction a = seismicAction(G.model, &Q.model, params(i, g::SiteClass::II, 2), 3.0e4);
        LoadCaseInput E = G;
        E.kind = LoadCaseKind::E;
        E.model = a.model;
        std::vector<Combination> all = statics;
        for (const Combination& c : seismicCombinations("GB55001", true)) all.push_back(c);
        const EnvelopeResult r = calculateEnvelope({G, Q, E}, all, "GB 55001-2021", options, rules);
        const FrameTopology& t = G.model.topo;
        for (int b = 1; b <= t.NB; ++b) {
            const BeamDesign& s = plain.envelope.beams[static_cast<std::size_t>(b)];
            const BeamDesign& e = r.envelope.beams[static_cast<std::size_t>(b)];
            EXPECT_GE(e.left.As, s.left.As - 1e-9) << g::intensityText(i) << " beam " << b;
            EXPECT_GE(e.right.As, s.right.As - 1e-9) << g::intensityText(i) << " beam " << b;
            EXPECT_GE(e.span.As, s.span.As - 1e-9) << g::intensityText(i) << " beam " << b;
        }
        for (int c = 1; c <= t.NC; ++c) {
            const ColumnDesign& s = plain.envelope.columns[static_cast<std::size_t>(c)];
            const ColumnDesign& e = r.envelope.columns[static_cast<std::size_t>(c)];
            EXPECT_GE(e.top.As, s.top.As - 1e-9) << g::intensityText(i) << " column " << c;
            EXPECT_GE(e.bottom.As, s.bottom.As - 1e-9) << g::intensityText(i) << " column " << c;
        }
        // γRE: beams 0.75 in flexure, 0.85 in shear.
        const CombinationResult& sc = r.combinations[statics.size()];
        ASSERT_EQ(sc.combination.name, "1.3G+0.65Q+1.4E");
        // The sway moments magnified by etaS (GB 50010-2010 B.0.4) first.
        ASSERT_TRUE(sc.sway.loaded);
        const double k = beamSwayFactor(G.model, sc.sway, 1) - 1;
        EXPECT_GT(k, 0);
        EXPECT_NEAR(sc.beams[1].M1, 0.75 * (sc.forces.M1[1] + k * sc.sway.horizontal.M1[1]), 1e-9);
        EXPECT_NEAR(sc.beams[1].V2, 0.85 * (sc.forces.V2[1] + k * sc.sway.horizontal.V2[1]), 1e-9);
        const double N = sc.forces.N[7];
        const double ratio = N * 1000 / (14.3 * 400 * 400);
        EXPECT_NEAR(sc.columns[7].Nfoot, (ratio < 0.15 ? 0.75 : 0.80) * N, 1e-9);
    }
}

} // namespace
} // namespace kj
