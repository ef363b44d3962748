// The run's hook for the calculation book: called last, with the result,
// the records as read and the resolved path; refused before any file is
// touched when no writer is given; a book that cannot be written, for a
// full disk among others, leaves every file as it was.
#include "calc/run.h"
#include "common/failure.h"
#include "common/platform.h"
#include "common/textfile.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

const char* kFrame = "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n300,25\r\n";

struct BookHook : ::testing::Test {
    kjtest::TempDir temp{"kjhook"};
    void SetUp() override
    {
        kj::setWorkingRoot(temp.path);
        kjtest::writeBytes(temp.path / "KJ-1.txt", kFrame);
        req.pdfName = "\\book.pdf";
    }
    kj::CalcRequest req;
};

} // namespace

TEST_F(BookHook, WriterGetsTheResultAfterTheOtherFiles)
{
    int calls = 0;
    req.pdfWriter = [&](const kj::CalculationResult& r, const kj::FrameData& d, const kj::EnvelopeResult*, const kj::SeismicAction*, const kj::TitleBlock&, const std::filesystem::path& path) {
        ++calls;
        EXPECT_EQ(r.model.name, "KJ-1");
        EXPECT_EQ(d.lengthNumbers, "112");
        // A temporary file beside the book, put in place with the others.
        EXPECT_EQ(path.parent_path(), temp.path);
        EXPECT_EQ(path.filename().string().rfind(kj::platform::kTempPrefix, 0), 0u);
        EXPECT_TRUE(kj::fileExists(path));
        kjtest::writeBytes(path, "%PDF");
        EXPECT_FALSE(kj::fileExists(temp.path / "lpj-1.txt"));
    };
    const kj::CalcResult result = kj::runCalculation(req);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(kjtest::bytesOf(temp.path / "book.pdf"), "%PDF");
    EXPECT_TRUE(kj::fileExists(temp.path / "lpj-1.txt") && kj::fileExists(temp.path / "mvts-1.txt"));
    EXPECT_EQ(result.data.name, "KJ-1"); // kept for a book written later from the window
}

TEST_F(BookHook, NoWriterIsRefusedBeforeAnyFileIsTouched)
{
    EXPECT_THROW(kj::runCalculation(req), kj::Failure);
    EXPECT_FALSE(kj::fileExists(temp.path / "zemowj1.txt"));
    EXPECT_FALSE(kj::fileExists(temp.path / "lpj-1.txt"));
}

// A renewal with a book on a full disk: the report, its .bak and the result
// files stay as they were, and nothing of the run is left.
TEST_F(BookHook, ABookThatCannotBeWrittenLeavesEveryFileAsItWas)
{
    const std::filesystem::path disk = temp.path / "disk";
    std::filesystem::create_directory(disk);
    kjtest::SmallDisk small(disk, 64);
    if (small.mounted()) kj::setWorkingRoot(disk);
    const std::filesystem::path dir = kj::workingRoot();
    kjtest::writeBytes(dir / "KJ-1.txt", kFrame);
    kjtest::writeBytes(dir / "zemowj1.txt", std::string(20'000, 'r') + "\r\n");
    kjtest::writeBytes(dir / "zemowj1.txt.bak", "older\r\n");
    kjtest::writeBytes(dir / "lpj-1.txt", "old lpj");
    kjtest::writeBytes(dir / "mvts-1.txt", "old mvts");
    const auto before = kjtest::folderSnapshot(dir);
    req.renewal = "1";
    // The book fills the disk, or, where no small disk can be mounted, fails as it would.
    req.pdfWriter = [&](const kj::CalculationResult&, const kj::FrameData&, const kj::EnvelopeResult*,
                        const kj::SeismicAction*, const kj::TitleBlock&, const std::filesystem::path& path) {
        if (small.mounted()) kj::replaceFileBytes(path, std::string(200'000, 'p'), "\\book.pdf");
        throw kj::Failure("无法写入文件 \\book.pdf: 磁盘空间不足");
    };
    EXPECT_EQ(kjtest::failureOf([&] { kj::runCalculation(req); }), "无法写入文件 \\book.pdf: 磁盘空间不足");
    auto after = kjtest::folderSnapshot(dir);
    after.erase(kj::platform::kFolderLockName);
    EXPECT_EQ(after, before);
}
