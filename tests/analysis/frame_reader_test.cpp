#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "common/failure.h"

#include <gtest/gtest.h>

#include <string>

using namespace kj;

namespace {
const char* kExample = "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n300,25\r\n";

FrameData read(const std::string& text)
{
    FrameFileReader r(text, "\\KJ-1.txt");
    return r.readRecords1to5();
}
std::string failureOf(const std::string& text, bool model = false)
{
    try {
        FrameData d = read(text);
        if (model) buildModel(d);
    } catch (const Failure& f) {
        return f.what();
    }
    return "";
}
void expectEntry(const LoadEntry& e, double w, double a, double r)
{
    EXPECT_DOUBLE_EQ(e.w, w);
    EXPECT_DOUBLE_EQ(e.a, a);
    EXPECT_DOUBLE_EQ(e.r, r);
}
} // namespace

TEST(FrameReader, ReadsTheTwoSpanExample)
{
    FrameFileReader r(kExample, "\\KJ-1.txt");
    FrameData d = r.readRecords1to5();
    EXPECT_EQ(d.name, "KJ-1");
    EXPECT_EQ(d.L, 2);
    EXPECT_EQ(d.NF, 1);
    EXPECT_EQ(d.NJ, 1);
    EXPECT_EQ(d.CL, 0);
    EXPECT_EQ(d.itemNZ, ""); // the empty sixth item: NZ reads as 0
    EXPECT_EQ(d.NZ, 0);
    EXPECT_EQ(d.NB(), 2);
    EXPECT_EQ(d.NC(), 3);
    EXPECT_EQ(d.dofCount(), 4);
    EXPECT_EQ(d.lengthTable, "6.003.60");
    EXPECT_EQ(d.memberSections, "11222");
    EXPECT_EQ(d.spanLoads, (std::vector<std::string>{"1 20.0", "1 20.0"}));
    EXPECT_EQ(d.jointLoads, (std::vector<std::string>{"20103 50.0   0.0"}));
    Materials m = r.readMaterials();
    EXPECT_EQ(m.Fy, 300);
    EXPECT_EQ(m.C, 25);

    FrameModel fm = buildModel(d);
    // Length numbers 112: both beams the first length, all three columns the second.
    for (int i : {1, 2}) {
        EXPECT_EQ(fm.members[i].len, 6.0);
        EXPECT_EQ(fm.members[i].b, 0.25);
        EXPECT_EQ(fm.members[i].h, 0.5);
    }
    for (int i : {3, 4, 5}) {
        EXPECT_EQ(fm.members[i].len, 3.6);
        EXPECT_EQ(fm.members[i].b, 0.4);
        EXPECT_EQ(fm.members[i].h, 0.4);
    }
    ASSERT_EQ(fm.jointGroups.size(), 1u);
    EXPECT_EQ(fm.jointGroups[0].numbers, (std::vector<int>{1, 3}));
    EXPECT_EQ(fm.jointGroups[0].F, 50);
    EXPECT_EQ(fm.jointGroups[0].M, 0);
}

TEST(FrameReader, HeaderOfFiveItemsTakesTheNextLineAsNZ)
{
    FrameData d = read("KJ-1,2,1,0,0\r\n6.003.60,112,.25.50.40.40,11222,1 20.0,1 20.0,0,0\r\n");
    EXPECT_EQ(d.itemNZ, "6.003.60");
    EXPECT_EQ(d.lengthTable, "112");
    EXPECT_EQ(d.memberSections, "1 20.0");
}

TEST(FrameReader, ExpandsLengthNumbersPerStorey)
{
    // Two spans, two storeys: span digits 1,2 for both levels; storey digits 3 (top) and 4.
    FrameData d = read("F,2,2,0,0,\r\n6.004.503.304.20,1234\r\n.25.50.40.40.30.30,1111222222\r\n0,0,0,0\r\n300,25\r\n");
    FrameModel m = buildModel(d);
    EXPECT_EQ(m.topo.N, 8);
    const double expect[] = {0, 6.0, 4.5, 6.0, 4.5, 3.3, 3.3, 3.3, 4.2, 4.2, 4.2};
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(m.members[i].len, expect[i]) << "member " << i;
}

