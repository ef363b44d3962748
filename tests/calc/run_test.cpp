#include "calc/run.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;
using kjtest::bytesOf;
using kjtest::writeBytes;

namespace {

// A working folder of its own for every test; slot names resolve in it.
class CalcRun : public ::testing::Test {
protected:
    kjtest::TempDir temp{"kjcalc"};
    fs::path dir = temp.path;
    void SetUp() override { setWorkingRoot(dir); }
    CalcRequest request(const std::string& data = "\\KJ-1.txt")
    {
        CalcRequest r;
        r.dataName = data;
        r.date = "2026-12-07";
        r.time = "9:05:00";
        return r;
    }
    std::string report() { return decodeFileBytes(bytesOf(dir / "zemowj1.txt")); }
};

const char* kExample = "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n300,25\r\n";

std::string echoOfExample()
{
    return "\r\n"
           "              ******* KJ-1 输入信息  *******  [2026-12-07/9:05:00]\r\n"
           "L,NF,NJ,CL,NZ:  2  1  1  0 \r\n"
           "LL$,I$1: 6.003.60, 112\r\n"
           "BH$,I$2: .25.50.40.40, 11222\r\n"
           "Qq1$(I): 1 20.0, 1 20.0, \r\n"
           "Jj$(I): 20103 50.0   0.0, ";
}

} // namespace

TEST_F(CalcRun, EchoesTheInputAndLeavesTheLastLineForTheDesign)
{
    writeBytes(dir / "KJ-1.txt", kExample);
    runCalculation(request());
    std::string r = report();
    ASSERT_EQ(r.substr(0, echoOfExample().size()), echoOfExample());
    // The design phase ends the open echo line: no empty line before the material line.
    EXPECT_EQ(r.substr(echoOfExample().size(), 59), "\r\n                    ******* Fy= 300  C 25 *******\r\n梁号");
    // GBK on disk.
    EXPECT_NE(bytesOf(dir / "zemowj1.txt").find("\xCA\xE4\xC8\xEB\xD0\xC5\xCF\xA2"), std::string::npos); // 输入信息
}

TEST_F(CalcRun, WithoutJointLoadsTheSpanLoadLineIsTheOpenOne)
{
    writeBytes(dir / "KJ-1.txt", "KJ-2,1,1,0,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n1 20.0\r\n300,25");
    runCalculation(request());
    std::string r = report();
    EXPECT_NE(r.find("Qq1$(I): 1 20.0, \r\n                    ******* Fy= 300  C 25 *******"), std::string::npos);
    EXPECT_EQ(r.find("Jj$(I)"), std::string::npos);
    EXPECT_NE(r.find("L,NF,NJ,CL,NZ:  1  1  0  0 \r\n"), std::string::npos);
}

TEST_F(CalcRun, RenewalOneStartsTheReportAnythingElseAppends)
{
    writeBytes(dir / "KJ-1.txt", kExample);
    writeBytes(dir / "zemowj1.txt", "old report\r\n");
    CalcRequest r = request();
    runCalculation(r);
    std::string once = report();
    EXPECT_EQ(once.substr(0, 12), "old report\r\n");
    runCalculation(r);
    std::string twice = report();
    EXPECT_EQ(twice.size(), once.size() + (once.size() - 12));
    r.renewal = "1";
    runCalculation(r);
    EXPECT_EQ(report(), once.substr(12));
    // Result files are replaced, never appended to.
    std::string lpj = bytesOf(dir / "lpj-1.txt");
    runCalculation(r);
    EXPECT_EQ(bytesOf(dir / "lpj-1.txt"), lpj);
}

