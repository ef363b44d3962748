#include "calc/run.h"
#include "common/failure.h"
#include "common/same_file.h"
#include "common/textfile.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;
using kjtest::bytesOf;
using kjtest::writeBytes;

TEST(SameFile, OneFileByLinkCaseOrDotsAndNewNamesEqualButForCase)
{
    kjtest::TempDir temp{"kjsame"};
    const fs::path d = temp.path;
    writeBytes(d / "KJ-1.txt", "a");
    writeBytes(d / "kj-2.txt", "b");
    writeBytes(d / "KJ-2.txt", "c"); // two files that differ only in letter case
    fs::create_directory(d / "sub");
    fs::create_hard_link(d / "KJ-1.txt", d / "hard.txt");
    std::error_code noLinks; // some systems (wine) make no symbolic links
    fs::create_symlink(d / "KJ-1.txt", d / "soft.txt", noLinks);

    EXPECT_TRUE(sameFile(d / "KJ-1.txt", slotPath("\\kj-1.TXT", d)));
    EXPECT_TRUE(sameFile(d / "KJ-1.txt", slotPath("\\sub\\..\\KJ-1.txt", d)));
    EXPECT_TRUE(sameFile(d / "KJ-1.txt", d / "hard.txt"));
    if (!noLinks) {
        EXPECT_TRUE(sameFile(d / "soft.txt", d / "KJ-1.txt"));
    }
    EXPECT_TRUE(sameFile(d / "sub/./new.txt", d / "sub/New.Txt")); // neither exists yet
    EXPECT_TRUE(sameFile(d / "no/such/new.txt", d / "No/Such/NEW.txt"));
    // Letter case and trailing separators, for existing and new names alike.
    EXPECT_TRUE(sameFile(d / "SUB/", d / "sub"));
    EXPECT_TRUE(sameFile(d / "new/", d / "NEW"));
    EXPECT_TRUE(sameFile(d / "Sub" / "x.txt", d / "sub" / "X.TXT"));
    // Where the file system tells letter case apart, these are two files.
    if (kjtest::hasEntry(d, "kj-2.txt") && kjtest::hasEntry(d, "KJ-2.txt")) {
        EXPECT_FALSE(sameFile(d / "kj-2.txt", d / "KJ-2.txt"));
    }
    EXPECT_FALSE(sameFile(d / "KJ-1.txt", d / "kj-2.txt"));
    EXPECT_FALSE(sameFile(d / "new.txt", d / "sub/new.txt"));
    EXPECT_FALSE(sameFile(d / "new.txt", d / "new.txt.bak"));
    EXPECT_FALSE(sameFile(d / "sub", d / "sub/sub"));

    EXPECT_NO_THROW(refuseSameFiles({{"数据文件 \\KJ-1.txt", d / "KJ-1.txt"}, {"计算书 \\KJ-2.txt", d / "KJ-2.txt"}}));
    try {
        refuseSameFiles({{"数据文件 \\KJ-1.txt", d / "KJ-1.txt"},
                         {"计算书 \\r.txt", d / "r.txt"},
                         {"配筋文件 \\lpj-1.txt", d / "lpj-1.txt"},
                         {"内力文件 \\R.TXT", d / "R.TXT"}});
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "内力文件 \\R.TXT 与计算书 \\r.txt 是同一个文件");
    }
}

// A report named like a result file that does not exist yet would have been
// created first and then replaced by the result file: nothing is written.
TEST(SameFile, RunRefusesAReportThatIsAResultFileBeforeWritingAnything)
{
    kjtest::TempDir temp{"kjsame"};
    setWorkingRoot(temp.path);
    writeBytes(temp.path / "KJ-1.txt", "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n"
                                       "20103 50.0   0.0\r\n300,25\r\n");
    CalcRequest r;
    r.reportName = "\\MVTS-1.TXT";
    try {
        runCalculation(r);
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "内力文件 \\mvts-1.txt 与计算书 \\MVTS-1.TXT 是同一个文件");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path), fs::directory_iterator()), 1);
}