TEST(FrameReader, ContinuousBeamPropsAndEndFixity)
{
    FrameModel m = buildModel(read("CB,2,1,0,1,3\r\n6.004.00,11\r\n.25.50,11000\r\n0,0\r\n300,25\r\n"));
    EXPECT_TRUE(m.continuousBeam);
    // Column section digits 0 do not matter: every column is a prop.
    EXPECT_EQ(m.members[3].b, 2.0);
    EXPECT_EQ(m.members[3].len, 10.0);
    EXPECT_EQ(m.members[4].b, 0.05);
    EXPECT_EQ(m.members[4].h, 0.05);
    EXPECT_EQ(m.members[5].h, 2.0);
    FrameModel n = buildModel(read("CB,2,1,0,1,\r\n6.004.00,11\r\n.25.50,11000\r\n0,0\r\n300,25\r\n"));
    EXPECT_EQ(n.members[3].b, 0.05);
    EXPECT_EQ(n.members[5].b, 0.05);
    FrameModel one = buildModel(read("CB,2,1,0,1,1\r\n6.004.00,11\r\n.25.50,11000\r\n0,0\r\n300,25\r\n"));
    EXPECT_EQ(one.members[3].b, 2.0);
    EXPECT_EQ(one.members[5].b, 0.05);
}

TEST(SpanLoads, ItemFormsGiveTheirEntries)
{
    EXPECT_TRUE(spanLoadEntries("0", 6, 1, "f").empty());
    auto full = spanLoadEntries("1 20.0", 7.5, 1, "f");
    ASSERT_EQ(full.size(), 1u);
    expectEntry(full[0], 20, 7.5, 3.75); // whole span, centred, whatever the span
    auto force = spanLoadEntries("2    02.00   50P", 6, 1, "f");
    ASSERT_EQ(force.size(), 2u);
    expectEntry(force[0], 0, 2, 5);
    expectEntry(force[1], 50, 0, 4); // 2.00 m from the left end
    auto rep = spanLoadEntries("2 10.02.00*1P", 6, 1, "f");
    ASSERT_EQ(rep.size(), 2u);
    expectEntry(rep[0], 10, 2, 5);
    expectEntry(rep[1], 10, 0, 4);
    auto repDist = spanLoadEntries("2 10.02.00*11.50", 6, 1, "f");
    ASSERT_EQ(repDist.size(), 2u);
    expectEntry(repDist[1], 10, 1.5, 3.25);
    auto mirror = spanLoadEntries("2 10.02.00 20.02.00A", 6, 1, "f");
    ASSERT_EQ(mirror.size(), 3u);
    expectEntry(mirror[0], 10, 2, 5);
    expectEntry(mirror[1], 20, 2, 3);
    expectEntry(mirror[2], 10, 2, 1);
    // The load editor's five-entry string: distributed, force, distributed,
    // repeated force, repeated distributed.
    auto editor = spanLoadEntries("545.652.1068.81P32.531.80*2P*12.10", 6, 1, "f");
    ASSERT_EQ(editor.size(), 5u);
    expectEntry(editor[0], 45.65, 2.1, 4.95);
    expectEntry(editor[1], 68.81, 0, 3.9);
    expectEntry(editor[2], 32.53, 1.8, 3.0);
    expectEntry(editor[3], 68.81, 0, 2.1);
    expectEntry(editor[4], 45.65, 2.1, 1.05);
    // "*m" naming an entry not yet read gives 0; lower-case "p" is not a force marker.
    auto ahead = spanLoadEntries("2*22.00 10.04.00", 6, 1, "f");
    EXPECT_EQ(ahead[0].w, 0);
}

TEST(SpanLoads, TwoCharacterItemTakesTheLoadsOfTheNamedBeam)
{
    FrameModel m = buildModel(read("F,3,1,0,0,\r\n6.003.60,1112\r\n.25.50.40.40,1112222\r\n1 20.0,03,2    02.00   50P\r\n300,25\r\n"));
    EXPECT_EQ(m.spanItems[2], "2    02.00   50P");
    ASSERT_EQ(m.loads[2].size(), 2u);
    expectEntry(m.loads[2][1], 50, 0, 4);
    EXPECT_EQ(failureOf("F,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,05\r\n300,25\r\n", true),
              "数据文件 \\KJ-1.txt: 第 2 号梁的荷载项 \"05\" 引用的第 5 号梁不存在 (共 2 根梁)");
}

TEST(SpanLoads, TooManyEntriesOrLoadsPastTheSpanAreRefused)
{
    EXPECT_NO_THROW(spanLoadEntries("4 10.01.00 10.01.00 10.01.00 10.01.00A", 8, 1, "f"));
    EXPECT_THROW(spanLoadEntries("5 10.01.00 10.01.00 10.01.00 10.01.00 10.01.00A", 20, 1, "f"), Failure);
    EXPECT_THROW(spanLoadEntries("8 10.01.00", 6, 1, "f"), Failure);
    try {
        spanLoadEntries("2 10.04.00 10.04.00", 6, 3, "\\KJ-1.txt");
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "数据文件 \\KJ-1.txt: 第 3 号梁的荷载项 \"2 10.04.00 10.04.00\" 的第 2 个荷载超出跨度 6 m "
                                         "(荷载段自左端 4 m 至 8 m)");
    }
}

