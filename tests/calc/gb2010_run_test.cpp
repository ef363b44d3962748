// The GB 50010-2010 rule set through the whole run: KJ-2 designed with it,
// a beam and a column checked by hand and against the clause functions
// called on their own, the report's heading and assumption lines; and the
// rule set options read, or refused before any file is touched.
#include "calc/options.h"
#include "calc/run.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "design/gb50010_2010.h"
#include "test_support.h"
#include "regular_frame.h"
#include "calc/calculation.h"
#include "calc/json_output.h"
#include "calc/report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;
using kjtest::bytesOf;

namespace {

TEST(Gb2010Run, TwoStoreyFrameWithPrecastFloorsAndFyv360)
{
    kjtest::TempDir temp("kjgb2010");
    fs::copy_file(fs::path(KJ_EXAMPLES_DIR) / "KJ-2.txt", temp.path / "KJ-2.txt");
    setWorkingRoot(temp.path);
    CalcRequest req;
    req.dataName = "\\KJ-2.txt";
    req.date = "2026-12-07";
    req.time = "10:00:00";
    req.design.code = "GB50010-2010";
    req.design.fyv = "360";
    req.design.floors = "装配";
    const CalcResult res = runCalculation(req);
    const CalculationResult& r = res.calculation;
    ASSERT_STREQ(r.rules->name, "GB50010-2010");
    EXPECT_LT(r.residuals.largest(), 1e-9 * r.residuals.largestEndForce);

    // The heading names the rule set, the line under it its assumptions;
    // the table follows as in the default method.
    const std::string report = decodeFileBytes(bytesOf(temp.path / "zemowj1.txt"));
    EXPECT_NE(report.find("\r\n                    ******* GB50010-2010 Fy= 300  C 30 *******\r\n"
                          "假定: 环境类别一类, 保护层 c = 25 mm 至箍筋外缘 (8.2.1); 梁纵筋中心距受拉边缘 c + 箍筋直径 + d/2, "
                          "每排根数按 9.2.1, h0 = h - 实配纵筋合力点至受拉边缘距离\r\n"
                          "      柱 as = c + 箍筋直径 + 10 (纵筋按 20 mm 计), l0 = 1.25H 底层, 1.5H 其余层 (装配式楼盖), "
                          "二阶效应 lc 与剪跨比 Hn 取柱净高; 箍筋 fyv = 360\r\n梁号   M1  "),
              std::string::npos);
    EXPECT_NE(report.find(" 1   -36    55     268  2*6@300  67    -65     511  2*6@300  39      2.74   291   0 \r\n"),
              std::string::npos);
    EXPECT_EQ(res.forceDiagramText.substr(0, res.forceDiagramText.find('\n') + 1), "-36,67,39,55,-65\r\n");
    EXPECT_EQ(res.beamBarsText.substr(0, res.beamBarsText.find('\n') + 1),
              "\"2,14+0,0 2/0\", \"2*6@300\", \"2,16+1,12 3/0\", \"2*6@300\", \"2,14+0,0 0/2\"\r\n");

    // Beam 1 (250 x 500, C30, HRB335) by hand. Left support, -35.6 kN*m: the
    // minimum max(0.2 %, 45 x 1.43 / 300 %) of b h = 268.1 mm2 in 2 of 14,
    // h0 = 500 - 25 - 6 - 7 = 462 (cover to the 6 mm stirrup); V = 54.7 kN under 0.7 ft b h0 = 117.1 kN:
    // stirrups by 9.2.9 alone, 6 mm at 300 for h <= 500.
    const BeamDesign& b1 = r.beams[1];
    EXPECT_NEAR(b1.left.As, 268.125, 1e-9);
    EXPECT_EQ(b1.left.h0, 462);
    EXPECT_EQ(b1.left.asvs, 0);
    EXPECT_FALSE(b1.left.shearFailed());
    // Right support, 67.34 kN*m first-order; the top storey's etaS = 1.0084
    // on the wind's part makes it 67.43. In 2 of 16 + 1 of 12, one layer:
    // h0 = 500 - (2 x 256 x 39 + 144 x 37) / 656 = 461.44, alpha_s = 0.0886,
    // xi = 0.0929, As = 14.3 x 250 x 0.0929 x 461.44 / 300 = 510.8, under the
    // 515 of the bars.
    EXPECT_NEAR(r.sway[1].etaS, 1.0084, 0.00005);
    EXPECT_NEAR(b1.right.M, 67.43, 0.005);
    EXPECT_NEAR(b1.right.h0, 500 - (2 * 256 * 39 + 144 * 37) / 656.0, 1e-9);
    EXPECT_NEAR(b1.right.As, 510.8, 0.1);
    EXPECT_NEAR(b1.right.xi, 0.0929, 0.0001);
    EXPECT_EQ(b1.right.governs, "受弯 ξ≤ξb (6.2.10)");
    // The same support from the clause functions alone.
    const gb2010::Rules rules = gb2010::makeRules(300, 30, 360, FloorKind::Precast);
    const auto top = [](double As, double stirrup) {
        return gb2010::chooseBeamBars(As, 250, 500, 25, stirrup, BarPosition::Top, std::nullopt);
    };
    const gb2010::BeamSupport s =
        gb2010::designBeamSupport(b1.right.M, b1.right.V, 250, 500, 25, rules, top, {2, 6});
    EXPECT_EQ(b1.right.As, s.flexure.As);
    EXPECT_EQ(b1.right.h0, s.flexure.h0);
    EXPECT_EQ(b1.right.stirrupString, stirrupString(s.shear.stirrups));

    // Column 5, bottom storey, 450 x 450, precast floors: l0 = 1.25 x 3.9 =
    // 4.875 m; lc = 3.9 - 0.5 (beam above) = 3.4 m. Single curvature, M2 =
    // 16.47 at the top, M1 = 3.64: M1/M2 = 0.221, lc/i = 3400 sqrt(12) / 450
    // = 26.2 <= 34 - 12 x 0.221 = 31.3 and N / (fc A) = 0.069: 6.2.3 exempts
    // the member. as = 25 + 6 + 10 = 41. The steel is the minimum, 0.6 % / 2
    // of b h = 607.5 mm2 on each side.
    const ColumnDesign& c5 = r.columns[5];
    EXPECT_DOUBLE_EQ(c5.l0, 4.875);
    EXPECT_DOUBLE_EQ(c5.lc, 3.4);
    EXPECT_EQ(c5.top.eta, 1);
    EXPECT_EQ(c5.bottom.eta, 1);
    EXPECT_DOUBLE_EQ(c5.top.ea, 20);
    EXPECT_DOUBLE_EQ(c5.top.h0, 409);
    EXPECT_NEAR(c5.top.axialRatio, c5.top.N * 1000 / (14.3 * 450 * 450), 1e-12);
    EXPECT_NEAR(c5.top.ei, 1000 * std::fabs(c5.top.M) / c5.top.N + 20, 1e-9);
    EXPECT_DOUBLE_EQ(c5.top.As, 607.5);
    EXPECT_EQ(c5.top.governs, "最小配筋率 (8.5.1)");
    EXPECT_EQ(c5.top.eccentricity, "大偏心受压");
    const int m = r.topo().columnMember(5);
    gb2010::ColumnSetting setting;
    setting.as = 41;
    setting.clearHeight = 3.4;
    setting.ties = {2, 6};
    // The record holds the end moments with the sway magnified (M = Mns + etaS Ms).
    EXPECT_NE(c5.top.M, r.forces.M1[static_cast<std::size_t>(m)]);
    const gb2010::ColumnDesign g = gb2010::designColumn(c5.top.M, c5.bottom.M, c5.top.N, c5.bottom.N, 450,
                                                        450, 3.9, true, rules, setting);
    EXPECT_FALSE(g.secondOrder.required);
    EXPECT_EQ(c5.top.xi, g.top.section.xi);
    EXPECT_EQ(c5.bottom.As, g.foot.As);
    EXPECT_EQ(c5.tieString, "Φ6@200(4)");
    // An upper column: 1.5 x 3.6.
    EXPECT_DOUBLE_EQ(r.columns[1].l0, 5.4);
}

TEST(Gb2010Run, SwayMagnifierOfAOneBayPortalByHand)
{
    // One bay 6 m, one storey 3.6 m, columns 500 x 500, beam 250 x 600, C30
    // (Ec = 3.00e4 N/mm2, Table 4.1.5), 200 kN/m on the beam, 50 kN at the
    // beam. B.0.5: kc = 0.6 Ec Ic / H = 0.6 x 3e7 x 0.5^4/12 / 3.6 = 26041.7,
    // kb = 0.4 Ec Ib / L = 0.4 x 3e7 x 0.25 x 0.6^3/12 / 6 = 9000 kN*m. Slope-
    // deflection of the antisymmetric sway, K = kb / kc: D = 24 kc / H^2 x
    // (1 + 6K) / (4 + 6K) = 24405 kN/m. Sum N = 1200 + 2 x 27 (own weight) =
    // 1254 kN: etaS = 1 / (1 - 1254 / (24405 x 3.6)) = 1.01448.
    kjtest::RegularFrame portal;
    portal.spans = 1;
    portal.storeys = 1;
    portal.q = 200;
    portal.floorForce = 50;
    portal.C = 30;
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const CalculationResult r = calculate(kjtest::regularFrameModel(portal), o);
    ASSERT_EQ(r.sway.size(), 2u);
    const double kc = 0.6 * 3e7 * std::pow(0.5, 4) / 12 / 3.6, kb = 0.4 * 3e7 * 0.25 * std::pow(0.6, 3) / 12 / 6;
    const double K = kb / kc;
    const double D = 24 * kc / (3.6 * 3.6) * (1 + 6 * K) / (4 + 6 * K);
    EXPECT_NEAR(D, 24405, 1);
    EXPECT_NEAR(r.sway[1].D, D, 1e-6 * D);
    EXPECT_NEAR(r.sway[1].sumN, 1254, 1e-9);
    EXPECT_NEAR(r.sway[1].etaS, 1 / (1 - 1254 / (D * 3.6)), 1e-9);
    EXPECT_NEAR(r.sway[1].etaS, 1.01448, 0.00001);
    // The magnified sway moments: the columns' end moments of the
    // horizontal force sum to -F H (storey equilibrium), so the design
    // moments exceed the first-order ones by (etaS - 1) F H in sum.
    double design = 0, first = 0;
    for (int c = 1; c <= 2; ++c) {
        const int m = r.topo().columnMember(c);
        design += r.columns[static_cast<std::size_t>(c)].top.M + r.columns[static_cast<std::size_t>(c)].bottom.M;
        first += r.forces.M1[static_cast<std::size_t>(m)] + r.forces.M2[static_cast<std::size_t>(m)];
        EXPECT_EQ(r.columns[static_cast<std::size_t>(c)].top.etaS, r.sway[1].etaS);
    }
    EXPECT_NEAR(std::fabs(design - first), (r.sway[1].etaS - 1) * 50 * 3.6, 1e-9);
    // The report lists the storey.
    const std::string json = resultJson(r);
    EXPECT_NE(json.find("\"etaS\""), std::string::npos);
}

// JGJ 3-2010 5.4.4-2 on the portal of the seismic tests (columns 300 x 300,
// beam 250 x 500, C30): Di = 24 Ec Ic / h^3 x (1 + 6k) / (4 + 6k) = 8669.7
// kN/m elastic. 600 kN/m on the beam: sum G = 3600 + 2 x 9.72 = 3619.44 kN,
// 10 x 3619.44 / 3.6 = 10054.0 kN/m > Di: refused with the numbers. At 200
// kN/m it passes, and the report's storey line carries Di and the limit,
// with D from unit shears (no horizontal force).
TEST(Gb2010Run, FrameStabilityOfEveryStorey)
{
    kjtest::RegularFrame portal;
    portal.spans = 1;
    portal.storeys = 1;
    portal.columnB = portal.columnH = 0.3;
    portal.beamH = 0.5;
    portal.q = 600;
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    EXPECT_EQ(kjtest::failureOf([&] { calculate(kjtest::regularFrameModel(portal), o); }),
              "第 1 层 (自下而上)的弹性侧向刚度 Di = 8670 kN/m 小于 10ΣGj/hi = 10 × 3619 / 3.6 = 10054 kN/m: "
              "不满足 JGJ 3-2010 5.4.4 条框架的整体稳定要求, 请加大柱截面");
    portal.q = 200;
    const CalculationResult r = calculate(kjtest::regularFrameModel(portal), o);
    const double k = (0.25 * 0.125 / 12 / 6) / (0.0081 / 12 / 3.6);
    EXPECT_NEAR(r.sway[1].elasticD, 24 * 3e7 * 0.0081 / 12 / std::pow(3.6, 3) * (1 + 6 * k) / (4 + 6 * k), 1e-6);
    EXPECT_NEAR(r.sway[1].stabilityLimit, 10 * 1219.44 / 3.6, 1e-9);
    EXPECT_TRUE(r.sway[1].unitShears);
    ReportWriter w;
    writeDesignTables(w, r);
    EXPECT_NE(w.str().find("  第 1 层  ΣN = 1219 kN  D = 4836 kN/m  H0 = 3.6 m  ηs = 1.075  Di = 8670 ≥ 3387 kN/m\r\n"
                           "  无水平力: D 和 Di 由各层单位水平剪力求得\r\n"),
              std::string::npos)
        << w.str();
}

// A storey whose combined stiffness is not above zero (drifts against the
// shears, as opposed wind cases can give) is refused by name.
TEST(Gb2010Run, StoreyWithoutLateralStiffnessIsRefused)
{
    kjtest::RegularFrame two;
    two.spans = 1;
    two.storeys = 2;
    const FrameModel m = kjtest::regularFrameModel(two);
    SwayLoading l;
    l.horizontal.storeyShear = l.shear = {0, 10, 10};
    l.drift = l.elasticDrift = {0, 0.001, -0.001};
    std::optional<SwayLoading> unit;
    EXPECT_EQ(kjtest::failureOf([&] { combinedSway(m, std::vector<double>(5, 100.0), {{1.0, &l}}, 3e4, unit); }),
              "第 1 层 (自下而上)的侧向刚度 D = -10000 kN/m 不大于零: 该层不能抵抗侧移, 无法按 GB50010-2010 附录 B.0.4 计算 ηs");
}

TEST(Gb2010Run, EveryFlagGivesItsReasonInTheReport)
{
    // A portal loaded far past its sections: the supports and the columns
    // are flagged 9999, each with its reason under its row.
    kjtest::RegularFrame portal;
    portal.spans = 1;
    portal.storeys = 1;
    portal.q = 1500;
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const CalculationResult r = calculate(kjtest::regularFrameModel(portal), o);
    ReportWriter w;
    writeDesignTables(w, r);
    const std::string report = w.str();
    ASSERT_TRUE(r.beams[1].left.failed());
    EXPECT_NE(report.find("    左支座 As=9999: 受拉钢筋超过 4% b h\r\n"), std::string::npos) << report;
    ASSERT_TRUE(r.columns[1].top.failed());
    EXPECT_NE(report.find("    柱顶 As=9999: 全部纵筋超过截面面积的 5% (9.3.1)\r\n"), std::string::npos) << report;
    // The default method keeps its rows as they were: no line under them.
    const CalculationResult d = calculate(kjtest::regularFrameModel(portal), DesignOptions{});
    ReportWriter wd;
    writeDesignTables(wd, d);
    EXPECT_EQ(wd.str().find("9999:"), std::string::npos);
}

TEST(Gb2010Options, RedistributionLimitAndEnvironmentClass)
{
    DesignSettings s;
    s.code = "GB50010-2010";
    s.beta = "0.6";
    try {
        parseDesignOptions(s);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "GB50010-2010 第 5.4.3 条: 梁端负弯矩调幅系数不应小于 0.75 (调幅不超过 25%): 0.6");
    }
    s.beta = "0.75";
    EXPECT_EQ(parseDesignOptions(s).beta, 0.75);
    for (auto [text, env] : {std::pair{"1", EnvironmentClass::One}, std::pair{"2a", EnvironmentClass::TwoA},
                             std::pair{"二b", EnvironmentClass::TwoB}, std::pair{"一类", EnvironmentClass::One},
                             std::pair{"2B", EnvironmentClass::TwoB}}) {
        s.environment = text;
        EXPECT_EQ(parseDesignOptions(s).environment, env) << text;
    }
    s.environment = "3a";
    EXPECT_THROW(parseDesignOptions(s), Failure);
    // The default method keeps its own redistribution and has no classes.
    DesignSettings d;
    d.beta = "0.6";
    EXPECT_EQ(parseDesignOptions(d).beta, 0.6);
    d.environment = "2a";
    EXPECT_THROW(parseDesignOptions(d), Failure);
}

