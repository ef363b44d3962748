// Values no frame can have are refused before anything is written, naming
// the field, the range and, for sizes, the member.
#include "analysis/frame_data.h"
#include "analysis/plausible_sizes.h"
#include "calc/project.h"
#include "calc/run.h"
#include "common/failure.h"
#include "common/platform.h"
#include "common/textfile.h"
#include "design/materials.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace fs = std::filesystem;
using namespace kj;

namespace {

using kjtest::failureOf;

FrameModel modelOf(const std::string& text)
{
    FrameFileReader reader(text, "\\KJ-1.txt");
    return buildModel(reader.readRecords1to5());
}

} // namespace

TEST(PlausibleValues, MaterialsWithinTheRuleSetsRange)
{
    const auto check = [](double Fy, double C, DesignCode code) {
        return failureOf([&] { checkMaterials(Materials{Fy, C}, code); });
    };
    const DesignCode old = DesignCode::Default, gb = DesignCode::Gb50010_2010;
    for (double C : {10.0, 22.5, 80.0}) EXPECT_EQ(check(300, C, old), "no failure") << C;
    for (double Fy : {210.0, 300.0, 360.0}) EXPECT_EQ(check(Fy, 30, old), "no failure") << Fy;
    for (double Fy : {270.0, 300.0, 360.0, 435.0}) EXPECT_EQ(check(Fy, 15, gb), "no failure") << Fy;
    EXPECT_EQ(check(360, 80, gb), "no failure");
    EXPECT_EQ(check(300, 2010350, old), "混凝土强度等级 C=2010350 超出范围: 原方法 取 C10 至 C80");
    EXPECT_EQ(check(300, 9.5, old), "混凝土强度等级 C=9.5 超出范围: 原方法 取 C10 至 C80");
    EXPECT_EQ(check(300, 85, gb), "混凝土强度等级 C=85 超出范围: GB50010-2010 取 C15 至 C80 中 5 的倍数");
    EXPECT_EQ(check(300, 22.5, gb), "混凝土强度等级 C=22.5 超出范围: GB50010-2010 取 C15 至 C80 中 5 的倍数");
    EXPECT_EQ(check(400, 30, old), "钢筋强度设计值 Fy=400 超出范围: 原方法 取 210、300 或 360 (HRB400 的强度设计值是 360)");
    EXPECT_EQ(check(400, 30, gb),
              "钢筋强度设计值 Fy=400 超出范围: GB50010-2010 取 270、300、360 或 435 (HRB400 的强度设计值是 360)");
    EXPECT_EQ(check(210, 30, gb), "钢筋强度设计值 Fy=210 超出范围: GB50010-2010 取 270、300、360 或 435");
    EXPECT_NE(check(std::nan(""), 30, old), "no failure");
}

TEST(PlausibleValues, MemberSizesNameTheMember)
{
    // Sections .25x.50 and .40x.40 m, spans 6.00 m, storey 3.60 m.
    const std::string head = "KJ-1,2,1,1,0,\r\n";
    const std::string loads = "\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n300,25\r\n";
    EXPECT_EQ(failureOf([&] { checkMemberSizes(modelOf(head + "6.003.60,112\r\n.25.50.40.40,11222" + loads)); }),
              "no failure");
    EXPECT_EQ(failureOf([&] { checkMemberSizes(modelOf(head + "6.003.60,112\r\n.09.50.40.40,11222" + loads)); }),
              "第 1 号梁的截面宽度 b 为 90 mm, 超出范围: 应在 100 mm 至 3000 mm 之间, 或小于 51 mm (只计算内力, 不配筋)");
    EXPECT_EQ(failureOf([&] { checkMemberSizes(modelOf(head + "6.003.60,112\r\n.25.50.403.1,11222" + loads)); }),
              "第 1 号柱的截面高度 h 为 3100 mm, 超出范围: 应在 100 mm 至 3000 mm 之间");
    EXPECT_EQ(failureOf([&] { checkMemberSizes(modelOf(head + "31.03.60,112\r\n.25.50.40.40,11222" + loads)); }),
              "第 1 号梁的跨度 L 为 31 m, 超出范围: 应不大于 30 m");
    EXPECT_EQ(failureOf([&] { checkMemberSizes(modelOf(head + "6.0020.1,112\r\n.25.50.40.40,11222" + loads)); }),
              "第 1 号柱的层高 H 为 20.1 m, 超出范围: 应不大于 20 m");
    EXPECT_EQ(failureOf([&] { checkMemberSizes(modelOf(head + "30.020.0,112\r\n.10.50.403.0,11222" + loads)); }),
              "no failure");
}

