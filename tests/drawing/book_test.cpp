// The calculation book of KJ-2 read back with poppler's tools: section
// titles, the report's beam and column rows number for number, a head and a
// number on every page, and the CJK font embedded.
#include "calc/run.h"
#include "calc_book.h"
#include "common/textfile.h"
#include "drawing_support.h"
#include "frame_painter.h"
#include "test_support.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
        ::pclose(pipe);
    }
    return out;
}

QStringList tokens(const QString& line) { return line.split(QLatin1Char(' '), Qt::SkipEmptyParts); }

class CalculationBook : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new kjtest::TempDir("kjbook");
        kjtest::writeBytes(dir_->path / "KJ-2.txt", kjtest::bytesOf(std::string(KJ_EXAMPLES_DIR) + "/KJ-2.txt"));
        kj::setWorkingRoot(dir_->path);
        // Through the run's hook, as the batch command writes it.
        kj::CalcRequest req;
        req.dataName = "\\KJ-2.txt";
        req.date = "2026/3/4";
        req.time = "9:00:00";
        req.pdfName = "\\KJ-2.pdf";
        req.pdfWriter = [](const kj::CalculationResult& r, const kj::FrameData& d, const kj::EnvelopeResult*, const kj::SeismicAction*, const kj::TitleBlock&,
                           const std::filesystem::path& path) {
            kjd::BookOptions options;
            options.date = "2026/3/4";
            kjd::writeCalculationBook(r, d, path, options);
        };
        kj::runCalculation(req);
        pdf_ = (dir_->path / "KJ-2.pdf").string();
        report_ = QString::fromStdString(kj::readTextFile(dir_->path / "zemowj1.txt", "zemowj1.txt"));
    }
    static void TearDownTestSuite() { delete dir_; }

    static kjtest::TempDir* dir_;
    static std::string pdf_;
    static QString report_;
};
kjtest::TempDir* CalculationBook::dir_ = nullptr;
std::string CalculationBook::pdf_;
QString CalculationBook::report_;

} // namespace

TEST_F(CalculationBook, HoldsEverySectionAndTheReportsRowsNumberForNumber)
{
    const QString text = QString::fromStdString(run("pdftotext -layout '" + pdf_ + "' -"));
    ASSERT_FALSE(text.isEmpty()) << "pdftotext gave nothing";
    for (const char* section : kjd::kBookSections) EXPECT_TRUE(text.contains(QString::fromUtf8(section))) << section;

    // Each row of the report's beam and column tables is a row of the book, token for token.
    std::vector<QStringList> bookRows;
    for (const QString& line : text.split(QLatin1Char('\n'))) bookRows.push_back(tokens(line));
    int table = 0, rows = 0;
    for (const QString& line : report_.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QStringLiteral("梁号"))) table = 1;
        else if (line.startsWith(QStringLiteral("柱号"))) table = 2;
        else if (table && !line.trimmed().isEmpty() && !line.contains(QStringLiteral("预配钢筋"))) {
            const QStringList want = tokens(line);
            ASSERT_EQ(want.size(), table == 1 ? 13 : 9) << line.toStdString();
            EXPECT_NE(std::find(bookRows.begin(), bookRows.end(), want), bookRows.end())
                << "report row not in the book: " << line.toStdString();
            ++rows;
        }
    }
    EXPECT_EQ(rows, 6 + 8); // KJ-2: 6 beams, 8 columns
}

TEST_F(CalculationBook, EveryPageIsHeadedAndNumberedAndTheCjkFontIsEmbedded)
{
    const QString info = QString::fromStdString(run("pdfinfo '" + pdf_ + "'"));
    const QString pagesLine = info.split(QLatin1Char('\n')).filter(QStringLiteral("Pages:")).value(0);
    const int pages = tokens(pagesLine).value(1).toInt();
    ASSERT_GT(pages, 5);
    EXPECT_TRUE(info.contains(QStringLiteral("595 x 842"))) << "not A4"; // 210 x 297 mm in points
    for (int k = 1; k <= pages; ++k) {
        // Blanks between Chinese and digits come and go with the glyph spacing: compared without them.
        const QString page = QString::fromStdString(run("pdftotext -f " + std::to_string(k) + " -l " +
                                                        std::to_string(k) + " '" + pdf_ + "' -"))
                                 .remove(QLatin1Char(' '));
        EXPECT_TRUE(page.contains(QStringLiteral("KJ-2框架内力及配筋计算书"))) << "page " << k;
        EXPECT_TRUE(page.contains(QStringLiteral("2026/3/4"))) << "page " << k;
        EXPECT_TRUE(page.contains(QStringLiteral("第%1页共%2页").arg(k).arg(pages))) << "page " << k;
    }

    const QStringList fonts = QString::fromStdString(run("pdffonts '" + pdf_ + "'")).split(QLatin1Char('\n'));
    const QString family = kjd::drawingFontFamily().remove(QLatin1Char(' '));
    int cjk = 0, listed = 0;
    for (const QString& line : fonts.mid(2)) {
        const QStringList f = tokens(line);
        if (f.size() < 7) continue;
        ++listed;
        // name, type..., emb, sub, uni, object, generation: emb is the fifth from the end.
        EXPECT_EQ(f[f.size() - 5], QStringLiteral("yes")) << "not embedded: " << line.toStdString();
        if (f[0].contains(family)) ++cjk;
    }
    EXPECT_GT(listed, 0);
    EXPECT_GT(cjk, 0) << "the CJK font " << family.toStdString() << " is not in the book";
}
