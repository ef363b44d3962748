// The kept copy of a replaced file: one generation beside it, nothing for a
// missing or empty file, and a failure that names the file.
#include "../test_support.h"
#include "common/backup.h"
#include "common/failure.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(KeepBackup, KeepsOneGenerationOfNonEmptyFiles)
{
    kjtest::TempDir dir("kj-backup");
    const fs::path file = dir.path / "KJ-1.txt";
    const fs::path bak = dir.path / "KJ-1.txt.bak";
    EXPECT_EQ(kj::backupPath(file), bak);

    kj::keepBackup(file, "\\KJ-1.txt"); // missing: nothing to keep
    EXPECT_FALSE(fs::exists(bak));

    kjtest::writeBytes(file, "first\r\n");
    kj::keepBackup(file, "\\KJ-1.txt");
    EXPECT_EQ(kjtest::bytesOf(bak), "first\r\n");
    EXPECT_EQ(kjtest::bytesOf(file), "first\r\n");

    kjtest::writeBytes(file, "second\r\n");
    kj::keepBackup(file, "\\KJ-1.txt");
    EXPECT_EQ(kjtest::bytesOf(bak), "second\r\n");

    // An emptied file does not overwrite the copy of what it held.
    kjtest::writeBytes(file, "");
    kj::keepBackup(file, "\\KJ-1.txt");
    EXPECT_EQ(kjtest::bytesOf(bak), "second\r\n");
}

// A name within 4 of the longest (255 bytes, or 255 UTF-16 units on
// Windows): ".bak" takes the place of its last whole characters.
TEST(KeepBackup, NameTooLongForBakGivesUpItsLastCharacters)
{
#ifdef _WIN32
    const std::wstring beams(250, L'\x6881'); // 250 units of 梁
    EXPECT_EQ(kj::backupPath(fs::path(L"d") / (beams + L"\x6881x")), fs::path(L"d") / (beams + L"\x6881.bak"));
    EXPECT_EQ(kj::backupPath(fs::path(L"d") / (beams + L"x")), fs::path(L"d") / (beams + L"x.bak")); // 251 units
#else
    std::string beams;
    for (int k = 0; k < 83; ++k) beams += "梁"; // 249 bytes
    EXPECT_EQ(kj::backupPath(fs::path("d") / (beams + "梁x")), fs::path("d") / (beams + ".bak"));
    EXPECT_EQ(kj::backupPath(fs::path("d") / (beams + "x")), fs::path("d") / (beams + "x.bak")); // 254 bytes
#endif
}

TEST(KeepBackup, FailureNamesTheFileAndLeavesItAlone)
{
    kjtest::TempDir dir("kj-backup");
    const fs::path file = dir.path / "zemowj1.txt";
    kjtest::writeBytes(file, "report\r\n");
    fs::create_directory(dir.path / "zemowj1.txt.bak"); // a folder where the copy should go
    try {
        kj::keepBackup(file, "\\zemowj1.txt");
        ADD_FAILURE() << "no failure";
    } catch (const kj::Failure& f) {
        const std::string m = f.what();
        EXPECT_EQ(m.rfind("未能把 \\zemowj1.txt 原有的内容保留为 \\zemowj1.txt.bak (", 0), 0u) << m;
        EXPECT_NE(m.find("\\zemowj1.txt 没有改动"), std::string::npos) << m;
    }
    EXPECT_EQ(kjtest::bytesOf(file), "report\r\n");
}
