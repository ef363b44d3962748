// The load editor's logic: composing a load string, appending it to the load
// file, and reading the load file back for the beam load boxes.
#include "../test_support.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "main/load_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The failure message of a call that must fail.
template <class F>
std::string failureOf(F&& call)
{
    try {
        call();
    } catch (const kj::Failure& f) {
        return f.what();
    }
    ADD_FAILURE() << "no failure";
    return {};
}

class LoadFileTest : public ::testing::Test {
protected:
    void SetUp() override { kj::setWorkingRoot(dir_.path); }
    void TearDown() override { kj::setWorkingRoot(std::filesystem::current_path()); }
    std::filesystem::path path(const char* name) const { return dir_.path / name; }
    kjtest::TempDir dir_{"kj-loads"};
};

} // namespace

TEST(ComposeLoadString, JoinsTheBoxesOfEachLoadCodeAsTyped)
{
    const kj::LoadBoxTexts boxes{{"Text12", "a"},  {"Text13", "b"},  {"Text14", "c"},  {"Text17", "d"},
                                 {"Text15", "e"},  {"Text16", "f"},  {"Text18", "g"},  {"Text19", "h"},
                                 {"Text24", "i"},  {"Text22", "j"},  {"Text20", "k"},  {"Text25", "l"},
                                 {"Text23", "m"},  {"Text21", "n"},  {"Text26", "o"}};
    EXPECT_EQ(kj::composeLoadString("1", boxes), "1ab");
    EXPECT_EQ(kj::composeLoadString("2", boxes), "2cdfg"); // not offered by the list, still composed
    EXPECT_EQ(kj::composeLoadString("3", boxes), "3cdePfg");
    EXPECT_EQ(kj::composeLoadString("5", boxes), "5hijPklmPno");
    // The code is read as a number: blanks and a fraction of zeros do not matter.
    EXPECT_EQ(kj::composeLoadString(" 3.0", boxes), "3cdePfg");
    for (const char* code : {"4", "0", "", "x", "3.5", "-1"}) EXPECT_EQ(kj::composeLoadString(code, boxes), "") << code;
    // Boxes are neither padded nor checked; a box not given is empty.
    EXPECT_EQ(kj::composeLoadString("1", {{"Text12", " 9"}}), "1 9");
}

TEST_F(LoadFileTest, AppendKeepsEachStringOnALineOfItsOwn)
{
    EXPECT_EQ(kj::appendLoadString("\\hzwj-2.txt", "1 20.0"), "\"1 20.0\"\r\n");
    EXPECT_EQ(kj::appendLoadString("\\hzwj-2.txt", ""), "\"1 20.0\"\r\n\"\"\r\n");
    EXPECT_EQ(kjtest::bytesOf(path("hzwj-2.txt")), "\"1 20.0\"\r\n\"\"\r\n");

    // A last line written by hand without its line end keeps its own line.
    kjtest::writeBytes(path("hzwj-3.txt"), "\"1 10.0\"");
    EXPECT_EQ(kj::appendLoadString("\\hzwj-3.txt", "1 20.0"), "\"1 10.0\"\r\n\"1 20.0\"\r\n");
    EXPECT_EQ(kjtest::bytesOf(path("hzwj-3.txt")), "\"1 10.0\"\r\n\"1 20.0\"\r\n");

    // A line end inside the string could not be read back as one item.
    EXPECT_FALSE(failureOf([] { kj::appendLoadString("\\hzwj-3.txt", "1\n20.0"); }).empty());
    EXPECT_EQ(kjtest::bytesOf(path("hzwj-3.txt")), "\"1 10.0\"\r\n\"1 20.0\"\r\n");
}

TEST(DistributeLoadText, ReadsTheFirstItemsByTheItemRules)
{
    // Quoted items keep their commas and blanks, unquoted ones are taken as
    // items too, and items after the n-th stay unread.
    const std::string file = "\"1 20.0,x\"\r\n\"2 10.02.00*1P\"\r\n  1 5.0 ,0\r\n\"03\"\r\n\"rest\"\r\n";
    const kj::LoadDistribution d = kj::distributeLoadText(file, "\\hzwj-1.txt", "2", "2");
    EXPECT_EQ(d.paneText, "\"1 20.0,x\"\r\n\"2 10.02.00*1P\"\r\n\"1 5.0\"\r\n\"0\"\r\n");
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(d.boxes, (std::vector<P>{{"Text6", "1 20.0,x"}, {"Text7", "2 10.02.00*1P"}, {"Text27", "1 5.0"},
                                       {"Text29", "0"}}));

    // A shape without a template: the items are only listed.
    const kj::LoadDistribution wide = kj::distributeLoadText(file, "\\hzwj-1.txt", "5", "1");
    EXPECT_EQ(wide.paneText, "\"1 20.0,x\"\r\n\"2 10.02.00*1P\"\r\n\"1 5.0\"\r\n\"0\"\r\n\"03\"\r\n");
    EXPECT_TRUE(wide.boxes.empty());

    // Ten beams at most; exactly ten is taken.
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += "\"1 " + std::to_string(i) + "\"\r\n";
    EXPECT_EQ(kj::distributeLoadText(ten, "x", "5", "2").boxes.size(), 0u);
    EXPECT_EQ(kj::distributeLoadText(ten, "x", "5", "2").paneText, ten);
}

TEST(DistributeLoadText, FailuresNameTheFileAndTheCounts)
{
    const std::string three = "\"a\"\r\n\"b\"\r\n\"c\"\r\n";
    const std::string fewer = failureOf([&] { kj::distributeLoadText(three, "\\hzwj-2.txt", "2", "2"); });
    EXPECT_EQ(fewer, "荷载文件 \\hzwj-2.txt 只有 3 个荷载字符串, 少于梁数 4 (跨数 2 × 层数 2)");
    EXPECT_EQ(failureOf([&] { kj::distributeLoadText("", "\\hzwj-2.txt", "1", "1"); }),
              "荷载文件 \\hzwj-2.txt 只有 0 个荷载字符串, 少于梁数 1 (跨数 1 × 层数 1)");

    const std::string many = failureOf([&] { kj::distributeLoadText(three, "\\hzwj-1.txt", "4", "3"); });
    EXPECT_NE(many.find("\\hzwj-1.txt"), std::string::npos) << many;
    EXPECT_NE(many.find("12"), std::string::npos) << many;
    EXPECT_NE(many.find("10"), std::string::npos) << many;

    // An empty string would leave its beam unloaded: named, nothing imported.
    EXPECT_EQ(failureOf([] { kj::distributeLoadText("\"1 20.0\"\r\n\r\n\"1 10.0\"\r\n", "\\hzwj-1.txt", "2", "1"); }),
              "荷载文件 \\hzwj-1.txt 的第 2 个荷载字符串为空 (第 2 号梁, 上层第 2 跨梁荷载串), 导入后该梁会没有荷载: "
              "无荷载的梁请写 \"0\", 多余的空行请删去");
    EXPECT_NE(failureOf([] { kj::distributeLoadText("\"  \"\r\n", "x", "1", "1"); }).find("第 1 个荷载字符串为空"),
              std::string::npos);

    // No shape chosen yet: the product is 0.
    for (const char* spans : {"", "L跨", "-1"}) {
        const std::string none = failureOf([&] { kj::distributeLoadText(three, "\\hzwj-1.txt", spans, "1"); });
        EXPECT_NE(none.find("\\hzwj-1.txt"), std::string::npos) << none;
        EXPECT_NE(none.find("框架模板"), std::string::npos) << none;
    }
}
