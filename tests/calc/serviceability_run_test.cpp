// Serviceability of a frame designed by GB 50010-2010 through the whole run:
// the span's deflection from the chord against a closed form, a support
// under sagging moment, the quasi-permanent combination, the storey drift
// under the wind, a failed section without a check, the report's and JSON's
// values and their storeys counted from the ground.
#include "calc/json_value.h"
#include "calc/project.h"
#include "calc/report.h"
#include "calc/run.h"
#include "calc/serviceability_report.h"
#include "common/failure.h"
#include "calc/serviceability_check.h"
#include "common/numbers.h"
#include "common/report_writer.h"
#include "common/textfile.h"
#include "design/materials.h"
#include "design/serviceability.h"
#include "regular_frame.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace kj;
using kjtest::bytesOf;

namespace {

CalcRequest request2010()
{
    CalcRequest req;
    req.date = "2026-12-07";
    req.time = "10:00:00";
    req.design.code = "GB50010-2010";
    req.renewal = "1";
    req.jsonName = "\\k.json";
    return req;
}

// A data file as a project of its dead load G alone, under GB 50010-2010:
// its loads permanent, its own forces the quasi-permanent ones.
Project deadLoadProject(const fs::path& file, const std::string& name)
{
    DesignSettings design;
    design.code = "GB50010-2010";
    const LoadCaseInput g = readLoadCase(LoadCaseKind::G, readTextFile(file, name), name);
    return parseProject(projectJson(projectFromDataFiles({g}, design, std::nullopt, {})), "\\g.kjpj");
}

// KJ-1: two spans of 6 m, beams 250 x 500 under 20 kN/m, C25. The span's
// deflection is its own moment diagram integrated from the chord between
// its joints: the closed form of a simple span under q and the frame's end
// moments, at the span's long-term stiffness (7.2.1: the supports' within
// half to twice of it).
TEST(ServiceabilityRun, FrameSpanFromTheChordAndTheRecords)
{
    kjtest::TempDir temp("kjservice");
    fs::copy_file(fs::path(KJ_EXAMPLES_DIR) / "KJ-1.txt", temp.path / "KJ-1.txt");
    setWorkingRoot(temp.path);
    CalcRequest req = request2010();
    req.project = deadLoadProject(temp.path / "KJ-1.txt", "\\KJ-1.txt");
    const CalcResult res = runCalculation(req);
    const CalculationResult& r = res.calculation;

    const MemberForces& a = r.forces.along[1];
    const double L = 6, q = 20;
    const double MA = -a.M(0), MB = -a.M(L);
    ASSERT_NEAR(a.M(L / 2) + (MA + MB) / 2, q * L * L / 8, 1e-9); // the load is 20 kN/m over the span
    ASSERT_TRUE(r.beams[1].serviceability);
    const BeamServiceability& s = *r.beams[1].serviceability;
    ASSERT_EQ(s.stiffness, BeamServiceability::Stiffness::Uniform);
    EXPECT_TRUE(gb2010::uniformStiffnessAllowed(s.B, s.Bleft) && gb2010::uniformStiffnessAllowed(s.B, s.Bright));
    double closed = 0, at = 0;
    for (int i = 0; i <= 60000; ++i) {
        const double x = L * i / 60000;
        const double w = (q * x * (L * L * L - 2 * L * x * x + x * x * x) / 24 - MA * x * (L - x) * (2 * L - x) / (6 * L) -
                          MB * x * (L * L - x * x) / (6 * L)) / s.B;
        if (w > closed) closed = w, at = x;
    }
    EXPECT_NEAR(s.deflection, 1000 * closed, 1e-6);
    EXPECT_NEAR(s.xDeflection, at, 1e-3);

    // The record of beam 1: supports at the joints (no redistribution), the
    // span at its largest sagging moment.
    EXPECT_NEAR(s.left.Mq, MA, 1e-9);
    EXPECT_NEAR(s.right.Mq, MB, 1e-9);
    EXPECT_TRUE(s.left.checked && s.span.checked && s.right.checked && s.deflectionChecked);
    EXPECT_FALSE(s.left.bottomBars || s.right.bottomBars);
    EXPECT_DOUBLE_EQ(s.wlim, 0.3);
    EXPECT_DOUBLE_EQ(s.deflectionLimit, 30);
    EXPECT_NEAR(s.B, s.Bs / s.theta, 1e-9);

    // JSON: the fixed names of the design record.
    const nlohmann::json j = nlohmann::json::parse(bytesOf(temp.path / "k.json"));
    const nlohmann::json* sv = nullptr;
    for (const auto& m : j["members"])
        if (m["kind"] == "beam" && m["number"] == 1) sv = &m["design"]["serviceability"];
    ASSERT_TRUE(sv);
    EXPECT_DOUBLE_EQ((*sv)["Mq"]["left"].get<double>(), s.left.Mq);
    EXPECT_DOUBLE_EQ((*sv)["wmax"]["span"].get<double>(), s.span.wmax);
    EXPECT_DOUBLE_EQ((*sv)["wlim"].get<double>(), 0.3);
    EXPECT_DOUBLE_EQ((*sv)["deflection"].get<double>(), s.deflection);
    EXPECT_DOUBLE_EQ((*sv)["deflectionLimit"].get<double>(), 30);
    EXPECT_DOUBLE_EQ((*sv)["B"].get<double>(), s.B);
    EXPECT_EQ((*sv)["stiffness"], "uniform");

    const std::string report = decodeFileBytes(bytesOf(temp.path / "zemowj1.txt"));
    EXPECT_NE(report.find("准永久组合 全部荷载按永久荷载, 环境类别一类"), std::string::npos);
    EXPECT_NE(report.find("限值 l0/200 = 30 mm"), std::string::npos);
    EXPECT_NE(report.find("刚度: 等刚度, 取跨中截面刚度 B (7.2.1: 支座截面刚度 左支座 "), std::string::npos);
}

// Two spans, only the left one loaded: the quasi-permanent moment of the
// right span sags at its outer joint, where its bottom bars (the span's
// continuous bars) take the tension: sigma_sq = Mq / (0.87 h0 As), h0 = h
// less the cover, the stirrup and half the bar (7.1.4-3).
TEST(ServiceabilityRun, SupportWithSaggingMomentCheckedWithItsBottomBars)
{
    kjtest::RegularFrame f;
    FrameModel m = kjtest::regularFrameModel(f);
    m.loads[2].clear();
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    CalculationResult r = calculate(m, o);
    checkPermanentLoadServiceability(r); // the loads taken as permanent characteristic values
    const BeamDesign& d = r.beams[2];
    ASSERT_TRUE(d.serviceability);
    const SectionCrackCheck& c = d.serviceability->right;
    const double Mq = r.forces.along[2].M(6);
    ASSERT_GT(Mq, 1); // sagging at the outer joint
    EXPECT_TRUE(c.bottomBars && c.checked);
    EXPECT_DOUBLE_EQ(c.Mq, Mq);
    const double As = d.span.bars.n * std::numbers::pi / 4 * d.span.bars.d * d.span.bars.d;
    EXPECT_DOUBLE_EQ(c.As, As);
    EXPECT_DOUBLE_EQ(c.h0, 600 - o.cover - d.right.stirrup - d.span.bars.d / 2);
    EXPECT_NEAR(c.sigmaSq, Mq * 1e6 / (0.87 * c.h0 * As), 1e-9);
    EXPECT_GT(c.wmax, 0);
    EXPECT_FALSE(d.serviceability->left.bottomBars); // hogging at the loaded span
}

// A beam too small for its load: its sections are flagged 9999, get no
// crack check and its span no deflection check; the row says so and the
// JSON holds null.
TEST(ServiceabilityRun, FailedSectionHasNoCheck)
{
    kjtest::TempDir temp("kjservice9999");
    kjtest::writeBytes(temp.path / "KJ-9.txt", "KJ-9,1,1,0,0,\r\n6.003.60,12\r\n.25.30.40.40,112\r\n1400.0\r\n300,25\r\n");
    setWorkingRoot(temp.path);
    CalcRequest req = request2010();
    req.project = deadLoadProject(temp.path / "KJ-9.txt", "\\KJ-9.txt");
    const CalcResult res = runCalculation(req);
    const BeamDesign& b = res.calculation.beams[1];
    ASSERT_TRUE(b.span.failed());
    ASSERT_TRUE(b.serviceability);
    EXPECT_FALSE(b.serviceability->span.checked);
    EXPECT_FALSE(b.serviceability->deflectionChecked);
    EXPECT_EQ(b.serviceability->noDeflection, "跨中配筋失败 (9999)");
    const std::string report = decodeFileBytes(bytesOf(temp.path / "zemowj1.txt"));
    EXPECT_NE(report.find("不验算: 配筋失败 (9999)"), std::string::npos);
    EXPECT_NE(report.find("挠度      不验算: 跨中配筋失败 (9999)"), std::string::npos);
    EXPECT_EQ(report.find("最不利梁"), std::string::npos); // nothing checked, no worst beam
    const nlohmann::json j = nlohmann::json::parse(bytesOf(temp.path / "k.json"));
    for (const auto& m : j["members"])
        if (m["kind"] == "beam") {
            EXPECT_TRUE(m["design"]["serviceability"]["wmax"]["span"].is_null());
            EXPECT_TRUE(m["design"]["serviceability"]["deflection"].is_null());
        }
}

// A data file's loads are design values: no crack width or deflection,
// the line in the report that says why, and the same words in the JSON.
TEST(ServiceabilityRun, SingleDataFileIsNotChecked)
{
    kjtest::TempDir temp("kjservicesingle");
    kjtest::copyExamples(temp.path, {"KJ-1.txt"});
    setWorkingRoot(temp.path);
    CalcRequest req = request2010();
    req.dataName = "\\KJ-1.txt";
    const CalcResult res = runCalculation(req);
    for (const BeamDesign& b : res.calculation.beams) EXPECT_FALSE(b.serviceability.has_value());
    const std::string report = decodeFileBytes(bytesOf(temp.path / "zemowj1.txt"));
    EXPECT_NE(report.find("\r\n正常使用验算需要荷载标准值, 请按工况 (G, Q) 或项目文件给出\r\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("裂缝"), std::string::npos);
    const nlohmann::json j = nlohmann::json::parse(bytesOf(temp.path / "k.json"));
    EXPECT_EQ(j["serviceabilityNote"], "正常使用验算需要荷载标准值, 请按工况 (G, Q) 或项目文件给出");
}

// Load cases: the beams under G + 0.4Q, the drift under W alone.
TEST(ServiceabilityRun, QuasiPermanentCombinationAndWindDrift)
{
    kjtest::TempDir temp("kjservicecases");
    kjtest::copyExamples(temp.path, {"KJ-1.txt", "KJ-1Q.txt", "KJ-1W.txt"});
    setWorkingRoot(temp.path);
    CalcRequest req = request2010();
    req.cases = {{"G", "\\KJ-1.txt"}, {"Q", "\\KJ-1Q.txt"}, {"W", "\\KJ-1W.txt"}};
    const CalcResult res = runCalculation(req);
    ASSERT_TRUE(res.envelope);
    const EnvelopeResult& e = *res.envelope;
    EXPECT_EQ(e.quasiPermanentName, "1.0G+0.4Q");
    const InternalForces& G = e.cases[0].result.forces;
    const InternalForces& Q = e.cases[1].result.forces;
    const BeamServiceability& s = *e.envelope.beams[1].serviceability;
    EXPECT_NEAR(s.left.Mq, -(G.along[1].M(0) + 0.4 * Q.along[1].M(0)), 1e-9);
    EXPECT_NEAR(s.right.Mq, -(G.along[1].M(6) + 0.4 * Q.along[1].M(6)), 1e-9);
    EXPECT_NEAR(s.left.Mk, -(G.along[1].M(0) + Q.along[1].M(0)), 1e-9); // characteristic, for reference

    // One storey of 3.6 m under 12 kN, three columns 400 x 400, C25: the
    // drift lies between that of rigid beams, V h^3 / (12 E sum I) = 0.26 mm,
    // and that of free-standing columns, V h^3 / (3 E sum I) = 1.04 mm.
    ASSERT_EQ(e.windDrifts.size(), 1u);
    const double EI = 1000 * concreteEc(25) * 3 * std::pow(0.4, 4) / 12;
    const double rigid = 1000 * 12 * std::pow(3.6, 3) / (12 * EI);
    EXPECT_GT(e.windDrifts[0].drift, rigid);
    EXPECT_LT(e.windDrifts[0].drift, 4 * rigid);
    EXPECT_DOUBLE_EQ(e.windDrifts[0].ratio, e.windDrifts[0].drift / 3600);
    EXPECT_TRUE(e.windDrifts[0].passes());
    const std::string report = decodeFileBytes(bytesOf(temp.path / "zemowj1.txt"));
    EXPECT_NE(report.find("准永久组合 1.0G+0.4Q"), std::string::npos);
    EXPECT_NE(report.find("风荷载标准值作用下的层间位移 (限值 Δ/h ≤ 1/550; 层号自下而上, 1 = 底层)"), std::string::npos);

    // psi_q from the settings; one outside 0 ... 1 is refused.
    req.design.quasiPermanent = "0.5";
    const CalcResult half = runCalculation(req);
    EXPECT_EQ(half.envelope->quasiPermanentName, "1.0G+0.5Q");
    EXPECT_NEAR(half.envelope->envelope.beams[1].serviceability->left.Mq,
                -(G.along[1].M(0) + 0.5 * Q.along[1].M(0)), 1e-9);
    req.design.quasiPermanent = "1.5";
    EXPECT_THROW(runCalculation(req), Failure);
}

} // namespace

// Three storeys under equal floor forces: the ηs lines and the drift table
// both call the ground storey 1 (its ΣN the largest, its drift that of the
// lowest storey) and say so in their headings; so does the JSON.
TEST(ServiceabilityRun, StoreysCountedFromTheGround)
{
    kjtest::RegularFrame f;
    f.storeys = 3;
    f.floorForce = 30;
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const CalculationResult r = calculate(kjtest::regularFrameModel(f), o);
    ASSERT_EQ(r.sway.size(), 4u);
    const SwayStorey& ground = r.sway[3]; // the analysis counts from the top
    ASSERT_GT(ground.sumN, r.sway[1].sumN);
    const std::vector<StoreyDrift> drifts = storeyDrifts(r, r.forces);
    ASSERT_EQ(drifts.size(), 3u);
    EXPECT_EQ(drifts[0].storey, 1);
    EXPECT_DOUBLE_EQ(drifts[0].drift, r.displacements.drift[3]);

    ReportWriter w;
    writeDesignTables(w, r);
    writeServiceabilityTables(w, r, "", drifts);
    const std::string report = w.str();
    char eta[80];
    std::snprintf(eta, sizeof eta, "  第 1 层  ΣN = %.0f kN", ground.sumN);
    EXPECT_NE(report.find(eta), std::string::npos) << report;
    EXPECT_NE(report.find("(JGJ 3-2010 5.4.4, Di 为弹性侧向刚度, ΣGj 取 ΣN); 层号自下而上, 1 = 底层:"), std::string::npos);
    const std::size_t table = report.find("(限值 Δ/h ≤ 1/550; 层号自下而上, 1 = 底层)");
    ASSERT_NE(table, std::string::npos);
    ASSERT_NE(roundHalfEven2(drifts[0].drift), roundHalfEven2(drifts[2].drift));
    EXPECT_NE(report.find("\r\n1     3.6      " + reportNumber(roundHalfEven2(drifts[0].drift)), table), std::string::npos)
        << report;

    const nlohmann::json j = resultJsonValue(r);
    EXPECT_EQ(j["sway"][0]["storey"], 1);
    EXPECT_DOUBLE_EQ(j["sway"][0]["sumN"].get<double>(), ground.sumN);
    EXPECT_EQ(j["storeys"][0]["storey"], 1);
    EXPECT_DOUBLE_EQ(j["storeys"][0]["driftMm"].get<double>(), r.displacements.drift[3]);
    EXPECT_EQ(j["joints"][0]["level"], 3); // node 1 is at the roof
    EXPECT_EQ(j["members"][0]["storey"], 3); // beam 1 is a roof beam
}