TEST(Gb2010Options, RuleSetFyvAndFloorsAreReadOrRefused)
{
    DesignSettings s;
    DesignOptions o = parseDesignOptions(s);
    EXPECT_EQ(o.code, DesignCode::Default);
    EXPECT_EQ(o.fyv, 270);
    EXPECT_EQ(o.floors, FloorKind::CastInPlace);
    for (const char* code : {"GB50010-2010", " gb50010-2010 ", "2010"}) {
        s.code = code;
        EXPECT_EQ(parseDesignOptions(s).code, DesignCode::Gb50010_2010) << code;
    }
    s.fyv = "360";
    s.floors = "装配";
    o = parseDesignOptions(s);
    EXPECT_EQ(o.fyv, 360);
    EXPECT_EQ(o.floors, FloorKind::Precast);

    const auto refused = [](DesignSettings t, const std::string& message) {
        try {
            parseDesignOptions(t);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const Failure& f) {
            EXPECT_EQ(std::string(f.what()), message);
        }
    };
    DesignSettings t;
    t.code = "2011";
    refused(t, "设计规范应为 原方法 或 GB50010-2010: 2011");
    t.code = "2010";
    t.fyv = "300";
    refused(t, "箍筋强度设计值 fyv 应为 270 或 360: 300");
    t.fyv = "270";
    t.floors = "叠合";
    refused(t, "楼盖应为 现浇 或 装配: 叠合");
    // The default method has no use for them: refused rather than ignored.
    DesignSettings d;
    d.fyv = "360";
    refused(d, "箍筋 fyv=360 只用于 GB50010-2010 规范; 原方法的箍筋按 fyv=210 计算");
    d.fyv = "270";
    d.floors = "装配";
    refused(d, "装配式楼盖只用于 GB50010-2010 规范; 原方法的柱计算长度按 1.25H (底层) 和 1.5H 计算");
}

