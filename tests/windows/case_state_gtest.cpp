// The state file of "荷载工况组合" with the optional lines of W2 and the
// earthquake, and an older file without them read as before.
#include "cases/case_state.h"
#include "common/failure.h"

#include <gtest/gtest.h>

namespace kj {
namespace {

TEST(CaseState, W2AndTheEarthquakeRoundTripAndAnOldFileReadsAsBefore)
{
    const std::string text = "\"G\",\"\\KJ-1.txt\"\r\n\"Q\",\"\"\r\n\"W\",\"\\KJ-1W.txt\"\r\n\"组合\",\"GB 55001-2021\"\r\n"
                             "\"风载W2\",\"\\KJ-1W2.txt\"\r\n\"地震\",\"7.5\",\"III\",\"2\",\"\",\"0.8\"\r\n\"1.3G+1.5W2\"\r\n";
    const CaseWindowState s = parseCaseState(text, "\\zhgk-1.txt");
    EXPECT_EQ(s.W2, "\\KJ-1W2.txt");
    EXPECT_EQ(s.seismic.site, "III");
    EXPECT_EQ(s.seismic.psiT, "0.8");
    EXPECT_EQ(s.rows, std::vector<std::string>{"1.3G+1.5W2"});
    EXPECT_EQ(formatCaseState(s), text);

    const std::string old = "\"G\",\"\\KJ-1.txt\"\r\n\"Q\",\"\"\r\n\"W\",\"\"\r\n\"组合\",\"自定义\"\r\n"
                            "\"活载\",\"1.1\",\"0.7\",\"0\"\r\n\"1.3G\"\r\n";
    const CaseWindowState o = parseCaseState(old, "\\zhgk-1.txt");
    EXPECT_TRUE(o.W2.empty() && o.seismic.intensity.empty());
    EXPECT_EQ(o.rows, std::vector<std::string>{"1.3G"});
    EXPECT_EQ(formatCaseState(o), old);
    EXPECT_FALSE(s.seismic.cornerColumns);

    // The corner columns: a line of their own after the earthquake's.
    CaseWindowState c = s;
    c.seismic.cornerColumns = true;
    const std::string corners = formatCaseState(c);
    EXPECT_NE(corners.find("\"0.8\"\r\n\"角柱\",\"1\"\r\n\"1.3G+1.5W2\"\r\n"), std::string::npos);
    const CaseWindowState back = parseCaseState(corners, "\\zhgk-1.txt");
    EXPECT_TRUE(back.seismic.cornerColumns);
    EXPECT_EQ(back.rows, s.rows);
    EXPECT_EQ(formatCaseState(back), corners);

    try {
        parseCaseState("\"G\",\"\",\"Q\",\"\",\"W\",\"\",\"组合\",\"x\",\"地震\",\"7\",\"V\",\"1\",\"\",\"\"", "\\zhgk-2.txt");
        ADD_FAILURE();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "工况组合文件 \\zhgk-2.txt 的地震作用: 场地类别应为 I0, I1, II, III 或 IV: V");
    }
}

} // namespace
} // namespace kj
