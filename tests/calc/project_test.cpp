// The project file: every example converted to a project and back gives the
// same results, floor forces against the storey-shear input of the data
// file, and bad files refused with the key path.
#include "calc/calculation.h"
#include "calc/envelope.h"
#include "calc/project.h"
#include "calc/report.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/textfile.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace kj {
namespace {

LoadCaseInput exampleCase(LoadCaseKind kind, const std::string& name)
{
    const std::string slot = "\\" + name + ".txt";
    return readLoadCase(kind, readTextFile(std::filesystem::path(KJ_EXAMPLES_DIR) / (name + ".txt"), slot), slot);
}

using kjtest::failureOf;

// What a run writes of a result: the design tables and the two result files.
std::string outputs(const CalculationResult& r)
{
    ReportWriter w;
    writeDesignTables(w, r);
    return w.take() + "\n" + beamBarsText(r) + "\n" + forceDiagramText(r);
}

void expectSameForces(const InternalForces& a, const InternalForces& b)
{
    EXPECT_EQ(a.M1, b.M1);
    EXPECT_EQ(a.M2, b.M2);
    EXPECT_EQ(a.V1, b.V1);
    EXPECT_EQ(a.V2, b.V2);
    EXPECT_EQ(a.Mo, b.Mo);
    EXPECT_EQ(a.X, b.X);
    EXPECT_EQ(a.N, b.N);
}

// Data file -> project JSON -> project read back -> data file: the same
// numbers at every step, bit for bit.
TEST(ProjectRoundTrip, EveryExampleCalculatesAlikeAsDataFileAndAsProject)
{
    const DesignOptions options;
    for (const char* name : {"KJ-1", "KJ-2", "KJ-3", "CB-1"}) {
        SCOPED_TRACE(name);
        const LoadCaseInput data = exampleCase(LoadCaseKind::G, name);
        const Project p = parseProject(projectJson(projectFromDataFiles({data}, DesignSettings{}, std::nullopt, {})), "\\p.kjpj");
        const CalculationResult fromData = calculate(data.model, options);
        const CalculationResult fromProject = calculate(caseModel(p, LoadCaseKind::G), options);
        expectSameForces(fromData.forces, fromProject.forces);
        EXPECT_EQ(outputs(fromData), outputs(fromProject));

        const LoadCaseInput back = readLoadCase(LoadCaseKind::G, dataFileText(p, LoadCaseKind::G), "\\back.txt");
        expectSameForces(fromData.forces, calculate(back.model, options).forces);
    }
    // KJ-1 has the data file of the data-file examples' own two-span frame
    // word for word.
    const Project kj1 = projectFromDataFiles({exampleCase(LoadCaseKind::G, "KJ-1")}, DesignSettings{}, std::nullopt, {});
    EXPECT_EQ(dataFileText(kj1, LoadCaseKind::G),
              "KJ-1,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n20103 50.0   0.0\r\n300,25\r\n");
}

TEST(ProjectRoundTrip, LoadCasesGiveTheSameEnvelope)
{
    const std::vector<LoadCaseInput> cases{exampleCase(LoadCaseKind::G, "KJ-1"), exampleCase(LoadCaseKind::Q, "KJ-1Q"),
                                           exampleCase(LoadCaseKind::W, "KJ-1W")};
    const Project p = parseProject(projectJson(projectFromDataFiles(cases, DesignSettings{}, std::string("GB55001"), {})),
                                   "\\p.kjpj");
    ASSERT_EQ(p.cases.size(), 3u);
    ASSERT_EQ(p.combinationSet, std::string("GB55001"));
    // The wind's storey shear of 12 kN is a floor force of 12 kN at the roof.
    ASSERT_EQ(p.cases[2].floorForces.size(), 1u);
    EXPECT_EQ(p.cases[2].floorForces[0].level, 1);
    EXPECT_EQ(p.cases[2].floorForces[0].H, 12);

    const std::array<bool, 3> all{true, true, true};
    const auto combos = combinationsFor(combinationSet("GB55001"), all);
    const EnvelopeResult a = calculateEnvelope(cases, combos, "GB 55001-2021", DesignOptions{});
    const EnvelopeResult b = calculateEnvelope(projectCases(p), combos, "GB 55001-2021", DesignOptions{});
    for (std::size_t k = 0; k < a.combinations.size(); ++k) expectSameForces(a.combinations[k].forces, b.combinations[k].forces);
    EXPECT_EQ(outputs(a.envelope), outputs(b.envelope));
}

const char* kPortal = R"({
  "schema": "kjpj-project/1", "name": "P", "spans": [6], "storeys": [4, 3.5],
  "sections": {"B": [250, 500], "C": [400, 400]},
  "beams": [["B"], ["B"]], "columns": [["C", "C"], ["C", "C"]],
  "cases": {"G": {"beamLoads": [[[{"q": 20}]], [[{"q": 15, "from": 1, "to": 4}, {"P": 30, "x": 2.5}]]],
                  "jointLoads": [{"level": 2, "line": 2, "P": 40, "M": -6}],
                  "floorForces": [{"level": 1, "H": 20}, {"level": 2, "H": 10}]}},
  "materials": {"concrete": 30, "fy": 360}
})";

