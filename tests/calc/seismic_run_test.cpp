// A run with seismic design: refused before any file is touched when it
// cannot be done, and otherwise the earthquake E, its combinations, the
// report's block and the JSON object.
#include "calc/run.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "design/gb50011_2010.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;

namespace {

class SeismicRun : public ::testing::Test {
protected:
    kjtest::TempDir temp{"kjseismic"};
    fs::path dir = temp.path;
    void SetUp() override
    {
        setWorkingRoot(dir);
        kjtest::copyExamples(dir, {"KJ-1.txt", "KJ-1Q.txt", "KJ-1W.txt"});
    }
    CalcRequest request()
    {
        CalcRequest r;
        r.cases = {{"G", "\\KJ-1.txt"}, {"Q", "\\KJ-1Q.txt"}, {"W", "\\KJ-1W.txt"}};
        r.design.code = "GB50010-2010";
        r.seismic = {"8", "II", "2", "", ""};
        r.renewal = "1";
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

TEST_F(SeismicRun, RefusalsLeaveTheReportAsItWas)
{
    kjtest::writeBytes(dir / "zemowj1.txt", "kept\r\n");
    CalcRequest r = request();
    r.design.code = "原方法";
    EXPECT_NE(failureOf(r).find("原方法时不能进行抗震计算"), std::string::npos);
    r = request();
    r.seismic.site = "V";
    EXPECT_NE(failureOf(r).find("场地类别"), std::string::npos);
    // A data file alone holds design values, not the G and Q of GE.
    r = request();
    r.cases.clear();
    r.dataName = "\\KJ-1.txt";
    EXPECT_EQ(failureOf(r), "数据文件 \\KJ-1.txt 的荷载是设计值: 抗震验算需要荷载标准值, 请按工况 (G, Q) 或项目文件给出");
    EXPECT_EQ(kjtest::bytesOf(dir / "zemowj1.txt"), "kept\r\n");
    EXPECT_FALSE(fs::exists(dir / "lpj-1.txt"));
    EXPECT_FALSE(fs::exists(dir / "mvts-1.txt"));
}

TEST_F(SeismicRun, TheEarthquakeIsCombinedReportedAndWritten)
{
    CalcRequest r = request();
    r.jsonName = "\\out.json";
    const CalcResult result = runCalculation(r);
    ASSERT_TRUE(result.seismic.has_value());
    ASSERT_TRUE(result.envelope.has_value());
    EXPECT_EQ(result.envelope->cases.back().kind, LoadCaseKind::E);
    EXPECT_EQ(result.envelope->combinations.back().combination.name, "1.0G+0.5Q-1.4E");
    const std::string report = readTextFile(dir / "zemowj1.txt", "\\zemowj1.txt");
    EXPECT_NE(report.find("地震作用  GB 50011-2010"), std::string::npos);
    EXPECT_NE(report.find("1.3G+0.65Q+1.4E"), std::string::npos);
    const nlohmann::json j = nlohmann::json::parse(kjtest::bytesOf(dir / "out.json"));
    ASSERT_TRUE(j.contains("seismic"));
    EXPECT_DOUBLE_EQ(j["seismic"]["FEk"].get<double>(), result.seismic->FEk);
    EXPECT_EQ(j["seismic"]["floors"].size(), 1u);

    // The dead load alone as a case, a grade chosen.
    CalcRequest single;
    single.cases = {{"G", "\\KJ-1.txt"}};
    single.design.code = "2010";
    single.seismic = {"7", "II", "1", "3", "0.65"};
    const CalcResult alone = runCalculation(single);
    ASSERT_TRUE(alone.seismic.has_value());
    EXPECT_EQ(alone.seismic->grade, 3);
    EXPECT_FALSE(alone.seismic->gradeFromTable);
    EXPECT_EQ(alone.envelope->combinations.size(), 6u); // 1.3G, 1.0G and four seismic
}

// KJ-1 (two spans) at grade 2 as an edge frame: the outer columns 1 and 3
// take 1.10 on their adjusted moments and shears in every seismic
// combination (GB 50011 6.2.6), column 2 and the static combinations none;
// the outer columns at least the corner row of Table 11.4.12-1, their ties
// densified over the whole height (11.4.14).
TEST_F(SeismicRun, CornerColumnsOfAnEdgeFrame)
{
    CalcRequest r = request();
    r.seismic.grade = "2";
    const CalcResult plain = runCalculation(r);
    r.seismic.cornerColumns = true;
    const CalcResult corner = runCalculation(r);
    const std::vector<CombinationResult>& a = plain.envelope->combinations;
    const std::vector<CombinationResult>& b = corner.envelope->combinations;
    ASSERT_EQ(a.size(), b.size());
    int seismic = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const bool E = a[k].combination.uses(LoadCaseKind::E);
        seismic += E;
        for (std::size_t c = 1; c <= 3; ++c) {
            SCOPED_TRACE(a[k].combination.name + " column " + std::to_string(c));
            const double f = E && c != 2 ? 1.1 : 1.0;
            EXPECT_NEAR(b[k].columns[c].Mtop, f * a[k].columns[c].Mtop, 1e-9);
            EXPECT_NEAR(b[k].columns[c].Mbottom, f * a[k].columns[c].Mbottom, 1e-9);
            if (E) {
                EXPECT_NEAR(b[k].capacity.columns[c].V, f * a[k].capacity.columns[c].V, 1e-9);
            }
        }
    }
    EXPECT_EQ(seismic, 4);

    // Table 11.4.12-1 by hand: the corner row at grade 2, 0.9 %, + 0.1 % for
    // the 300 MPa bars of KJ-1 (+ 0.05 % for 400 MPa): the 400 x 400 corner
    // columns need 1.0 % x 160000 / 2 = 800 mm2 each face at the top.
    EXPECT_DOUBLE_EQ(gb50011::columnMinimumTotalSteelRatio(2, 360, 30, true), 0.0095);
    for (std::size_t c : {1u, 3u}) EXPECT_NEAR(corner.envelope->envelope.columns[c].top.As, 800, 1e-9) << c;
    EXPECT_LT(plain.envelope->envelope.columns[1].top.As, 800);
    const std::string report = readTextFile(dir / "zemowj1.txt", "\\zemowj1.txt");
    EXPECT_NE(report.find("角柱×1.10 γRE="), std::string::npos);
    EXPECT_NE(report.find("最小配筋率 1.00% (按角柱) 增至 As=As'=800 mm2"), std::string::npos);
    EXPECT_NE(report.find("箍筋加密区 角柱沿全高加密 ("), std::string::npos);
    EXPECT_NE(report.find("角柱: 最左、最右两列柱按角柱设计"), std::string::npos);
}

} // namespace
