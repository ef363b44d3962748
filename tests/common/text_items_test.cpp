#include "common/failure.h"
#include "common/items.h"
#include "common/report_writer.h"
#include "common/text.h"

#include <gtest/gtest.h>

using namespace kj;
using V = std::vector<std::string>;

TEST(Items, CommasAndLineEndsSeparateItemsAlike)
{
    EXPECT_EQ(readItems("KJ-1,2,1,1,0,\r\n6.003.60,112\r\n"), (V{"KJ-1", "2", "1", "1", "0", "", "6.003.60", "112"}));
    EXPECT_EQ(readItems("a\nb\rc"), (V{"a", "b", "c"}));
    EXPECT_EQ(readItems("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(readItems("a,"), (V{"a", ""}));
    EXPECT_EQ(readItems(""), V{});
    EXPECT_EQ(readItems("a\r\n\r\nb"), (V{"a", "", "b"}));
}

TEST(Items, LeadingBlanksDroppedQuotesKeepCommas)
{
    EXPECT_EQ(readItems("  1 20.0,1 20.0"), (V{"1 20.0", "1 20.0"}));
    EXPECT_EQ(readItems("\"2,22+3,25 3/2\", \"2*8@150\"\r\n"), (V{"2,22+3,25 3/2", "2*8@150"}));
    EXPECT_EQ(readItems("\" a,b \"x,c"), (V{" a,b ", "c"}));
    EXPECT_EQ(readItems("\"open,end\r\nnext"), (V{"open,end", "next"}));
    // Blanks inside an item stay; blanks at its end are dropped.
    EXPECT_EQ(readItems("20103 50.0   0.0   ,x"), (V{"20103 50.0   0.0", "x"}));
    EXPECT_EQ(readItems("0 \r\n"), (V{"0"}));
}

TEST(Text, SlicesCountCharactersNotBytes)
{
    EXPECT_EQ(charCount("预配钢筋"), 4u);
    EXPECT_EQ(charSlice("6.003.60", 5, 4), "3.60");
    EXPECT_EQ(charSlice("6.003.60", 9, 4), "");
    EXPECT_EQ(charSlice("6.003.60", 7, 4), "60");
    EXPECT_EQ(charSlice("梁号AB", 2, 2), "号A");
    EXPECT_EQ(charAt("1 20.0", 1), "1");
    EXPECT_EQ(charAt("x", 5), "");
    // A name as pages show it: whole up to the limit, else cut to make room for "…".
    EXPECT_EQ(clipText("框架KJ", 4), "框架KJ");
    EXPECT_EQ(clipText("框架KJ-1", 4), "框架K…");
    EXPECT_EQ(splitLines("a\r\nb\nc\r\n"), (V{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (V{"a", ""}));
    // A leading line end starts with an empty line.
    EXPECT_EQ(splitLines("\r\na"), (V{"", "a"}));
    EXPECT_EQ(splitLines("\na\rb"), (V{"", "a", "b"}));
}

TEST(ReportWriter, MovesToColumnsAndWrapsWhenPast)
{
    ReportWriter w;
    w.number(1).column(6).number(-80).column(12).number(95);
    EXPECT_EQ(w.str(), " 1   -80    95 "); // -80 from column 6, 95 from column 12
    ReportWriter x;
    x.text("1234567").column(5).text("x");
    EXPECT_EQ(x.str(), "1234567\r\n    x");
    ReportWriter y;
    y.text("1234").column(5).text("x").endLine();
    EXPECT_EQ(y.str(), "1234x\r\n");
    // Chinese text counts one column per character.
    ReportWriter z;
    z.text("    预配钢筋").column(12).text("2,14+0,0 2/0");
    EXPECT_EQ(z.str(), "    预配钢筋   2,14+0,0 2/0");
    EXPECT_THROW(ReportWriter().number(1.0 / 0.0), std::exception);
    // In a table a value too wide for its column fails the row instead.
    ReportWriter t;
    t.fixedColumns(true).number(1).column(6).number(-1234567);
    EXPECT_THROW(t.column(12), Failure);
    EXPECT_EQ(t.str(), " 1   -1234567 ");
}

TEST(Text, MessagesQuoteAtMostSixtyCharactersWithControlsEscaped)
{
    EXPECT_EQ(quoteForMessage("1 20.0"), "\"1 20.0\"");
    EXPECT_EQ(quoteForMessage("a\tb\r\n\x01\x7F"), "\"a\\tb\\r\\n\\x01\\x7F\"");
    std::string sixty;
    for (int i = 0; i < 60; ++i) sixty += "梁";
    EXPECT_EQ(clipForMessage(sixty), sixty);
    EXPECT_EQ(clipForMessage(sixty + "柱"), sixty + "…");
    // A line of ten million characters: sixty of them, at once.
    EXPECT_EQ(quoteForMessage(std::string(10'000'000, '7')), "\"" + std::string(60, '7') + "…\"");
    // An escape is not cut in two.
    EXPECT_EQ(clipForMessage(std::string(58, 'x') + "\x02"), std::string(58, 'x') + "…");
    // The C1 controls (a terminal's CSI among them) and bytes that are no
    // UTF-8 are escaped too; a whole message is escaped, not clipped.
    EXPECT_EQ(clipForMessage("a\xC2\x9B" "2J\xFF\xC2"), "a\\x9B2J\\xFF\\xC2");
    EXPECT_EQ(terminalSafe(std::string(70, 'x') + "\x1B[2J"), std::string(70, 'x') + "\\x1B[2J");
}

TEST(Text, WarningListsStopAtTwentyAndCountTheRest)
{
    std::vector<std::string> warnings;
    for (int i = 1; i <= 23; ++i) warnings.push_back("w" + std::to_string(i) + (i == 1 ? "\x1B" : ""));
    const std::vector<std::string> shown = cappedWarnings(warnings);
    ASSERT_EQ(shown.size(), 21u);
    EXPECT_EQ(shown[0], "w1\\x1B");
    EXPECT_EQ(shown[19], "w20");
    EXPECT_EQ(shown[20], "另有 3 条警告");
    EXPECT_EQ(cappedWarnings(warnings, "\\w.txt").back(), "另有 3 条警告, 全部警告见 \\w.txt");
    warnings.resize(20);
    EXPECT_EQ(cappedWarnings(warnings).size(), 20u);
}
