// The member parameter text built from the window's texts and sliced back by
// position, without a window.
#include "members/member_params.h"

#include <gtest/gtest.h>

namespace {

TEST(MemberParams, ShapesMatchByNumberAndPairEveryEntryWithItsValueBox)
{
    EXPECT_EQ(kj::matchMemberShape("2.0", " 1"), &kj::memberShapes()[1]);
    EXPECT_EQ(kj::matchMemberShape("3", "2abc"), &kj::memberShapes()[5]);
    EXPECT_EQ(kj::matchMemberShape("4", "1"), nullptr);
    EXPECT_EQ(kj::matchMemberShape("", ""), nullptr);
    EXPECT_EQ(kj::matchMemberShape("1.5", "1"), nullptr);
    EXPECT_EQ(kj::valueBoxOf("Text5"), "Text69");
    EXPECT_EQ(kj::valueBoxOf("Text76"), "Text77");
    EXPECT_EQ(kj::valueBoxOf("Text58"), "Text59");
    for (const kj::MemberShape& shape : kj::memberShapes()) {
        EXPECT_EQ(shape.lengthBoxes.size(), std::size_t(shape.spans + shape.storeys));
        EXPECT_EQ(shape.memberBoxes.size(), std::size_t(shape.spans * shape.storeys + (shape.spans + 1) * shape.storeys));
    }
}

TEST(MemberParams, GenerationOfTwoStoreysWritesValueBoxesInFieldOrder)
{
    kj::MemberEntries e;
    e.lengths = {"4.20", "3.60", "", "", ""};
    e.widths = {".25", ".40", "", "", "", ""};
    e.heights = {".50", ".40", "", "", "", ""};
    e.spans = "1";
    e.storeys = "2";
    e.boxes = {{"Text5", "1"}, {"Text74", "2"}, {"Text76", "2"}, {"Text32", "1"}, {"Text46", "1"},
               {"Text34", "2"}, {"Text36", "2"}, {"Text48", "2"}, {"Text50", "2"}, {"Text38", "9"}};
    const kj::MemberGeneration g = kj::generateMemberParameters(e);
    EXPECT_EQ(g.text, "\"4.203.60\",\"122\"\r\n\".25.50.40.40\",\"112222\"");
    const std::vector<kj::BoxText> expected{
        {"Text69", "4.20"},    {"Text75", "3.60"},    {"Text77", "3.60"},    {"Text33", ".25,.50"},
        {"Text47", ".25,.50"}, {"Text35", ".40,.40"}, {"Text37", ".40,.40"}, {"Text49", ".40,.40"},
        {"Text51", ".40,.40"},
    };
    EXPECT_EQ(g.valueBoxes, expected);
}

TEST(MemberParams, CorrectionCountsCharactersOfTheStoredTables)
{
    // A Chinese character in a table is one character of its field.
    const kj::MemberParameters fields{"长.203.60", "23", "宽.45.40.40", "212"};
    const kj::MemberCorrection c = kj::correctMemberParameters(fields, "1", "1");
    EXPECT_EQ(c.paneText, "\"长.203.60\",\"23\"\r\n\"宽.45.40.40\",\"212\"");
    const std::vector<kj::BoxText> expected{
        {"Text5", "2"},  {"Text69", "3.60"},   {"Text74", "3"}, {"Text75", ""},
        {"Text32", "2"}, {"Text33", "0.4,0"},   {"Text34", "1"}, {"Text35", "宽.4,5.4"},
        {"Text36", "2"}, {"Text37", "0.4,0"},
    };
    EXPECT_EQ(c.boxes, expected);
    EXPECT_TRUE(kj::correctMemberParameters(fields, "4", "1").boxes.empty());
}

} // namespace
