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
                          "假定: 梁 h0 = h - 实配纵筋合力点至受拉边缘距离 (保护层 25 mm, 按实配排数); 柱 h0 = h - 40, "
                          "l0 = 1.25H 底层, 1.5H 其余层 (装配式楼盖); 箍筋 fyv = 360\r\n梁号   M1  "),
              std::string::npos);
    EXPECT_NE(report.find(" 1   -36    55     268  2*6@300  67    -65     503  2*6@300  39      2.74   287   0 \r\n"),
              std::string::npos);
    EXPECT_EQ(res.forceDiagramText.substr(0, res.forceDiagramText.find('\n') + 1), "-36,67,39,55,-65\r\n");
    EXPECT_EQ(res.beamBarsText.substr(0, res.beamBarsText.find('\n') + 1),
              "\"2,14+0,0 2/0\", \"2*6@300\", \"2,16+1,12 3/0\", \"2*6@300\", \"2,16+0,0 0/2\"\r\n");

    // Beam 1 (250 x 500, C30, HRB335) by hand. Left support, -35.6 kN*m: the
    // minimum max(0.2 %, 45 x 1.43 / 300 %) of b h = 268.1 mm2 in 2 of 14,
    // h0 = 500 - 25 - 7 = 468; V = 54.7 kN under 0.7 ft b h0 = 117.1 kN:
    // stirrups by 9.2.9 alone, 6 mm at 300 for h <= 500.
    const BeamDesign& b1 = r.beams[1];
    EXPECT_NEAR(b1.left.As, 268.125, 1e-9);
    EXPECT_EQ(b1.left.h0, 468);
    EXPECT_EQ(b1.left.asvs, 0);
    EXPECT_FALSE(b1.left.shearFailed());
    // Right support, 67.34 kN*m in 2 of 16 + 1 of 12, one layer: h0 = 500 -
    // (2 x 256 x 33 + 144 x 31) / 656 = 467.44, alpha_s = 0.0862, xi = 0.0903,
    // As = 14.3 x 250 x 0.0903 x 467.44 / 300 = 503.0.
    EXPECT_NEAR(b1.right.h0, 500 - (2 * 256 * 33 + 144 * 31) / 656.0, 1e-9);
    EXPECT_NEAR(b1.right.As, 503.0, 0.1);
    // The same support from the clause functions alone.
    const gb2010::Rules rules = gb2010::makeRules(300, 30, 360, FloorKind::Precast);
    const auto top = [](double As) { return arrangeBars(As, 250, 500, 25, BarPosition::Top, std::nullopt); };
    const gb2010::BeamSupport s =
        gb2010::designBeamSupport(r.forces.M2[1], r.forces.V2[1], 250, 500, 25, rules, top, {2, 6});
    EXPECT_EQ(b1.right.As, s.flexure.As);
    EXPECT_EQ(b1.right.h0, s.flexure.h0);
    EXPECT_EQ(b1.right.stirrupString, stirrupString(s.shear.stirrups));

    // Column 5, bottom storey, 450 x 450, precast floors: l0 = 1.25 x 3.9 =
    // 4.875 m. Single curvature, M2 = 16.47 at the top, M1 = 3.64:
    // M1/M2 = 0.221, lc/i = 37.5 > 34 - 12 x 0.221 = 31.3, so 6.2.3 asks for
    // the second-order effect: Cm = 0.766, zeta_c = 1, eta_ns = 1 + (4875 /
    // 450)^2 / (1300 (82.7 + 20) / 410) = 1.360, Cm eta_ns = 1.042. The
    // steel is the minimum, 0.6 % / 2 of b h = 607.5 mm2 on each side.
    const ColumnDesign& c5 = r.columns[5];
    EXPECT_DOUBLE_EQ(c5.l0, 4.875);
    EXPECT_NEAR(c5.top.eta, 1.042, 0.0005);
    EXPECT_EQ(c5.bottom.eta, 1);
    EXPECT_DOUBLE_EQ(c5.top.ea, 20);
    EXPECT_NEAR(c5.top.ei, c5.top.eta * 1000 * std::fabs(c5.top.M) / c5.top.N + 20, 1e-9);
    EXPECT_DOUBLE_EQ(c5.top.As, 607.5);
    const int m = r.topo().columnMember(5);
    const gb2010::ColumnDesign g = gb2010::designColumn(r.forces.M1[m], r.forces.M2[m], c5.top.N, c5.bottom.N, 450,
                                                        450, 3.9, true, rules);
    EXPECT_EQ(c5.top.eta, g.secondOrder.factor);
    EXPECT_EQ(c5.top.xi, g.top.section.xi);
    EXPECT_EQ(c5.bottom.As, g.foot.As);
    // An upper column: 1.5 x 3.6.
    EXPECT_DOUBLE_EQ(r.columns[1].l0, 5.4);
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