TEST_F(CalcRun, ResultFilesEndWithAnEmptyLineAndMatchThePaneTexts)
{
    writeBytes(dir / "KJ-1.txt", kExample);
    CalcResult res = runCalculation(request());
    EXPECT_EQ(res.beamBarsText,
              "\"2,14+0,0 2/0\", \"2*6@135\", \"2,16+1,14 3/0\", \"2*6@135\", \"2,14+0,0 0/2\"\r\n"
              "\"2,16+1,14 3/0\", \"2*6@135\", \"2,14+0,0 2/0\", \"2*6@135\", \"2,14+0,0 0/2\"\r\n");
    EXPECT_EQ(res.forceDiagramText, "-35,73,37,54,-66\r\n-73,35,37,66,-54\r\n35,17\r\n0,0\r\n-35,-17\r\n");
    EXPECT_EQ(bytesOf(dir / "lpj-1.txt"), res.beamBarsText + "\r\n");
    EXPECT_EQ(bytesOf(dir / "mvts-1.txt"), res.forceDiagramText + "\r\n");
}

TEST_F(CalcRun, ResultFileNamesMatchExistingFilesInAnyLetterCase)
{
    writeBytes(dir / "KJ-1.txt", kExample);
    writeBytes(dir / "Lpj-1.txt", "old");
    runCalculation(request());
    EXPECT_FALSE(fs::exists(dir / "lpj-1.txt"));
    EXPECT_NE(bytesOf(dir / "Lpj-1.txt"), "old");
}

TEST_F(CalcRun, ContinuousBeamWritesOnlyBeamLinesAndNoColumnTable)
{
    writeBytes(dir / "KJ-1.txt", "CB,2,1,0,1,\r\n4.006.00,12\r\n.25.50,11000\r\n1 20.0,1 20.0\r\n300,25\r\n");
    CalcResult res = runCalculation(request());
    std::string r = report();
    EXPECT_EQ(r.find("柱号"), std::string::npos);
    EXPECT_EQ(r.substr(r.size() - 2), "\r\n");
    EXPECT_EQ(std::count(res.forceDiagramText.begin(), res.forceDiagramText.end(), '\n'), 2);
}

TEST_F(CalcRun, MissingDataFileTouchesNothing)
{
    writeBytes(dir / "zemowj1.txt", "kept\r\n");
    CalcRequest r = request("\\KJ-9.txt");
    r.renewal = "1";
    try {
        runCalculation(r);
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "找不到文件 \\KJ-9.txt");
    }
    EXPECT_EQ(bytesOf(dir / "zemowj1.txt"), "kept\r\n");
    EXPECT_FALSE(fs::exists(dir / "lpj-1.txt"));
}

TEST_F(CalcRun, FailureAfterTheEchoKeepsTheEchoAndLeavesResultFilesAlone)
{
    // The second beam's length digit selects an empty entry.
    writeBytes(dir / "KJ-1.txt", "KJ-1,2,1,0,0,\r\n6.003.60,102\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n300,25\r\n");
    writeBytes(dir / "lpj-1.txt", "earlier");
    writeBytes(dir / "mvts-1.txt", "earlier");
    EXPECT_THROW(runCalculation(request()), Failure);
    std::string r = report();
    // The block ends with the reason it has no tables.
    const std::string why = "Qq1$(I): 1 20.0, 1 20.0, \r\n计算未完成: 数据文件 \\KJ-1.txt: 第 2 号梁的长度不是正数 "
                            "(长度编号 \"0\" 选中的长度为 0)\r\n";
    ASSERT_GE(r.size(), why.size());
    EXPECT_EQ(r.substr(r.size() - why.size()), why);
    EXPECT_EQ(bytesOf(dir / "lpj-1.txt"), "earlier");
    EXPECT_EQ(bytesOf(dir / "mvts-1.txt"), "earlier");
    // Record 6 missing: found only after the analysis, still before any result file.
    writeBytes(dir / "KJ-1.txt", "KJ-1,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n");
    try {
        runCalculation(request());
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "数据文件 \\KJ-1.txt 不完整: 最后一类数据(Fy, C)缺少第 1 项");
    }
    EXPECT_EQ(bytesOf(dir / "lpj-1.txt"), "earlier");
}

TEST_F(CalcRun, UnreadableBytesNeverCrashTheRun)
{
    std::string junk;
    for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 7919) % 256);
    writeBytes(dir / "KJ-1.txt", junk);
    EXPECT_THROW(runCalculation(request()), Failure);
}
