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

namespace {
using kjtest::failureOf;

} // namespace

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
    // A byte that starts no character becomes '?' and reading goes on with
    // the next byte; text that has no GBK form loses the whole character.
    EXPECT_EQ(decodeFileBytes("\xC1\xBA\x81\x20\x80\xFFok"), "梁? ??ok");
    EXPECT_EQ(encodeGbk("梁\xE6\x41xy"), "\xC1\xBA?y");
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

TEST(SlotPath, ChineseFolderAndFileNames)
{
    TempDir t;
    const fs::path dir = t.path / pathFromUtf8("框架数据");
    fs::create_directories(dir);
    const fs::path p = slotPath("\\框架数据\\梁.txt", t.path);
    replaceTextFile(p, "梁号", "\\框架数据\\梁.txt");
    appendTextFile(slotPath("\\框架数据\\梁.TXT", t.path), "\r\n柱", "\\框架数据\\梁.TXT");
    EXPECT_EQ(readTextFile(slotPath(utf8FromPath(dir) + "/梁.txt"), "梁"), "梁号\r\n柱");
    int entries = 0;
    for (auto& e : fs::directory_iterator(dir)) {
        EXPECT_EQ(utf8FromPath(e.path().filename()), "梁.txt");
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(TextFile, ReadOnlyFilesAndFoldersAreRefusedAndKept)
{
    TempDir t;
    const fs::path p = t.path / "lpj-1.txt";
    writeBytes(p, "kept");
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(failureOf([&] { replaceTextFile(p, "new", "\\lpj-1.txt"); }), "无法写入文件 \\lpj-1.txt: 文件是只读的");
    EXPECT_EQ(failureOf([&] { replaceTextFile(p, "", "\\lpj-1.txt"); }), "无法写入文件 \\lpj-1.txt: 文件是只读的");
    EXPECT_EQ(failureOf([&] { appendTextFile(p, "more", "\\lpj-1.txt"); }), "无法写入文件 \\lpj-1.txt: 文件是只读的");
    EXPECT_EQ(bytesOf(p), "kept");
    fs::create_directories(t.path / "sub");
    EXPECT_EQ(failureOf([&] { replaceTextFile(t.path / "sub", "x", "\\sub"); }), "无法写入文件 \\sub: 是一个文件夹");
    EXPECT_EQ(failureOf([&] { appendTextFile(t.path / "none" / "a.txt", "x", "\\none\\a.txt"); }),
              "无法写入文件 \\none\\a.txt: 文件夹不存在");
    if (kjtest::folderPermissionsBind()) {
        fs::permissions(t.path / "sub", fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_EQ(failureOf([&] { replaceTextFile(t.path / "sub" / "a.txt", "x", "\\sub\\a.txt"); }),
                  "无法写入文件 \\sub\\a.txt: 没有写入权限");
    }
}

TEST(TextFile, FullDiskKeepsTheOldFileAndCutsAFailedAppendBack)
{
    TempDir t;
    const fs::path dir = t.path / "disk";
    fs::create_directories(dir);
    kjtest::SmallDisk disk(dir, 64);
    if (!disk.mounted()) GTEST_SKIP() << "no small file system can be mounted here";
    writeBytes(dir / "mvts-1.txt", "old\r\n");
    writeBytes(dir / "zemowj1.txt", "report\r\n");
    const std::string big(200'000, '7');
    EXPECT_EQ(failureOf([&] { replaceTextFile(dir / "mvts-1.txt", big, "\\mvts-1.txt"); }),
              "无法写入文件 \\mvts-1.txt: 磁盘空间不足");
    EXPECT_EQ(failureOf([&] { appendTextFile(dir / "zemowj1.txt", big, "\\zemowj1.txt"); }),
              "无法写入文件 \\zemowj1.txt: 磁盘空间不足");
    EXPECT_EQ(bytesOf(dir / "mvts-1.txt"), "old\r\n");
    EXPECT_EQ(bytesOf(dir / "zemowj1.txt"), "report\r\n");
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 2);
}

#ifdef __linux__
// A file that cannot be read though it is a regular file (of size 0, like
// an empty one): the failure says why instead of giving an empty text.
TEST(TextFile, AReadErrorIsAFailureNotAnEmptyFile)
{
    EXPECT_EQ(failureOf([] { readTextFile("/proc/self/mem", "\\KJ-1.txt"); }), "无法读取文件 \\KJ-1.txt: 磁盘读写错误");
}
#endif

TEST(TextFile, HostileFilesAreRefusedWithAShortMessage)
{
    TempDir t;
    const fs::path p = t.path / "KJ-1.txt";
    const auto readFailure = [&](const fs::path& f) { return failureOf([&] { readTextFile(f, "\\KJ-1.txt"); }); };
    if (kjtest::makeFifo(p)) {
        EXPECT_EQ(readFailure(p), "无法读取文件 \\KJ-1.txt: 不是普通文件"); // and does not wait for a writer
        fs::remove(p);
    }
    if (!kjtest::endlessDevice().empty()) {
        EXPECT_EQ(readFailure(kjtest::endlessDevice()), "无法读取文件 \\KJ-1.txt: 不是普通文件");
    }
    // The limit is 1 MiB: 1,048,576 bytes read, one more is refused.
    static_assert(kMaxTextFileBytes == 1'048'576);
    writeBytes(p, std::string(1'048'576, 'a'));
    EXPECT_EQ(readTextFile(p, "\\KJ-1.txt").size(), 1'048'576u);
    writeBytes(p, std::string(1'048'577, 'a'));
    EXPECT_EQ(readFailure(p), "无法读取文件 \\KJ-1.txt: 文件大于 1 MB, 不是本程序的数据文件");
    const std::string utf16 = "无法读取文件 \\KJ-1.txt: 文件是 UTF-16 编码, 请另存为 GBK 或 UTF-8";
    for (const std::string& bytes : {std::string("\xFF\xFEK\0J\0", 6), std::string("K\0J\0-\0" "1\0", 8),
                                    std::string("\0K\0J\0,\x6A\x81", 8)}) {
        writeBytes(p, bytes);
        EXPECT_EQ(readFailure(p), utf16);
    }
}
