#include "calc/run.h"
#include "common/failure.h"
#include "common/platform.h"
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
    EXPECT_FALSE(kjtest::hasEntry(dir, "lpj-1.txt"));
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

TEST_F(CalcRun, AFailureOfTheCalculationTouchesNoFile)
{
    writeBytes(dir / "lpj-1.txt", "earlier");
    writeBytes(dir / "mvts-1.txt", "earlier");
    writeBytes(dir / "zemowj1.txt", "kept\r\n");
    writeBytes(dir / "zemowj1.txt.bak", "older\r\n");
    CalcRequest r = request();
    r.renewal = "1";
    const std::string head = "KJ-1,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n";
    const std::pair<std::string, std::string> bad[] = {
        // The second beam's length digit selects an empty entry: a zero span.
        {"KJ-1,2,1,0,0,\r\n6.003.60,102\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n300,25\r\n",
         "数据文件 \\KJ-1.txt: 第 2 号梁的长度不是正数 (长度编号 \"0\" 选中的长度为 0)"},
        // Record 6 missing: found only after the analysis.
        {head + "1 20.0,1 20.0\r\n", "数据文件 \\KJ-1.txt 不完整: 最后一类数据(Fy, C)缺少第 1 项"},
        // A load of 20000 kN/m: a support moment of -38381 kN·m fits no column of the report.
        {head + "120000,1 20.0\r\n300,25\r\n", "报告表格的一行放不下计算结果 (第 12 列前已写到第 13 列): \" 1   -38381 \""},
    };
    for (const auto& [text, message] : bad) {
        writeBytes(dir / "KJ-1.txt", text);
        const auto before = kjtest::folderSnapshot(dir);
        EXPECT_EQ(kjtest::failureOf([&] { runCalculation(r); }).substr(0, message.size()), message);
        EXPECT_EQ(kjtest::folderSnapshot(dir), before) << message;
    }
}

// A run killed between its renames left its commit record and the staged
// files not yet renamed: the next reader, or the next run, renames them
// before it reads or writes anything.
TEST_F(CalcRun, AnInterruptedCommitIsCompletedBeforeAnythingElse)
{
    writeBytes(dir / "KJ-1.txt", kExample);
    writeBytes(dir / "lpj-1.txt", "new lpj");
    writeBytes(dir / "mvts-1.txt", "old mvts");
    writeBytes(dir / "zemowj1.txt", "old report\r\n");
    const std::string tmp = platform::kTempPrefix;
    auto record = [&] {
        std::string r = "kjpj-commit/1\n";
        for (const char* name : {"lpj-1.txt", "mvts-1.txt", "zemowj1.txt"})
            r += (dir / (tmp + name + ".x1")).string() + '\0' + (dir / name).string() + '\0';
        writeBytes(dir / kCommitRecordName, r);
        writeBytes(dir / (tmp + "mvts-1.txt.x1"), "new mvts");
        writeBytes(dir / (tmp + "zemowj1.txt.x1"), "new report\r\n");
    };
    record(); // lpj-1.txt was renamed before the kill
    completeInterruptedCommit();
    EXPECT_EQ(kjtest::folderSnapshot(dir), (std::map<std::string, std::string>{{"KJ-1.txt", kExample},
                                                                               {"lpj-1.txt", "new lpj"},
                                                                               {"mvts-1.txt", "new mvts"},
                                                                               {"zemowj1.txt", "new report\r\n"},
                                                                               {platform::kFolderLockName, ""}}));
    completeInterruptedCommit(); // no record: nothing to do
    record();
    runCalculation(request()); // appends its block to the completed report
    EXPECT_EQ(report().substr(0, 12), "new report\r\n");
    EXPECT_FALSE(fs::exists(dir / kCommitRecordName));
    EXPECT_FALSE(fs::exists(dir / (tmp + "mvts-1.txt.x1")));
    // A record naming anything but a staged file beside its target is refused.
    writeBytes(dir / kCommitRecordName, "kjpj-commit/1\n" + (dir / "KJ-1.txt").string() + '\0' + (dir / "lpj-1.txt").string() + '\0');
    EXPECT_EQ(kjtest::failureOf([&] { runCalculation(request()); }),
              "工作文件夹中的文件替换记录 .kjpj-commit 的第 1 项不是临时文件和它的目标: 请确认没有计算在进行, 删除它后再算");
}

#ifndef _WIN32
TEST_F(CalcRun, ALockFileThatIsALinkIsRefused)
{
    writeBytes(dir / "KJ-1.txt", kExample);
    fs::create_symlink("/nonexistent-kjpj-lock", dir / platform::kFolderLockName);
    const auto before = kjtest::folderSnapshot(dir);
    EXPECT_EQ(kjtest::failureOf([&] { runCalculation(request()); }),
              "文件夹 " + dir.string() + " 中的锁文件 .kjpj-lock 是符号链接, 不能用来防止两个计算同时写这里的文件: 请删除它后再算");
    EXPECT_EQ(kjtest::folderSnapshot(dir), before);
}
#endif

TEST_F(CalcRun, UnreadableBytesNeverCrashTheRun)
{
    std::string junk;
    for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 7919) % 256);
    writeBytes(dir / "KJ-1.txt", junk);
    EXPECT_THROW(runCalculation(request()), Failure);
}

TEST_F(CalcRun, AFailedWriteNamesTheFileAndALongItemIsQuotedShort)
{
    writeBytes(dir / "KJ-1.txt", kExample);
    writeBytes(dir / "lpj-1.txt", "earlier");
    fs::permissions(dir / "lpj-1.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    try {
        runCalculation(request());
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "无法写入文件 \\lpj-1.txt: 文件是只读的");
    }
    EXPECT_EQ(bytesOf(dir / "lpj-1.txt"), "earlier");
    std::string longFy = kExample;
    longFy.replace(longFy.find("300,25"), 3, std::string(500'000, 'x'));
    writeBytes(dir / "KJ-1.txt", longFy);
    try {
        runCalculation(request());
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "数据文件 \\KJ-1.txt: 钢筋强度 Fy 为 \"" + std::string(60, 'x') + "…\", 应为正数");
    }
}
