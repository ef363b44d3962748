#include "calc/seismic_report.h"

#include "common/numbers.h"

#include <cmath>
#include <cstdio>

namespace kj {

namespace {

namespace g = gb50011;

// "1/1781" for a drift ratio; "0" when there is no drift.
std::string ratioText(double ratio) { return ratio > 0 ? "1/" + fixedText(1.0 / ratio, 0) : "0"; }

} // namespace

SeismicFigures seismicFigures(const SeismicAction& a)
{
    return {fixedText(a.height, 2), fixedText(a.Tg, 2),     fixedText(a.alphaMax, 2), fixedText(a.params.psiT, 2), fixedText(a.Ec, 0),
            fixedText(a.uT, 4),     fixedText(a.T1, 3),     fixedText(a.alpha1, 4),   fixedText(a.sumGE, 1),       fixedText(a.Geq, 1),
            fixedText(a.FEk, 2),    fixedText(a.deltaN, 4), fixedText(a.deltaFn, 2),  fixedText(a.lambda, 4)};
}

SeismicFloorCells seismicFloorCells(const SeismicFloor& f)
{
    return {std::to_string(f.level), fixedText(f.height, 2), fixedText(f.GE, 1),    fixedText(f.F, 2),
            fixedText(f.V, 2),           fixedText(f.Vmin, 2),   fixedText(f.drift, 3), ratioText(f.driftRatio)};
}

std::string gradeDescription(const SeismicAction& a)
{
    const SeismicParameters& p = a.params;
    std::string t = "抗震等级 " + g::gradeText(a.grade);
    if (!a.gradeFromTable) return t + " (用户指定)";
    t += " (表 6.1.2, 框架高度 " + seismicFigures(a).height + " m";
    if (a.longestSpan >= g::kLargeSpan) t += ", 大跨度框架 跨度 " + shortestDecimal(a.longestSpan) + " m";
    t += ")";
    if (a.detailingGrade != a.grade)
        t += "  抗震构造措施 " + g::gradeText(a.detailingGrade) + " (3.3.3: " + g::siteText(p.site) + " 类场地, 按 " +
             g::intensityTitle(g::detailingIntensity(p.intensity, p.site)) + ")";
    return t;
}

std::string gravityLoadText(const SeismicAction& a)
{
    const int storeys = static_cast<int>(a.floors.size());
    std::string roof = "屋面";
    std::string penthouse;
    if (a.roofStorey < storeys) {
        roof += " (第 " + std::to_string(a.roofStorey) + " 层顶及以上, 层号自底层起)";
        penthouse = "; 第 " + std::to_string(a.roofStorey + 1) + " 层及以上为屋顶间, 其构件的地震作用效应乘以 3, "
                    "不往下传递 (5.2.4)";
    }
    return "GE=G+0.5Q (楼面), " + roof + "活荷载不计入 (表 5.1.3)" + penthouse;
}

void writeSeismicBlock(ReportWriter& w, const SeismicAction& a)
{
    if (w.currentColumn() != 1) w.endLine();
    const SeismicParameters& p = a.params;
    const SeismicFigures n = seismicFigures(a);
    w.text("地震作用  GB 50011-2010 (2016 年版) 底部剪力法, 多遇地震, 阻尼比 0.05").endLine();
    w.text("  设防烈度 ").text(g::intensityTitle(p.intensity)).text("  场地类别 ").text(g::siteText(p.site))
        .text("  设计地震分组 第").text(std::to_string(p.group)).text("组  ").text(gradeDescription(a)).endLine();
    w.text("  Tg=").text(n.Tg).text(" s  αmax=").text(n.alphaMax)
        .text("  ψT=").text(n.psiT).text("  Ec=").text(n.Ec).text(" N/mm2")
        .text("  uT=").text(n.uT).text(" m  T1=1.7ψT√uT=").text(n.T1).text(" s  α1=")
        .text(n.alpha1).endLine();
    w.text("  ΣGE=").text(n.sumGE).text(" kN  Geq=").text(n.Geq).text(" kN  FEk=α1Geq=")
        .text(n.FEk).text(" kN  δn=").text(n.deltaN).text("  ΔFn=").text(n.deltaFn)
        .text(" kN  λ=").text(n.lambda).endLine();
    w.text("  层号  标高(m)     GE(kN)     Fi(kN)     Vi(kN)  λΣGj(kN)   层间位移(mm)  位移角  (").text(kStoreysFromGround)
        .text(")")
        .endLine();
    for (auto it = a.floors.rbegin(); it != a.floors.rend(); ++it) {
        const SeismicFloor& f = *it;
        const SeismicFloorCells c = seismicFloorCells(f);
        w.text("  ").text(c.level).column(9).text(c.height).column(19).text(c.GE)
            .column(30).text(c.F).column(41).text(c.V).text(f.raised ? "*" : "")
            .column(51).text(c.Vmin).column(62).text(c.drift).column(76).text(c.ratio)
            .text(f.driftOk ? "  满足 1/550" : "  超过 1/550").endLine();
    }
    bool raised = false;
    for (const SeismicFloor& f : a.floors) raised = raised || f.raised;
    if (raised) w.text("  * 楼层剪力小于 λΣGj, 已按 5.2.5 条调整为 λΣGj").endLine();
    w.text("  假定: ").text(gravityLoadText(a)).text(", 柱自重各半集中于上下楼层; 质量和刚度沿高度分布比较均匀, 不计扭转,")
        .endLine();
    w.text("        不计竖向地震作用, 周期折减系数 ψT 计入填充墙刚度, 框架本身不计填充墙刚度").endLine();
    if (p.cornerColumns)
        w.text("  角柱: 最左、最右两列柱按角柱设计: 调整后的组合弯矩和剪力×1.10 (6.2.6), 最小总配筋率按角柱 (表 6.3.7-1),")
            .endLine()
            .text("        一、二级沿柱全高加密箍筋 (6.3.9); 平面框架按单向偏心受压计算, 未计双向偏心")
            .endLine();
    w.text("  地震组合的设计内力已乘 γRE (梁受弯 0.75, 柱偏压 0.75 或 0.80, 受剪 0.85; 表 5.4.2);")
        .text(" 已计入强柱弱梁、强剪弱弯的内力调整; 配筋按抗震构造增大, 见各构件行下的\"抗震构造\"说明");
}

nlohmann::json seismicJsonValue(const SeismicAction& a)
{
    nlohmann::json floors = nlohmann::json::array();
    for (const SeismicFloor& f : a.floors)
        floors.push_back({{"level", f.level},
                          {"height", f.height},
                          {"GE", f.GE},
                          {"F", f.F},
                          {"V", f.V},
                          {"drift", f.drift},
                          {"driftRatio", f.driftRatio},
                          {"storeyHeight", f.storeyHeight},
                          {"Vcomputed", f.Vcomputed},
                          {"Vmin", f.Vmin},
                          {"raised", f.raised},
                          {"driftOk", f.driftOk}});
    return {{"T1", a.T1},
            {"uT", a.uT},
            {"Tg", a.Tg},
            {"alphaMax", a.alphaMax},
            {"alpha1", a.alpha1},
            {"FEk", a.FEk},
            {"deltaN", a.deltaN},
            {"grade", a.grade},
            {"detailingGrade", a.detailingGrade},
            {"floors", floors},
            {"intensity", g::intensityText(a.params.intensity)},
            {"site", g::siteText(a.params.site)},
            {"group", a.params.group},
            {"gradeFromTable", a.gradeFromTable},
            {"psiT", a.params.psiT},
            {"Ec", a.Ec},
            {"sumGE", a.sumGE},
            {"roofStorey", a.roofStorey},
            {"Geq", a.Geq},
            {"deltaFn", a.deltaFn},
            {"lambda", a.lambda},
            {"driftLimit", g::kFrameDriftLimit}};
}

} // namespace kj