// Floor forces are summed from the roof down into the storey shears the
// data file states: 10 kN above the upper storey, 30 kN in the lower.
TEST(ProjectFloorForces, GiveTheStoreyShearsOfTheDataFile)
{
    const Project p = parseProject(kPortal, "\\p.kjpj");
    const std::string data = "P,1,2,3,0,\r\n6.003.504.00,123\r\n.25.50.40.40,112222\r\n"
                             "4  0.01.00 15.01.50 30.0P 15.01.50,1 20.0\r\n"
                             "102 40.0  -6.0\r\n105 10.0\r\n106 30.0\r\n360,30\r\n";
    const LoadCaseInput old = readLoadCase(LoadCaseKind::G, data, "\\P.txt");
    const CalculationResult a = calculate(old.model, DesignOptions{});
    const CalculationResult b = calculate(caseModel(p, LoadCaseKind::G), DesignOptions{});
    EXPECT_EQ(b.forces.storeyShear[1], 10);
    EXPECT_EQ(b.forces.storeyShear[2], 30);
    for (std::size_t i = 1; i < a.forces.M1.size(); ++i) {
        EXPECT_NEAR(a.forces.M1[i], b.forces.M1[i], 1e-9);
        EXPECT_NEAR(a.forces.M2[i], b.forces.M2[i], 1e-9);
    }
    EXPECT_EQ(dataFileText(p, LoadCaseKind::G), data);
    // Beams' own weight adds 25 kN/m3 x 0.25 x 0.5 = 3.125 kN/m to G: the
    // ground reactions grow by 3.125 x 6 per storey.
    Project heavy = p;
    heavy.beamSelfWeight = true;
    const CalculationResult c = calculate(caseModel(heavy, LoadCaseKind::G), DesignOptions{});
    const int NB = b.topo().NB;
    const double groundB = b.forces.N[3] + b.forces.N[4], groundC = c.forces.N[3] + c.forces.N[4];
    EXPECT_NEAR(groundC - groundB, 2 * 3.125 * 6, 1e-9);
    EXPECT_EQ(NB, 2);
}

