// The stored tables of the member parameter file sliced by character
// position, without a window.
#include "members/member_params.h"

#include <gtest/gtest.h>

namespace {

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
