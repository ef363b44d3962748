// The calculation run with load cases: everything read and checked before a
// file is touched, and the JSON of every case, combination and the envelope.
#include "calc/envelope_report.h"
#include "calc/run.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;
using kjtest::bytesOf;
using kjtest::writeBytes;

namespace {

class EnvelopeRun : public ::testing::Test {
protected:
    kjtest::TempDir temp{"kjcases"};
    fs::path dir = temp.path;
    void SetUp() override
    {
        setWorkingRoot(dir);
        kjtest::copyExamples(dir, {"KJ-1.txt", "KJ-1Q.txt", "KJ-1W.txt"});
    }
    CalcRequest request()
    {
        CalcRequest r;
        r.cases = {{"G", "\\KJ-1.txt"}, {"q", "\\KJ-1Q.txt"}, {"W", "\\KJ-1W.txt"}};
        r.date = "2026-12-07";
        r.time = "9:05:00";
        return r;
    }
    std::string failureOf(const CalcRequest& r)
    {
        try {
            runCalculation(r);
        } catch (const Failure& f) {
            return f.what();
        }
        return "<no failure>";
    }
};

TEST_F(EnvelopeRun, CasesAndCombinationsAreCheckedBeforeAnyFileIsTouched)
{
    writeBytes(dir / "zemowj1.txt", "kept\r\n");
    CalcRequest r = request();
    r.renewal = "1";
    r.cases.push_back({"Q", "\\KJ-1W.txt"});
    EXPECT_NE(failureOf(r).find("荷载工况 Q 给了两次"), std::string::npos);
    r = request();
    r.renewal = "1";
    r.combinations = {"1.3G+1.5Q", "1.3G+1.5S"};
    EXPECT_NE(failureOf(r).find("荷载组合 \"1.3G+1.5S\" 无法识别"), std::string::npos);
    r.combinations.clear();
    r.combinationSet = "GB 50010";
    EXPECT_NE(failureOf(r).find("没有名为 \"GB 50010\" 的荷载组合规范"), std::string::npos);
    r = request();
    r.renewal = "1";
    r.cases.pop_back();
    r.combinations = {"1.3G+1.5Q+0.9W"};
    EXPECT_EQ(failureOf(r), "荷载组合 1.3G+1.5Q+0.9W 用到了风载 W, 但没有给出它的数据文件");
    writeBytes(dir / "KJ-1W.txt", "KJ-1W,3,1,1,0,\r\n6.003.60,1112\r\n.25.50.40.40,1112222\r\n0,0,0\r\n105 12.0   0.0\r\n300,25\r\n");
    r = request();
    r.renewal = "1";
    EXPECT_NE(failureOf(r).find("\\KJ-1W.txt 与恒载 G 的 \\KJ-1.txt 不是同一框架: 第 1 类数据中跨数 L 为 3"),
              std::string::npos);
    EXPECT_EQ(bytesOf(dir / "zemowj1.txt"), "kept\r\n");
    EXPECT_FALSE(fs::exists(dir / "lpj-1.txt"));
    EXPECT_FALSE(fs::exists(dir / "mvts-1.txt"));
}

TEST_F(EnvelopeRun, JsonHoldsEveryCaseEveryCombinationAndTheEnvelope)
{
    CalcRequest r = request();
    r.jsonName = "\\cases.json";
    const CalcResult result = runCalculation(r);
    const nlohmann::json j = nlohmann::json::parse(bytesOf(dir / "cases.json"));
    EXPECT_EQ(j["schema"], kEnvelopeSchema);
    EXPECT_EQ(j["combinationSet"], "GB 55001-2021");
    ASSERT_EQ(j["cases"].size(), 3u);
    EXPECT_EQ(j["cases"][1]["case"], "Q");
    EXPECT_FALSE(j["cases"][1]["columnWeight"].get<bool>());
    EXPECT_FALSE(j["cases"][1]["result"]["members"][0].contains("design"));
    ASSERT_EQ(j["combinations"].size(), 16u);
    EXPECT_EQ(j["combinations"][2]["name"], "1.3G+1.5Q-0.9W");
    // Every number is the result's own; the report's row holds the same.
    const EnvelopeResult& e = *result.envelope;
    EXPECT_EQ(j["combinations"][2]["members"][0]["M1"].get<double>(), e.combinations[2].forces.M1[1]);
    const nlohmann::json& beam1 = j["envelope"]["members"][0];
    EXPECT_EQ(beam1["governing"]["leftMoment"], e.name(e.beamGoverning[1].leftMoment));
    EXPECT_EQ(beam1["design"]["left"]["M"].get<double>(), e.envelope.beams[1].left.M);
    const std::string report = decodeFileBytes(bytesOf(dir / "zemowj1.txt"));
    EXPECT_NE(report.find(" 1   -70    103 "), std::string::npos);
    EXPECT_EQ(e.envelope.beams[1].left.M, -70);
    // The M envelope of beam 1 spans every combination's moment at its ends.
    const nlohmann::json& curve = beam1["forceEnvelope"];
    EXPECT_EQ(curve.front()["x"].get<double>(), 0);
    EXPECT_LE(curve.front()["Mmin"].get<double>(), e.combinations[2].forces.M1[1]);
    // The curve runs over the whole span (6.00 m); inside it, Vmax and Vmin
    // are the largest and least shear of all combinations at that point.
    EXPECT_EQ(curve.back()["x"].get<double>(), 6.0);
    const nlohmann::json& mid = curve[curve.size() / 2];
    const double x = mid["x"].get<double>();
    ASSERT_GT(x, 0.0);
    ASSERT_LT(x, 6.0);
    double hi = -1e300, lo = 1e300;
    for (const CombinationResult& c : e.combinations) {
        hi = std::max({hi, c.forces.along[1].V(x), c.forces.along[1].V(x, true)});
        lo = std::min({lo, c.forces.along[1].V(x), c.forces.along[1].V(x, true)});
    }
    EXPECT_EQ(mid["Vmax"].get<double>(), hi);
    EXPECT_EQ(mid["Vmin"].get<double>(), lo);
    EXPECT_LT(lo, hi);
}

} // namespace