TEST(PlausibleValues, ARunIsRefusedBeforeAnyFileIsWritten)
{
    kjtest::TempDir temp("kjplausible");
    setWorkingRoot(temp.path);
    kjtest::writeBytes(temp.path / "zemowj1.txt", "kept\r\n");
    const std::string frame = "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n";
    CalcRequest req;
    kjtest::writeBytes(temp.path / "KJ-1.txt", frame + "300,2010350\r\n");
    EXPECT_EQ(failureOf([&] { runCalculation(req); }),
              "数据文件 \\KJ-1.txt 最后一类数据: 混凝土强度等级 C=2010350 超出范围: 原方法 取 C10 至 C80");
    kjtest::writeBytes(temp.path / "KJ-1.txt", frame + "400,25\r\n");
    EXPECT_NE(failureOf([&] { runCalculation(req); }).find("(HRB400 的强度设计值是 360)"), std::string::npos);
    kjtest::writeBytes(temp.path / "KJ-1.txt",
                       "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.06.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n"
                       "300,25\r\n");
    EXPECT_EQ(failureOf([&] { runCalculation(req); }),
              "数据文件 \\KJ-1.txt: 第 1 号柱的截面宽度 b 为 60 mm, 超出范围: 应在 100 mm 至 3000 mm 之间, 或小于 51 mm "
              "(只计算内力, 不配筋)");
    EXPECT_EQ(kjtest::bytesOf(temp.path / "zemowj1.txt"), "kept\r\n");
    EXPECT_FALSE(fs::exists(temp.path / "lpj-1.txt"));
    EXPECT_FALSE(fs::exists(temp.path / kj::platform::kFolderLockName));
}

// A project's values are checked as a data file's, naming the project file.
TEST(PlausibleValues, AProjectIsCheckedLikeADataFile)
{
    kjtest::TempDir temp("kjplausible");
    setWorkingRoot(temp.path);
    const std::string head = R"({"schema": "kjpj-project/1", "name": "P", "spans": [6], "storeys": [4],
      "beams": [["B"]], "columns": [["C", "C"]], "cases": {"G": {"beamLoads": [[[{"q": 20}]]]}},)";
    auto run = [&](const std::string& rest) {
        CalcRequest req;
        req.project = parseProject(head + rest, "\\p.kjpj");
        return failureOf([&] { runCalculation(req); });
    };
    EXPECT_EQ(run(R"("sections": {"B": [250, 500], "C": [400, 400]}, "materials": {"concrete": 30, "fy": 400}})"),
              "项目文件 \\p.kjpj: 钢筋强度设计值 Fy=400 超出范围: 原方法 取 210、300 或 360 (HRB400 的强度设计值是 360)");
    EXPECT_EQ(run(R"("sections": {"B": [250, 5000], "C": [400, 400]}, "materials": {"concrete": 30, "fy": 360}})"),
              "项目文件 \\p.kjpj: 第 1 号梁的截面高度 h 为 5000 mm, 超出范围: 应在 100 mm 至 3000 mm 之间");
    EXPECT_FALSE(fs::exists(temp.path / "zemowj1.txt"));
    EXPECT_EQ(run(R"("sections": {"B": [250, 500], "C": [400, 400]}, "materials": {"concrete": 30, "fy": 360}})"),
              "no failure");
}

