// The calculation book's seismic sections: the base shear method with its
// numbers, and the shear check of the joint cores.
#include "book_layout.h"

#include "calc/joint_core.h"
#include "calc/seismic_report.h"
#include "design/gb50011_2010.h"

#include <algorithm>

namespace kjd::book {

// 地震作用计算: the base shear method with the numbers put in, and the floors.
void seismicSection(Book& book, const kj::SeismicAction& a, int number, QStringList& failures)
{
    namespace g = kj::gb50011;
    const kj::SeismicFigures n = kj::seismicFigures(a);
    const kj::SeismicParameters& p = a.params;
    book.heading(QStringLiteral("%1 地震作用计算").arg(number), true);
    QStringList lines;
    lines << QStringLiteral("GB 50011-2010 (2016 年版) 5.2.1 条底部剪力法, 多遇地震, 阻尼比 0.05。")
          << QStringLiteral("设防烈度 %1, 场地类别 %2, 设计地震分组 第 %3 组, %4")
                 .arg(q(g::intensityTitle(p.intensity)), q(g::siteText(p.site)), QString::number(p.group),
                      q(kj::gradeDescription(a)))
          << QStringLiteral("特征周期 Tg = %1 s (表 5.1.4-2), 水平地震影响系数最大值 αmax = %2 (表 5.1.4-1)")
                 .arg(q(n.Tg), q(n.alphaMax))
          << QStringLiteral("周期折减系数 ψT = %1, 混凝土弹性模量 Ec = %2 N/mm²").arg(q(n.psiT), q(n.Ec))
          << QStringLiteral("顶点位移 uT = %1 m (各层重力荷载代表值作为水平力, 毛截面刚度)").arg(q(n.uT))
          << QStringLiteral("基本周期 T1 = 1.7 ψT √uT = 1.7 × %1 × √%2 = %3 s").arg(q(n.psiT), q(n.uT), q(n.T1));
    // The branch of the spectrum (5.1.5) T1 falls on.
    const g::SpectrumShape sh = g::spectrumShape(0.05);
    const QString gamma = q(kj::shortestDecimal(sh.gamma)), eta2 = q(kj::shortestDecimal(sh.eta2));
    QString alpha;
    if (a.T1 < 0.1)
        alpha = QStringLiteral("[0.45 + 10 T1 (η2 - 0.45)] αmax = [0.45 + 10 × %1 × (%2 - 0.45)] × %3").arg(q(n.T1), eta2, q(n.alphaMax));
    else if (a.T1 <= a.Tg)
        alpha = QStringLiteral("η2 αmax = %1 × %2").arg(eta2, q(n.alphaMax));
    else if (a.T1 <= 5 * a.Tg)
        alpha = QStringLiteral("(Tg/T1)^γ η2 αmax = (%1/%2)^%3 × %4 × %5").arg(q(n.Tg), q(n.T1), gamma, eta2, q(n.alphaMax));
    else
        alpha = QStringLiteral("[η2 0.2^γ - η1 (T1 - 5Tg)] αmax = [%1 × 0.2^%2 - %3 × (%4 - 5 × %5)] × %6")
                    .arg(eta2, gamma, q(kj::shortestDecimal(sh.eta1)), q(n.T1), q(n.Tg), q(n.alphaMax));
    lines << QStringLiteral("α1 = %1 = %2 (5.1.5 条, γ = %3, η2 = %4)").arg(alpha, q(n.alpha1), gamma, eta2);
    const bool single = a.floors.size() == 1;
    lines << QStringLiteral("ΣGE = %1 kN, Geq = %2 = %3 kN").arg(q(n.sumGE), single ? QStringLiteral("ΣGE") : QStringLiteral("0.85 ΣGE"), q(n.Geq))
          << QStringLiteral("FEk = α1 Geq = %1 × %2 = %3 kN").arg(q(n.alpha1), q(n.Geq), q(n.FEk))
          << QStringLiteral("顶部附加地震作用系数 δn = %1 (表 5.2.1), ΔFn = δn FEk = %2 kN").arg(q(n.deltaN), q(n.deltaFn))
          << QStringLiteral("Fi = Gi Hi / Σ Gj Hj · FEk (1 - δn), 顶层另加 ΔFn; Vi 为其上各层 Fj 之和")
          << QStringLiteral("最小地震剪力系数 λ = %1 (5.2.5 条): Vi ≥ λ ΣGj").arg(q(n.lambda));
    book.paragraph(lines);
    Table t{{storeyHeading(), QStringLiteral("标高 (m)"), QStringLiteral("GE (kN)"), QStringLiteral("Fi (kN)"),
             QStringLiteral("Vi (kN)"), QStringLiteral("λΣGj (kN)"), QStringLiteral("层间位移 (mm)"), QStringLiteral("位移角"),
             QStringLiteral("结论 (1/550)")},
            {},
            {}};
    bool raised = false;
    for (auto it = a.floors.rbegin(); it != a.floors.rend(); ++it) {
        const kj::SeismicFloorCells c = kj::seismicFloorCells(*it);
        raised = raised || it->raised;
        t.rows.push_back({q(c.level), q(c.height), q(c.GE), q(c.F), q(c.V) + (it->raised ? QStringLiteral("*") : QString()),
                          q(c.Vmin), q(c.drift), q(c.ratio), it->driftOk ? QStringLiteral("满足") : QStringLiteral("不满足")});
        if (!it->driftOk) failures << QStringLiteral("第 %1 层 多遇地震层间位移角 %2 超过 1/550").arg(q(c.level), q(c.ratio));
    }
    book.table(t);
    QStringList notes;
    if (raised) notes << QStringLiteral("* 楼层剪力小于 λΣGj, 已按 5.2.5 条调整为 λΣGj。");
    notes << QStringLiteral("层号自下而上, 1 = 底层 (其顶的楼层); 标高为楼层距地面高度。%1, 柱自重各半集中于上下楼层; 不计扭转和竖向地震作用。")
                 .arg(q(kj::gravityLoadText(a)));
    if (p.cornerColumns)
        notes << QStringLiteral("最左、最右两列柱按角柱设计: 调整后的组合弯矩和剪力 ×1.10 (6.2.6), 最小总配筋率按角柱 "
                                "(表 6.3.7-1), 一、二级沿柱全高加密箍筋 (6.3.9); 按单向偏心受压计算。");
    book.note(notes);
}

// The joint cores of a seismic design, as a table under the seismic section.
void jointCoreSection(Book& book, const kj::EnvelopeResult& e, int number, QStringList& failures)
{
    const kj::JointCoreTable j = kj::jointCoreTable(e);
    if (j.rows.empty()) return;
    book.heading(QStringLiteral("%1.2 框架节点核心区抗震受剪验算").arg(number), false);
    Table t{{}, {}, {}};
    for (const std::string& h : j.headers) t.headers << q(h);
    for (const std::vector<std::string>& row : j.rows) {
        QStringList cells;
        for (const std::string& cell : row) cells << q(cell);
        t.rows.push_back(cells);
    }
    book.table(t);
    QStringList notes;
    for (const std::string& n : j.notes) notes << q(n);
    book.note(notes);
    for (const std::string& f : j.failures) failures << q(f);
}

} // namespace kjd::book
