// The Qt-free logic of the result viewers: shapes and positions, beam
// numbers and stamp, and the reading of both result files.
#include "common/failure.h"
#include "viewers/result_views.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kj::BoxText;

std::string failureOf(void (*f)())
{
    try {
        f();
    } catch (const kj::Failure& e) {
        return e.what();
    }
    return "<no failure>";
}

std::string boxTextOf(const std::vector<BoxText>& texts, const std::string& box)
{
    for (const BoxText& t : texts)
        if (t.box == box) return t.text;
    return "<none>";
}

const std::string kLine1 = "\"2,14+0,0 2/0\", \"2*6@118\", \"2,16+1,12 3/0\", \"2*8@150\", \"2,16+0,0 0/2\"";
const std::string kLine2 = "\"a1\", \"a2\", \"a3\", \"a4\", \"a5\"";
const std::string kLine3 = "\"b1\", \"b2\", \"b3\", \"b4\", \"b5\"";
const std::string kLine4 = "\"c1\", \"c2\", \"c3\", \"c4\", \"c5\"";

} // namespace

TEST(ResultViews, ShapesFromTheTypedSpansAndStoreys)
{
    EXPECT_EQ(kj::viewerShapeOf("1", "1"), 0);
    EXPECT_EQ(kj::viewerShapeOf("3", "1"), 2);
    EXPECT_EQ(kj::viewerShapeOf(" 2", "2 "), 4);
    EXPECT_EQ(kj::viewerShapeOf("3.0", "2"), 5);
    EXPECT_EQ(kj::viewerShapeOf("4", "1"), std::nullopt);
    EXPECT_EQ(kj::viewerShapeOf("2", "3"), std::nullopt);
    EXPECT_EQ(kj::viewerShapeOf("", ""), std::nullopt);
    EXPECT_EQ(kj::viewerShapeOf("L", "NF"), std::nullopt);
    EXPECT_EQ(kj::shapeName(3), "1-2");
}

TEST(ResultViews, StampHasTheDateAndTime)
{
    std::tm when{};
    when.tm_year = 2024 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 6;
    when.tm_hour = 9;
    when.tm_min = 3;
    when.tm_sec = 7;
    EXPECT_EQ(kj::dateStamp(when), "DATE: 2024/5/6/9:03:07");
    EXPECT_EQ(kj::dateStampNow().rfind("DATE: 20", 0), 0u);
}

TEST(ResultViews, BeamLinesAfterTheShapesAndBlankLinesAreNotRead)
{
    // 2-2: lines 1 and 2 over the upper beams, 3 and 4 over the lower ones;
    // the blank line the calculation ends the file with, and lines beyond the
    // shape's beams, are not looked at.
    const std::string file = kLine1 + "\r\n" + kLine2 + "\r\n" + kLine3 + "\r\n" + kLine4 + "\r\nnot a line\r\n\r\n";
    const std::vector<BoxText> texts = kj::reinforcementTexts(4, file, "\\Lpj-1.txt");
    ASSERT_EQ(texts.size(), 20u);
    EXPECT_EQ(boxTextOf(texts, "Text28"), "c5");
    EXPECT_EQ(boxTextOf(texts, "Text13"), "<none>"); // position 3 is not part of 2-2
    EXPECT_EQ(boxTextOf(texts, "Text6"), "<none>");  // numbers are never written

    // Blank lines between beam lines carry no beam.
    const std::vector<BoxText> spaced = kj::reinforcementTexts(3, "\r\n" + kLine2 + "\r\n  \r\n" + kLine3, "x");
    EXPECT_EQ(boxTextOf(spaced, "Text1"), "a1");
    EXPECT_EQ(boxTextOf(spaced, "Text19"), "b1");
}

