// The run's hook for the calculation book: called last, with the result,
// the records as read and the resolved path; refused before any file is
// touched when no writer is given; a failing writer ends the report's block
// like any other failure.
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

TEST_F(BookHook, FailingWriterEndsTheReportsBlock)
{
    req.pdfWriter = [](const kj::CalculationResult&, const kj::FrameData&, const kj::EnvelopeResult*, const kj::SeismicAction*, const kj::TitleBlock&, const std::filesystem::path&) {
        throw kj::Failure("计算书 book.pdf 无法写入");
    };
    EXPECT_THROW(kj::runCalculation(req), kj::Failure);
    const std::string report = kj::readTextFile(temp.path / "zemowj1.txt", "zemowj1.txt");
    EXPECT_NE(report.find("计算未完成: 计算书 book.pdf 无法写入\r\n"), std::string::npos);
}