TEST(Gb2010Options, RefusedBeforeAnyFileIsTouched)
{
    kjtest::TempDir temp("kjgb2010");
    fs::copy_file(fs::path(KJ_EXAMPLES_DIR) / "KJ-2.txt", temp.path / "KJ-2.txt");
    kjtest::writeBytes(temp.path / "zemowj1.txt", "kept\r\n");
    setWorkingRoot(temp.path);
    CalcRequest req;
    req.dataName = "\\KJ-2.txt";
    req.renewal = "1";
    req.jsonName = "\\r.json";
    req.design.code = "GB50010-2010";
    req.design.fyv = "400";
    EXPECT_THROW(runCalculation(req), Failure);
    EXPECT_EQ(bytesOf(temp.path / "zemowj1.txt"), "kept\r\n");
    EXPECT_FALSE(fs::exists(temp.path / "lpj-1.txt"));
    EXPECT_FALSE(fs::exists(temp.path / "r.json"));

    // Materials the code does not cover come from the data file: refused
    // before anything is written, naming the field and the range.
    kjtest::writeBytes(temp.path / "KJ-2.txt", "KJ-2,1,1,0,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n1 20.0\r\n210,30\r\n");
    req.design.fyv = "270";
    try {
        runCalculation(req);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "数据文件 \\KJ-2.txt 最后一类数据: 钢筋强度设计值 Fy=210 超出范围: GB50010-2010 取 270、300、360 或 435");
    }
    EXPECT_EQ(bytesOf(temp.path / "zemowj1.txt"), "kept\r\n");
    EXPECT_FALSE(fs::exists(temp.path / "lpj-1.txt"));
}

} // namespace
