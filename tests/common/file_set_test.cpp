// Files put in place as one set, the temporary files they leave when a run
// is killed, the folder lock, and names that come from inside files.
#include "common/failure.h"
#include "common/platform.h"
#include "common/textfile.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;
using kjtest::bytesOf;
using kjtest::TempDir;
using kjtest::writeBytes;

namespace {

int entries(const fs::path& dir)
{
    int n = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++n;
    return n;
}

} // namespace

TEST(FileSet, NothingMovesUntilCommitThenAllInOrder)
{
    TempDir t;
    writeBytes(t.path / "a.txt", "old a");
    FileSet set;
    set.addText(t.path / "a.txt", "梁", "\\a.txt");
    set.addBytes(t.path / "b.txt", "new b", "\\b.txt");
    EXPECT_EQ(bytesOf(t.path / "a.txt"), "old a");
    EXPECT_FALSE(fs::exists(t.path / "b.txt"));
    EXPECT_EQ(entries(t.path), 3); // a.txt and two temporary files
    set.commit();
    EXPECT_EQ(bytesOf(t.path / "a.txt"), "\xC1\xBA");
    EXPECT_EQ(bytesOf(t.path / "b.txt"), "new b");
    EXPECT_EQ(entries(t.path), 2);

    // Not committed: the temporary files go, the targets stay.
    {
        FileSet dropped;
        dropped.addBytes(t.path / "b.txt", "newer", "\\b.txt");
    }
    EXPECT_EQ(bytesOf(t.path / "b.txt"), "new b");
    EXPECT_EQ(entries(t.path), 2);
    // A target that cannot be written is refused when it is added.
    fs::create_directory(t.path / "d");
    FileSet refused;
    try {
        refused.addBytes(t.path / "d", "x", "\\d");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()).rfind("无法写入文件 \\d: ", 0), 0u) << f.what();
    }
}

TEST(FileSet, StaleTemporariesGoThoseHeldStay)
{
    TempDir t;
    const std::string prefix = platform::kTempPrefix;
    writeBytes(t.path / (prefix + "lpj-1.txt.abc123"), "left by a killed run");
    writeBytes(t.path / "lpj-1.txt", "kept");
    platform::StagedFile held;
    ASSERT_EQ(held.write(t.path / "mvts-1.txt", "in progress"), "");
    platform::removeStaleTemporaries(t.path);
    EXPECT_FALSE(fs::exists(t.path / (prefix + "lpj-1.txt.abc123")));
    EXPECT_TRUE(fs::exists(held.path()));
    // The prefix and a short tag (six characters; on Windows the process
    // and a counter), whatever the target's name.
    EXPECT_EQ(held.path().filename().string().rfind(prefix, 0), 0u);
#ifdef _WIN32
    EXPECT_LE(held.path().filename().string().size(), prefix.size() + 17);
#else
    EXPECT_EQ(held.path().filename().string().size(), prefix.size() + 6);
#endif
    EXPECT_EQ(held.commit(), "");
    EXPECT_EQ(bytesOf(t.path / "mvts-1.txt"), "in progress");
    EXPECT_EQ(bytesOf(t.path / "lpj-1.txt"), "kept");
}

TEST(FolderLock, SecondHolderWaitsThenGivesUp)
{
    TempDir t;
    auto first = std::make_unique<platform::FolderLock>();
    using Result = platform::FolderLock::Result;
    ASSERT_EQ(first->acquire(t.path, 0), Result::Taken);
    platform::FolderLock second;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(second.acquire(t.path, 200), Result::Busy);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    first.reset();
    EXPECT_EQ(second.acquire(t.path, 0), Result::Taken);
}

#ifndef _WIN32
TEST(FileSet, ALinkIsWrittenThroughAndStays)
{
    TempDir t;
    fs::create_directory(t.path / "books");
    writeBytes(t.path / "books" / "real.txt", "old");
    fs::create_symlink(fs::path("books") / "real.txt", t.path / "report.txt");
    FileSet set;
    set.addBytes(t.path / "report.txt", "new", "\\report.txt");
    set.commit();
    EXPECT_TRUE(fs::is_symlink(t.path / "report.txt"));
    EXPECT_EQ(bytesOf(t.path / "books" / "real.txt"), "new");
}
#endif

TEST(EntryPath, NamesFromFilesStayInTheWorkingFolder)
{
    TempDir t;
    setWorkingRoot(t.path);
    EXPECT_EQ(entryPath("\\KJ-1.txt", "x"), t.path / "KJ-1.txt");
    EXPECT_EQ(entryPath("KJ-1.txt", "x"), t.path / "KJ-1.txt");
    EXPECT_EQ(entryPath("\\sub\\..a.txt", "x"), t.path / "sub" / "..a.txt");
    for (const char* bad : {"\\..\\x.txt", "..\\x.txt", "sub\\..\\..\\x.txt", "\\. .\\x.txt", "/etc/passwd",
                            "C:\\x.txt", "c:x.txt", "\\\\server\\share\\x.txt", "sub/../../x.txt", "\\...\\x"}) {
        try {
            entryPath(bad, "工况组合文件 \\zhgk-1.txt 中工况 G");
            ADD_FAILURE() << bad;
        } catch (const Failure& f) {
            EXPECT_EQ(std::string(f.what()).rfind("工况组合文件 \\zhgk-1.txt 中工况 G 的文件名 \"", 0), 0u) << f.what();
        }
    }
}

#ifndef _WIN32
// A name of the folder that is a symbolic link, or passes through a linked
// folder, to a file elsewhere leads out of it all the same.
TEST(EntryPath, ANameLinkingOutOfTheFolderIsRefused)
{
    TempDir t, elsewhere;
    setWorkingRoot(t.path);
    writeBytes(elsewhere.path / "G.txt", "x");
    fs::create_symlink(elsewhere.path / "G.txt", t.path / "G.txt");
    fs::create_directory_symlink(elsewhere.path, t.path / "out");
    fs::create_symlink("G.txt", t.path / "H.txt"); // a chain ends outside too
    for (const char* name : {"\\G.txt", "G.txt", "\\out\\G.txt", "H.txt"})
        EXPECT_EQ(kjtest::failureOf([&] { refuseNameOutsideFolder(name, "工况组合文件 \\zhgk-1.txt 中工况 G"); }),
                  "工况组合文件 \\zhgk-1.txt 中工况 G 的文件名 \"" + std::string(name) +
                      "\" 经符号链接指向工作文件夹之外: 文件中记下的文件名只能指工作文件夹中的文件");
    writeBytes(t.path / "in.txt", "x");
    fs::create_symlink("in.txt", t.path / "I.txt");
    EXPECT_NO_THROW(refuseNameOutsideFolder("\\I.txt", "x"));
}
#endif
