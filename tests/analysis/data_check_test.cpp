// The data check: well-formed files give no warning; each kind of field that
// does not read cleanly is named by record, beam or group, and field.
#include "analysis/data_check.h"
#include "common/textfile.h"

#include <gtest/gtest.h>

#include <string>

using kj::DataWarning;

namespace {

// A two-span, one-storey frame with the given load line and joint-load line.
std::string frame(const std::string& loads, const std::string& joints = "20103 50.0   0.0",
                  const std::string& numbers = "112,11222")
{
    const std::string lengths = numbers.substr(0, numbers.find(','));
    const std::string sections = numbers.substr(numbers.find(',') + 1);
    return "KJ-1,2,1,1,0,\r\n6.003.60," + lengths + "\r\n.25.50.40.40," + sections + "\r\n" + loads + "\r\n" + joints +
           "\r\n300,25\r\n";
}

std::vector<DataWarning> check(const std::string& text) { return kj::checkFrameFile(text, "\\KJ-1.txt"); }

std::string fields(const std::vector<DataWarning>& ws)
{
    std::string s;
    for (const DataWarning& w : ws) s += w.record + "|" + w.member + "|" + w.field + "\n";
    return s;
}

} // namespace

TEST(DataCheck, WellFormedExamplesGiveNoWarning)
{
    for (const char* name : {"KJ-1.txt", "KJ-2.txt", "KJ-3.txt", "CB-1.txt"}) {
        const std::string text = kj::readTextFile(std::string(KJ_EXAMPLES_DIR) + "/" + name, name);
        EXPECT_EQ(fields(check(text)), "") << name;
        // Saved once more from the pane: a blank line at the end is harmless.
        EXPECT_EQ(fields(check(text + "\r\n")), "") << name;
    }
    // Short items, references, forces, repeated entries and "A" as the reader knows them.
    EXPECT_EQ(fields(check(frame("2    02.00   50P,01"))), "");
    EXPECT_EQ(fields(check(frame("2 10.02.00*1P,2 15.01.50 25.01.50A"))), "");
    EXPECT_EQ(fields(check(frame("3 12.02.00*13.00   30P,0"))), "");
}

TEST(DataCheck, LeftoverCharactersInALoadFieldNameRecordBeamAndField)
{
    // The first entry's value typed with four characters: every later field shifts.
    const auto ws = check(frame("1 20.0,330.03.0050.00P*13.00"));
    ASSERT_EQ(ws.size(), 1u) << fields(ws);
    EXPECT_EQ(ws[0].line, 4);
    EXPECT_EQ(ws[0].message,
              "数据文件 \\KJ-1.txt 第 4 行: 梁间荷载数据, 第 2 号梁 \"330.03.0050.00P*13.00\", "
              "第 2 个荷载的数值 (第 11-15 个字符 \"0.00P\"): \"P\" 不是数的一部分, 读作 0; "
              "前面的字段可能多写或少写了字符, 其后的荷载都已错位");
}

TEST(DataCheck, LettersCommaLengthAndDigitsAreEachReported)
{
    EXPECT_EQ(fields(check(frame("abc,1 20.0"))), "梁间荷载数据|第 1 号梁 \"abc\"|荷载个数 (第 1 个字符 \"a\")\n");
    EXPECT_EQ(fields(check(frame("1 2O.0,1 20.0"))),
              "梁间荷载数据|第 1 号梁 \"1 2O.0\"|第 1 个荷载的数值 (第 2-6 个字符 \" 2O.0\")\n");
    EXPECT_EQ(fields(check(frame("1 20.0,"))), "梁间荷载数据|第 2 号梁 \"\"|荷载项\n");

    // "1 30,0" is read as two items; the whole tail shifts by one.
    const auto comma = check(frame("1 30,0,1 20.0"));
    ASSERT_FALSE(comma.empty());
    EXPECT_EQ(comma.front().member, "第 1 号梁");
    EXPECT_EQ(comma.front().field, "逗号 \"1 30,0\"");
    EXPECT_EQ(comma.front().line, 4);

    // The load string does not fit its count of entries, either way.
    EXPECT_EQ(fields(check(frame("2 10.02.00 5.0,1 20.0"))),
              "梁间荷载数据|第 1 号梁 \"2 10.02.00 5.0\"|第 2 个荷载 (第 11-14 个字符 \" 5.0\")\n");
    EXPECT_EQ(fields(check(frame("1 10.02.00 5.02.00,1 20.0"))),
              "梁间荷载数据|第 1 号梁 \"1 10.02.00 5.02.00\"|第 11 个字符起的 \" 5.02.00\"\n");
    EXPECT_EQ(fields(check(frame("2 10.02.00*3P,1 20.0"))),
              "梁间荷载数据|第 1 号梁 \"2 10.02.00*3P\"|第 2 个荷载引用的荷载号 (第 12 个字符 \"3\")\n");

    // A length or section number that is not one digit, and a joint force of six characters.
    EXPECT_EQ(fields(check(frame("1 20.0,1 20.0", "20103 50.0   0.0", "1992,11222"))),
              "第 2 类数据||长度编号 \"1992\"\n");
    EXPECT_EQ(fields(check(frame("1 20.0,1 20.0", "20103 50.0   0.0", "112,1a222"))),
              "第 3 类数据||截面编号第 2 位 \"a\"\n");
    EXPECT_EQ(fields(check(frame("1 20.0,1 20.0", "20103 50.00   0.0"))),
              "节点荷载数据|第 1 组节点荷载 \"20103 50.00   0.0\"|弯矩 (第 11-16 个字符 \"0   0.\")\n");
    EXPECT_EQ(fields(check(frame("1 20.0,1 20.0", "2013 50.0   0.0"))),
              "节点荷载数据|第 1 组节点荷载 \"2013 50.0   0.0\"|第 2 个节点号 (第 4-5 个字符 \"3 \")\n");
}

TEST(DataCheck, BlanksExponentsAndTheDecimalComma)
{
    // A blank inside a number: read as the number without it.
    const auto blank = check(frame("1 2 0.,1 20.0"));
    ASSERT_EQ(blank.size(), 1u) << fields(blank);
    EXPECT_EQ(blank[0].problem, "数字中间有空格, 读作 20");
    // An exponent is a number: "2E1" is 20, and no warning.
    EXPECT_EQ(fields(check(frame("1 2E1 ,1 20.0"))), "");
    // The comma as a decimal point: the whole message, naming both halves.
    const auto comma = check(frame("1 30,0,1 20.0"));
    ASSERT_FALSE(comma.empty());
    EXPECT_EQ(comma.front().problem.rfind("逗号不能用作小数点, 它把一项分成了两项 (\"1 30\" 和 \"0\"); ", 0), 0u)
        << comma.front().problem;
}