TEST(ResultViews, ShortOrMalformedBeamReinforcementFileIsAFailure)
{
    EXPECT_EQ(failureOf([] { kj::reinforcementTexts(4, kLine1 + "\r\n" + kLine2 + "\r\n" + kLine3 + "\r\n\r\n", "\\Lpj-1.txt"); }),
              "配筋文件 \\Lpj-1.txt 只有 3 行梁配筋, 2-2 框架有 4 根梁(截面宽度不足 51mm 的梁未配筋, 在文件中没有配筋行)");
    EXPECT_EQ(failureOf([] { kj::reinforcementTexts(0, "", "\\Lpj-2.txt"); }),
              "配筋文件 \\Lpj-2.txt 只有 0 行梁配筋, 1-1 框架有 1 根梁(截面宽度不足 51mm 的梁未配筋, 在文件中没有配筋行)");
    // Four fields, or a bar string that lost its quotes and so splits at its commas.
    EXPECT_EQ(failureOf([] { kj::reinforcementTexts(1, kLine1 + "\r\n\"a1\", \"a2\", \"a3\", \"a4\"\r\n" + kLine3, "\\Lpj-1.txt"); }),
              "配筋文件 \\Lpj-1.txt 第 2 行有 4 项, 配筋行应有 5 项(左端上部筋, 左端箍筋, 右端上部筋, 右端箍筋, 跨中下部筋)");
    EXPECT_EQ(failureOf([] { kj::reinforcementTexts(0, "2,14+0,0 2/0, \"2*6@118\", \"a\", \"b\", \"c\"", "L"); }),
              "配筋文件 L 第 1 行有 7 项, 配筋行应有 5 项(左端上部筋, 左端箍筋, 右端上部筋, 右端箍筋, 跨中下部筋)");
}

TEST(ResultViews, ForceDiagramIsOneStreamOfNumbers)
{
    // Line ends are only separators; numbers after the shape's are ignored,
    // even when they are not numbers; values keep their shortest form.
    const std::vector<BoxText> stream =
        kj::forceDiagramTexts(0, "-80,-48\r\n66,95,-70,30\r\n\r\n-25 , -30, 25.50,99\r\nrest,x\r\n", "m");
    EXPECT_EQ(boxTextOf(stream, "Text4"), "66");
    EXPECT_EQ(boxTextOf(stream, "Text43"), "-25");
    EXPECT_EQ(boxTextOf(stream, "Text45"), "25.5");
    EXPECT_EQ(stream.size(), 9u);

    // An unrounded value of a beam skipped by the design.
    EXPECT_EQ(boxTextOf(kj::forceDiagramTexts(0, "-47.8333333333333,1,2,3,4,5,6,7,8", "m"), "Text1"),
              "-47.8333333333333");
}

TEST(ResultViews, ShortOrMalformedForceDiagramFileIsAFailure)
{
    // A file of a frame whose columns were not designed.
    EXPECT_EQ(failureOf([] { kj::forceDiagramTexts(0, "-80,-48,66,95,-70\r\n\r\n", "\\mvts-1.txt"); }),
              "内力文件 \\mvts-1.txt 只有 5 个数, 1-1 框架需要 9 个(每根梁 5 个, 每根柱 2 个); "
              "文件中没有柱端弯矩, 框架标志为 1 时不计算柱");
    EXPECT_EQ(failureOf([] { kj::forceDiagramTexts(0, "-80,-48,66,95,-70\r\n30,-25\r\n", "\\mvts-1.txt"); }),
              "内力文件 \\mvts-1.txt 只有 7 个数, 1-1 框架需要 9 个(每根梁 5 个, 每根柱 2 个)");
    EXPECT_EQ(failureOf([] { kj::forceDiagramTexts(0, "-80,-48,66,95,-70\r\n30,abc\r\n-30,25\r\n", "\\mvts-2.txt"); }),
              "内力文件 \\mvts-2.txt 第 2 行第 2 项 \"abc\" 不是数");
    EXPECT_EQ(failureOf([] { kj::forceDiagramTexts(0, "-80,-48,66,,-70\r\n30,1\r\n-30,25\r\n", "m"); }),
              "内力文件 m 第 1 行第 4 项 \"\" 不是数");
    EXPECT_EQ(failureOf([] { kj::forceDiagramTexts(0, "1E,2,3,4,5,6,7,8,9", "m"); }),
              "内力文件 m 第 1 行第 1 项 \"1E\" 不是数");
}
