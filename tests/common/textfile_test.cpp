#include "common/failure.h"
#include "common/textfile.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;

using kjtest::bytesOf;
using kjtest::TempDir;
using kjtest::writeBytes;

TEST(TextFile, WritesGbkAndReadsGbkOrUtf8)
{
    TempDir t;
    fs::path p = t.path / "a.txt";
    replaceTextFile(p, "梁号\r\n", "\\a.txt");
    EXPECT_EQ(bytesOf(p), "\xC1\xBA\xBA\xC5\r\n"); // GBK bytes of the two characters
    EXPECT_EQ(readTextFile(p, "\\a.txt"), "梁号\r\n");
    writeBytes(p, "\xEF\xBB\xBF梁号\n");
    EXPECT_EQ(readTextFile(p, "\\a.txt"), "梁号\n");
    replaceTextFile(p, "梁号", "\\a.txt");
    appendTextFile(p, "\r\n柱", "\\a.txt");
    EXPECT_EQ(readTextFile(p, "\\a.txt"), "梁号\r\n柱");
}

TEST(TextFile, ReplaceLeavesNoTemporaryAndMissingFileIsAFailure)
{
    TempDir t;
    fs::path p = t.path / "b.txt";
    replaceTextFile(p, "old", "\\b.txt");
    replaceTextFile(p, "new", "\\b.txt");
    EXPECT_EQ(bytesOf(p), "new");
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(t.path)) ++entries;
    EXPECT_EQ(entries, 1);
    try {
        readTextFile(t.path / "none.txt", "\\none.txt");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "找不到文件 \\none.txt");
    }
    EXPECT_THROW(replaceTextFile(t.path / "no-such-dir" / "c.txt", "x", "c"), Failure);
}

TEST(SlotPath, BackslashMeansWorkingRootAndLetterCaseIsIgnored)
{
    TempDir t;
    writeBytes(t.path / "Lpj-1.txt", "x");
    EXPECT_EQ(slotPath("\\lpj-1.txt", t.path), t.path / "Lpj-1.txt");
    EXPECT_EQ(slotPath("\\Lpj-1.txt", t.path), t.path / "Lpj-1.txt");
    EXPECT_EQ(slotPath("\\KJ-1.txt", t.path), t.path / "KJ-1.txt");
    fs::create_directories(t.path / "Sub");
    writeBytes(t.path / "Sub" / "Data.TXT", "x");
    EXPECT_EQ(slotPath("\\sub\\data.txt", t.path), t.path / "Sub" / "Data.TXT");
    EXPECT_EQ(slotPath("rel.txt", t.path), fs::path("rel.txt"));
    EXPECT_THROW(slotPath("", t.path), Failure);
}