TEST(JointLoads, GroupsNameNodesAndDrifts)
{
    FrameModel m = buildModel(
        read("F,1,1,3,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n103100.0,20102 10.0 -5.0,101 2.50-12.50\r\n300,25\r\n"));
    ASSERT_EQ(m.jointGroups.size(), 3u);
    EXPECT_EQ(m.jointGroups[0].numbers, (std::vector<int>{3}));
    EXPECT_EQ(m.jointGroups[0].F, 100);
    EXPECT_EQ(m.jointGroups[1].numbers, (std::vector<int>{1, 2}));
    EXPECT_EQ(m.jointGroups[1].F, 10);
    EXPECT_EQ(m.jointGroups[1].M, -5);
    // The moment field starts right after the five characters of the force.
    EXPECT_EQ(m.jointGroups[2].F, 2.5);
    EXPECT_EQ(m.jointGroups[2].M, -12.5);
    EXPECT_EQ(failureOf("F,1,1,1,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n10450.0\r\n300,25\r\n", true),
              "数据文件 \\KJ-1.txt: 第 1 组节点荷载 \"10450.0\" 中的第 1 个编号 \"04\" 不在 1 到 3 之间 (节点 1-2, 层间侧移 3-3)");
}

TEST(FrameReader, FailuresNameTheFileAndWhatIsWrong)
{
    EXPECT_EQ(failureOf("KJ-1,2,1"), "数据文件 \\KJ-1.txt 不完整: 第 1 类数据(构件名, L, NF, NJ, CL, NZ)缺少第 4 项");
    EXPECT_EQ(failureOf("KJ-1,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0\r\n"),
              "数据文件 \\KJ-1.txt 不完整: 梁间荷载数据(共 2 项)缺少第 2 项");
    EXPECT_EQ(failureOf("KJ-1,2,11,0,0,"), "数据文件 \\KJ-1.txt: 层数 NF = 11 超过上限 10");
    EXPECT_EQ(failureOf("KJ-1,5,9,0,0,"), "数据文件 \\KJ-1.txt: 梁数 L×NF 超过上限 40");
    EXPECT_EQ(failureOf("KJ-1,4,10,0,0,\r\n"), "数据文件 \\KJ-1.txt 不完整: 第 2 类数据(长度表, 长度编号)缺少第 1 项");
    EXPECT_EQ(failureOf("KJ-1,0,1,0,0,"), "数据文件 \\KJ-1.txt: 梁跨数 L 为 0, 应至少为 1");
    EXPECT_EQ(failureOf("KJ-1,2,1,61,0,"), "数据文件 \\KJ-1.txt: 节点荷载组数 NJ = 61 超过上限 60");
    // A length digit selecting an empty entry, a section digit selecting an empty entry.
    EXPECT_EQ(failureOf("KJ-1,2,1,0,0,\r\n6.003.60,102\r\n.25.50.40.40,11222\r\n0,0\r\n300,25\r\n", true),
              "数据文件 \\KJ-1.txt: 第 2 号梁的长度不是正数 (长度编号 \"0\" 选中的长度为 0)");
    EXPECT_EQ(failureOf("KJ-1,2,1,0,0,\r\n6.003.60,11\r\n.25.50.40.40,11222\r\n0,0\r\n300,25\r\n", true),
              "数据文件 \\KJ-1.txt: 第 1 号柱的长度不是正数 (长度编号缺少第 3 位)");
    EXPECT_EQ(failureOf("KJ-1,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11232\r\n0,0\r\n300,25\r\n", true),
              "数据文件 \\KJ-1.txt: 第 2 号柱没有截面 (截面编号 \"3\" 选中了截面表中的空项)");
}

TEST(FrameReader, MaterialsMustBePositive)
{
    FrameFileReader r("KJ-1,1,1,0,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n\r\n300,25\r\n", "\\KJ-1.txt");
    r.readRecords1to5();
    try {
        r.readMaterials();
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), "数据文件 \\KJ-1.txt: 钢筋强度 Fy 为 \"\", 应为正数");
    }
    FrameFileReader s("KJ-1,1,1,0,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n", "\\KJ-1.txt");
    s.readRecords1to5();
    EXPECT_THROW(s.readMaterials(), Failure);
}