// Every setting of a project away from its default, saved and read back:
// each field as it was.
TEST(ProjectFile, EverySettingIsSavedAndReadBack)
{
    Project p = parseProject(kPortal, "\\p.kjpj");
    p.cases.push_back(p.cases[0]);
    p.cases[1].kind = LoadCaseKind::Q;
    p.cases[1].jointLoads.clear();
    p.cases[1].floorForces.clear();
    p.design = {"0.85", "30", "3", "20", "3", "18", "4", "8", "GB50010-2010", "360", "装配", "2b", "0.5"};
    p.beamSelfWeight = true;
    p.beamStiffnessFactor = 1.5;
    p.liveLoadPatterns = true;
    p.gammaL = 1.1;
    p.psiC = 0.9;
    p.combinationSet = "GB50009";
    p.seismic = {"8.5", "III", "3", "2", "0.65", true, "1"};
    p.title = {"办公楼", "张三", "李四", "2026-12-07"};
    const Project b = parseProject(projectJson(p), "\\p.kjpj");
    const DesignSettings &d = p.design, &e = b.design;
    for (auto field : {&DesignSettings::beta, &DesignSettings::cover, &DesignSettings::topCount, &DesignSettings::topDiameter,
                       &DesignSettings::bottomCount, &DesignSettings::bottomDiameter, &DesignSettings::stirrupLegs,
                       &DesignSettings::stirrupDiameter, &DesignSettings::code, &DesignSettings::fyv, &DesignSettings::floors,
                       &DesignSettings::environment, &DesignSettings::quasiPermanent})
        EXPECT_EQ(e.*field, d.*field);
    EXPECT_EQ(b.beamSelfWeight, true);
    EXPECT_EQ(b.beamStiffnessFactor, 1.5);
    EXPECT_EQ(b.liveLoadPatterns, true);
    EXPECT_EQ(b.gammaL, 1.1);
    EXPECT_EQ(b.psiC, 0.9);
    EXPECT_EQ(b.combinationSet, std::optional<std::string>("GB50009"));
    for (auto field : {&SeismicTexts::intensity, &SeismicTexts::site, &SeismicTexts::group, &SeismicTexts::grade,
                       &SeismicTexts::psiT, &SeismicTexts::roofStorey})
        EXPECT_EQ(b.seismic.*field, p.seismic.*field);
    EXPECT_TRUE(b.seismic.cornerColumns);
    for (auto field : {&ProjectTitle::project, &ProjectTitle::designer, &ProjectTitle::checker, &ProjectTitle::date})
        EXPECT_EQ(b.title.*field, p.title.*field);
    // The roof storey is one the frame has.
    p.seismic.roofStorey = "3";
    EXPECT_EQ(failureOf([&] { parseProject(projectJson(p), "\\p.kjpj"); }),
              "项目文件 \\p.kjpj: seismic.roofStorey 为第 3 层, 框架只有 2 层 (层号自底层起)");
}

TEST(ProjectFile, BadFilesAreRefusedWithTheKeyPath)
{
    auto with = [](const std::string& from, const std::string& to) {
        std::string s = kPortal;
        s.replace(s.find(from), from.size(), to);
        return failureOf([&] { parseProject(s, "\\p.kjpj"); });
    };
    EXPECT_EQ(with(R"({"P": 30, "x": 2.5})", R"({"P": 30, "x": 6.5})"),
              "项目文件 \\p.kjpj: cases.G.beamLoads[1][0][1].x 超出跨度 6.00 m (实为 6.5 m)");
    EXPECT_EQ(with(R"("beams": [["B"], ["B"]])", R"("beams": [["B"], ["X"]])"),
              "项目文件 \\p.kjpj: beams[1][0] 的截面 \"X\" 不在 sections 中");
    EXPECT_EQ(with(R"("storeys": [4, 3.5])", R"("storeys": [4, "3.5"])"), "项目文件 \\p.kjpj: storeys[1] 应为数值");
    EXPECT_EQ(with(R"("C": [400, 400])", R"("C": [400, 0])"), "项目文件 \\p.kjpj: sections.C[1] 应大于 0 mm, 实为 0");
    EXPECT_EQ(with(R"("storeys": [4, 3.5])", R"("storeys": [4, 1e999])"),
              "项目文件 \\p.kjpj: 不是有效的 JSON: 数值 \"1e999\" 超出范围");
    EXPECT_EQ(with(R"("materials")", R"("materail")"), "项目文件 \\p.kjpj: materail 是未知的键");
    EXPECT_EQ(with(R"({"level": 2, "line": 2,)", R"({"level": 3, "line": 2,)"),
              "项目文件 \\p.kjpj: cases.G.jointLoads[0].level 应为 1 到 2 的整数, 实为 3");
    EXPECT_EQ(with(R"("materials": {"concrete": 30, "fy": 360})", R"("materials": {"concrete": 30})"),
              "项目文件 \\p.kjpj: materials 缺少键 \"fy\"");
    EXPECT_EQ(with(R"("name": "P")", R"("name": "P",, )"), "项目文件 \\p.kjpj: 不是有效的 JSON: 第 2 行第 43 列不合 JSON 的写法");
}