// Props, hinges and members of relative stiffness are modelled narrower than
// 51 mm: analysed, not designed, named on a line of the report.
TEST(PlausibleValues, MembersUnder51MillimetresAreAnalysedAndNotDesigned)
{
    kjtest::TempDir temp("kjplausible");
    setWorkingRoot(temp.path);
    // Two 6 m spans of 250x500 on 400x400 columns 3.6 m high, the middle
    // column a prop of width 0; 20 kN/m on both spans, 50 kN on the outer joints.
    const std::string frame = "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40.00.40,11232\r\n1 20.0,1 20.0\r\n"
                              "20103 50.0   0.0\r\n300,25\r\n";
    kjtest::writeBytes(temp.path / "KJ-1.txt", frame);
    for (const char* code : {"原方法", "GB50010-2010"}) {
        CalcRequest req;
        req.design.code = code;
        req.renewal = "1";
        const CalcResult r = runCalculation(req);
        const CalculationResult& c = r.calculation;
        // By symmetry the middle joint does not turn: with kb = .25 x .5^3 / 6
        // and kc = .4^4 / 3.6, the outer joint turns by 60 / 4 (kb + kc), the
        // middle support moment is 60 + 2 kb theta = 72.683 kN*m and the prop
        // carries 2 (60 + (72.683 - 34.634) / 6) = 132.683 kN.
        EXPECT_NEAR(c.forces.N[2], 132.683, 5e-4) << code;
        EXPECT_NEAR(c.forces.N[1] + c.forces.N[2] + c.forces.N[3], 240 + 100 + 2 * 0.4 * 0.4 * 3.6 * 30, 1e-9) << code;
        EXPECT_FALSE(c.columns[2].designed) << code;
        EXPECT_EQ(c.columns[2].skipReason, "截面宽度小于 51 mm, 不配筋") << code;
        EXPECT_TRUE(c.columns[1].designed && c.columns[3].designed && c.beams[1].designed) << code;
        // Its forces unrounded in the force file, as the default method writes them.
        EXPECT_NE(r.forceDiagramText.find("\r\n0,0\r\n"), std::string::npos) << code;
        // Named on a line under the column table of GB 50010-2010; the default
        // method's tables stay as they were, the run's warnings name it.
        const std::string line = "第 2 号柱截面宽度 b 为 0 mm, 小于 51 mm: 只计算内力, 不配筋 (撑杆、铰或相对刚度的构件; "
                                 "若是漏填的截面, 请补上)";
        EXPECT_EQ(analysedOnlyLines(c.model), std::vector<std::string>{line});
        const std::string report = readTextFile(temp.path / "zemowj1.txt", "zemowj1.txt");
        EXPECT_EQ(report.find("注: " + line + "\r\n") != std::string::npos, req.design.code != "原方法") << code;
    }
    // A frame standing on 40 mm props alone, a continuous beam in effect:
    // under GB 50010-2010 its storey does not sway (etaS 1), nothing is refused.
    kjtest::writeBytes(temp.path / "KJ-1.txt", "KJ-1,2,1,0,0,\r\n6.003.60,112\r\n.25.50.04.40,11222\r\n1 20.0,1 20.0\r\n"
                                               "300,25\r\n");
    CalcRequest req;
    req.design.code = "GB50010-2010";
    const CalcResult r = runCalculation(req);
    ASSERT_EQ(r.calculation.sway.size(), 2u);
    EXPECT_EQ(r.calculation.sway[1].etaS, 1.0);
    EXPECT_EQ(analysedOnlyLines(r.calculation.model).size(), 3u);
    // A project takes a width of 0 and refuses a negative one.
    const std::string project = R"({"schema": "kjpj-project/1", "name": "P", "spans": [6, 6], "storeys": [3.6],
      "beams": [["B", "B"]], "columns": [["C", "P", "C"]], "cases": {"G": {"beamLoads": [[[{"q": 20}], [{"q": 20}]]]}},
      "materials": {"concrete": 25, "fy": 300}, "sections": {"B": [250, 500], "C": [400, 400], "P": [)";
    EXPECT_NO_THROW(checkProjectValues(parseProject(project + "0, 400]}}", "\\p.kjpj")));
    EXPECT_EQ(failureOf([&] { parseProject(project + "-1, 400]}}", "\\p.kjpj"); }),
              "项目文件 \\p.kjpj: sections.P[0] 应不小于 0 mm, 实为 -1");
    EXPECT_EQ(failureOf([&] { checkProjectValues(parseProject(project + "60, 400]}}", "\\p.kjpj")); }),
              "项目文件 \\p.kjpj: 第 2 号柱的截面宽度 b 为 60 mm, 超出范围: 应在 100 mm 至 3000 mm 之间, 或小于 51 mm "
              "(只计算内力, 不配筋)");
}
