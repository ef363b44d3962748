// The state file of the window "荷载工况组合" with the optional lines of the
// right wind W2 and the earthquake: written and read back, and an older file
// without them read as before.
#include "cases/case_state.h"
#include "common/failure.h"

#include <gtest/gtest.h>

namespace kj {
namespace {

TEST(CaseState, W2AndTheEarthquakeRoundTripAndAnOldFileReadsAsBefore)
{
    CaseWindowState s;
    s.G = "\\KJ-1.txt";
    s.W = "\\KJ-1W.txt";
    s.W2 = "\\KJ-1W2.txt";
    s.set = "GB 55001-2021";
    s.seismic = {"7.5", "III", "2", "", "0.8"};
    s.rows = {"1.3G+1.5W2"};
    const std::string text = formatCaseState(s);
    EXPECT_EQ(text, "\"G\",\"\\KJ-1.txt\"\r\n\"Q\",\"\"\r\n\"W\",\"\\KJ-1W.txt\"\r\n\"组合\",\"GB 55001-2021\"\r\n"
                    "\"风载W2\",\"\\KJ-1W2.txt\"\r\n\"地震\",\"7.5\",\"III\",\"2\",\"\",\"0.8\"\r\n\"1.3G+1.5W2\"\r\n");
    const CaseWindowState back = parseCaseState(text, "\\zhgk-1.txt");
    EXPECT_EQ(back.W2, s.W2);
    EXPECT_EQ(back.seismic.intensity, "7.5");
    EXPECT_EQ(back.seismic.site, "III");
    EXPECT_EQ(back.seismic.group, "2");
    EXPECT_EQ(back.seismic.grade, "");
    EXPECT_EQ(back.seismic.psiT, "0.8");
    EXPECT_EQ(back.rows, s.rows);

    // Without the optional lines: no W2, no seismic design, the rows as they were.
    const std::string old = "\"G\",\"\\KJ-1.txt\"\r\n\"Q\",\"\"\r\n\"W\",\"\"\r\n\"组合\",\"自定义\"\r\n"
                            "\"活载\",\"1.1\",\"0.7\",\"0\"\r\n\"1.3G\"\r\n";
    const CaseWindowState o = parseCaseState(old, "\\zhgk-1.txt");
    EXPECT_EQ(o.W2, "");
    EXPECT_EQ(o.seismic.intensity, "");
    EXPECT_EQ(o.gammaL, "1.1");
    EXPECT_EQ(o.rows, std::vector<std::string>{"1.3G"});
    EXPECT_EQ(formatCaseState(o), old);

    // A seismic line that is not one: refused naming the file.
    try {
        parseCaseState("\"G\",\"\",\"Q\",\"\",\"W\",\"\",\"组合\",\"x\",\"地震\",\"7\",\"V\",\"1\",\"\",\"\"", "\\zhgk-2.txt");
        ADD_FAILURE();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "工况组合文件 \\zhgk-2.txt 的地震作用: 场地类别应为 I0, I1, II, III 或 IV: V");
    }
}

} // namespace
} // namespace kj