// Nesting is counted before the parser runs (a file of 47,600 nested
// arrays would otherwise run it out of stack); brackets inside a text do not
// count; 64 levels are read.
TEST(ProjectFile, NestingDeeperThan64IsRefusedAtItsBracket)
{
    const auto refused = [](const std::string& s) { return failureOf([&] { parseProject(s, "\\p.kjpj"); }); };
    EXPECT_EQ(refused(std::string(47600, '[') + std::string(47600, ']')), "项目文件 \\p.kjpj 第 1 行第 65 列: 嵌套超过 64 层");
    EXPECT_EQ(refused("{\"name\": \"[[[\\\"\",\r\n  \"a\": " + std::string(64, '[') + std::string(64, ']') + "}"),
              "项目文件 \\p.kjpj 第 2 行第 71 列: 嵌套超过 64 层");
    EXPECT_EQ(refused("{\"a\": " + std::string(63, '[') + std::string(63, ']') + "}"), "项目文件 \\p.kjpj: a 是未知的键");
}

TEST(ProjectFile, OneOverAMebibyteIsRefusedAsAProjectFile)
{
    kjtest::TempDir dir("kj-project");
    kjtest::writeBytes(dir.path / "big.kjpj", std::string(kPortal) + std::string(3 << 19, ' '));
    EXPECT_EQ(failureOf([&] { readProjectFile(dir.path / "big.kjpj", "\\big.kjpj"); }),
              "无法读取文件 \\big.kjpj: 文件大于 1 MB, 不是本程序的项目文件");
    kjtest::writeBytes(dir.path / "p.kjpj", kPortal);
    EXPECT_EQ(readProjectFile(dir.path / "p.kjpj", "\\p.kjpj").storeys.size(), 2u);
}

TEST(ProjectFile, FramesTheDataFileCannotHoldAreRefusedWithTheReason)
{
    Project p = parseProject(kPortal, "\\p.kjpj");
    p.spans[0] = 6.125; // five characters
    EXPECT_EQ(failureOf([&] { dataFileText(p, LoadCaseKind::G); }),
              "项目文件 \\p.kjpj 不能写成数据文件: 跨度 6.125 不能用 4 个字符准确表示");
    p = parseProject(kPortal, "\\p.kjpj");
    p.storeys.assign(11, 3.0);
    p.beams.assign(11, {"B"});
    p.columns.assign(11, {"C", "C"});
    p.cases[0].beamLoads.assign(11, {{}});
    p.cases[0].floorForces.clear();
    p.cases[0].jointLoads.clear();
    EXPECT_EQ(failureOf([&] { dataFileText(p, LoadCaseKind::G); }),
              "项目文件 \\p.kjpj 不能写成数据文件: 层数 11 超过数据文件的 10 层");
    // Yet the frame itself calculates.
    EXPECT_NO_THROW(calculate(caseModel(p, LoadCaseKind::G), DesignOptions{}));
}

// What a data file cannot hold is listed before it is written; a project of
// the default method and the boxes' defaults loses nothing.
TEST(ProjectFile, WhatTheDataFileLeavesOutIsListed)
{
    Project p = parseProject(kPortal, "\\p.kjpj");
    p.design = DesignSettings{};
    p.combinations.clear();
    p.combinationSet.reset();
    p.title = {};
    EXPECT_EQ(dataFileOmissions(p), std::vector<std::string>{});
    p.design.beta = "1"; // the number of "1.00"
    p.design.code = "GB50010-2010";
    p.design.environment = "2b";
    p.design.floors = "装配";
    p.seismic.intensity = "8";
    p.combinations = {"1.3G+1.5Q"};
    p.liveLoadPatterns = true;
    p.gammaL = 1.1;
    p.title.designer = "张三";
    EXPECT_EQ(dataFileOmissions(p),
              (std::vector<std::string>{"设计规范 GB50010-2010", "楼盖 装配", "环境类别 2b",
                                        "地震作用 (设防烈度 8 度及其场地、分组、抗震等级)", "自定义荷载组合 1 条",
                                        "活载不利布置", "活载系数 γL = 1.1, ψc = 0.7",
                                        "计算书标题栏 (工程名称、设计、校对、日期)"}));
}

} // namespace
} // namespace kj
