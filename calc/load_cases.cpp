#include "calc/load_cases.h"

#include "common/failure.h"
#include "common/numbers.h"

namespace kj {

namespace {

std::string caseName(const LoadCaseInput& c)
{
    return std::string(caseTitle(c.kind)) + " " + caseLetter(c.kind);
}

std::string num(double x) { return shortestDecimal(x); }

void checkSameFrame(const LoadCaseInput& g, const LoadCaseInput& c)
{
    const std::string lead = "荷载工况 " + caseName(c) + " 的数据文件 " + c.fileName + " 与" + caseName(g) + " 的 " +
                             g.fileName + " 不是同一框架: ";
    auto refuse = [&](const std::string& record, const std::string& what, const std::string& mine,
                      const std::string& theirs) {
        throw Failure(lead + record + "中" + what + "为 " + mine + ", " + caseLetter(g.kind) + " 中为 " + theirs);
    };
    const char* header = "第 1 类数据";
    if (c.data.L != g.data.L) refuse(header, "跨数 L ", std::to_string(c.data.L), std::to_string(g.data.L));
    if (c.data.NF != g.data.NF) refuse(header, "层数 NF ", std::to_string(c.data.NF), std::to_string(g.data.NF));
    if (c.data.CL != g.data.CL) refuse(header, "框架标志 CL ", num(c.data.CL), num(g.data.CL));
    if (c.data.NZ != g.data.NZ) refuse(header, "端部固定代码 NZ ", num(c.data.NZ), num(g.data.NZ));
    const FrameTopology& t = g.model.topo;
    for (int i = 1; i <= t.memberCount(); ++i) {
        const Member& a = c.model.member(i);
        const Member& b = g.model.member(i);
        if (a.len != b.len) refuse("第 2 类数据(长度)", t.memberName(i) + "的长度", num(a.len) + " m", num(b.len) + " m");
        if (a.b != b.b || a.h != b.h)
            refuse("第 3 类数据(截面)", t.memberName(i) + "的截面 b×h ", num(a.b) + "×" + num(a.h) + " m",
                   num(b.b) + "×" + num(b.h) + " m");
    }
    const Materials& mc = *c.model.materials;
    const Materials& mg = *g.model.materials;
    if (mc.Fy != mg.Fy) refuse("最后一类数据", "钢筋强度 Fy ", num(mc.Fy), num(mg.Fy));
    if (mc.C != mg.C) refuse("最后一类数据", "砼强度等级 C ", num(mc.C), num(mg.C));
}

} // namespace

LoadCaseInput readLoadCase(LoadCaseKind kind, const std::string& text, const std::string& fileName)
{
    LoadCaseInput c;
    c.kind = kind;
    c.fileName = fileName;
    FrameFileReader reader(text, fileName);
    c.data = reader.readRecords1to5();
    c.model = buildModel(c.data);
    c.model.materials = reader.readMaterials();
    c.model.columnWeight = kind == LoadCaseKind::G;
    return c;
}

void checkLoadCases(const std::vector<LoadCaseInput>& cases)
{
    const LoadCaseInput* g = nullptr;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j)
            if (cases[j].kind == cases[i].kind)
                throw Failure(std::string("荷载工况 ") + caseLetter(cases[i].kind) + " 给了两次: " + cases[j].fileName +
                              " 和 " + cases[i].fileName);
        if (cases[i].kind == LoadCaseKind::G) g = &cases[i];
    }
    if (!g)
        throw Failure("缺少恒载 G 的数据文件: 柱自重计入恒载, 按荷载工况计算时必须给出 G");
    for (const LoadCaseInput& c : cases)
        if (&c != g) checkSameFrame(*g, c);
}

} // namespace kj
