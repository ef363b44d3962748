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
              "第 1 号梁的截面宽度 b 为 90 mm, 超出范围: 应在 100 mm 至 3000 mm 之间");
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
                       "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.05.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n"
                       "300,25\r\n");
    EXPECT_EQ(failureOf([&] { runCalculation(req); }),
              "数据文件 \\KJ-1.txt: 第 1 号柱的截面宽度 b 为 50 mm, 超出范围: 应在 100 mm 至 3000 mm 之间");
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
