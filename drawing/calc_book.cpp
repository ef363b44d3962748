#include "calc_book.h"

#include "book_layout.h"
#include "calc/report.h"
#include "calc/serviceability_report.h"
#include "design/gb50010_2010.h"
#include "design/materials.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/report_writer.h"
#include "common/text.h"
#include "common/textfile.h"
#include "frame_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace kjd {

namespace {

using namespace book;

// The design constants of the calculation's materials, as its rule set uses them.
struct BookMaterials {
    double fc = 0, ft = 0, Ec = 0; // N/mm²
    double fcFlexure = 0;          // the concrete strength of the flexure formulas (α1 fc, or 0.48 C)
    double fy = 0, fyc = 0, fyv = 0, Es = 0, xib = 0;
    double betaC = 1;
};

BookMaterials bookMaterials(const kj::CalculationResult& r)
{
    BookMaterials m;
    m.Ec = kj::concreteEc(r.materials.C);
    if (is2010(r)) {
        const kj::gb2010::Rules g = kj::gb2010::makeRules(r.materials.Fy, r.materials.C, r.options.fyv, r.options.floors);
        m.fc = g.concrete.fc;
        m.ft = g.concrete.ft;
        m.fcFlexure = g.concrete.alpha1 * g.concrete.fc;
        m.fy = g.steel.fy;
        m.fyc = g.steel.fyc;
        m.Es = g.steel.Es;
        m.fyv = g.fyv;
        m.xib = g.xib;
        m.betaC = g.concrete.betaC;
    } else {
        const kj::MaterialConstants c = kj::materialConstants(r.materials);
        m.fc = c.fc;
        m.ft = c.ft;
        m.fcFlexure = c.fcf;
        m.fy = m.fyc = c.fy;
        m.fyv = c.fyv;
        m.xib = c.xib;
        // GB 50010 Table 4.2.5: 2.1×10⁵ for plain bars, 2.0×10⁵ for ribbed ones.
        m.Es = c.fy <= 270 ? 2.1e5 : 2.0e5;
    }
    return m;
}

// The title block of the first page.
void titleBlock(Book& book, const kj::CalculationResult& r, const kj::TitleBlock& t, const QString& date)
{
    Table block{{QStringLiteral("工程名称"), QStringLiteral("框架"), QStringLiteral("设计"), QStringLiteral("校对"),
                 QStringLiteral("日期")},
                {{shownName(t.project), shownName(t.frame.empty() ? r.model.name : t.frame), shownName(t.designer),
                  shownName(t.checker), t.date.empty() ? date : shownName(t.date)}},
                {}};
    book.table(block);
    book.space(2);
}

// 1 设计依据
void basisSection(Book& book, const kj::CalculationResult& r, const kj::EnvelopeResult* e,
                  const kj::SeismicAction* seismic, const QString& date)
{
    const kj::FrameModel& m = r.model;
    const kj::DesignOptions& o = r.options;
    book.heading(QString::fromUtf8(kBookSections[0]), true);
    QStringList info;
    info << QStringLiteral("构件名: %1;  数据文件: %2").arg(shownName(m.name), q(kj::clipText(m.fileName, 2 * kShownNameChars)));
    if (m.continuousBeam)
        info << QStringLiteral("结构: %1 跨连续梁 (支座按细长支杆计算, 嵌固端按固定端; 端部嵌固代码 NZ = %2)").arg(m.topo.L).arg(m.NZ);
    else
        info << QStringLiteral("结构: %1 跨 %2 层平面钢筋混凝土框架, 柱底固定").arg(m.topo.L).arg(m.topo.NF);
    if (is2010(r))
        info << QStringLiteral("混凝土结构设计: GB 50010-2010《混凝土结构设计规范》(2015 年版)");
    else
        info << QStringLiteral("混凝土结构设计: 原方法 (程序原有配筋方法: 固定有效高度, 箍筋 fyv = 210 N/mm²)");
    if (e) {
        const QString set = q(e->setTitle);
        if (set.contains(QStringLiteral("55001")))
            info << QStringLiteral("荷载组合: GB 55001-2021《工程结构通用规范》");
        else if (set.contains(QStringLiteral("50009")))
            info << QStringLiteral("荷载组合: GB 50009-2012《建筑结构荷载规范》");
        else
            info << QStringLiteral("荷载组合: 用户自定义组合 (见 5 荷载组合)");
    } else {
        info << QStringLiteral("荷载: 数据文件给出的荷载即设计值, 不再组合");
    }
    if (seismic)
        info << QStringLiteral("地震作用: GB 50011-2010 (2016 年版) 底部剪力法, 设防烈度 %1, 抗震等级 %2 (见地震作用计算)")
                    .arg(q(kj::gb50011::intensityTitle(seismic->params.intensity)), q(kj::gb50011::gradeText(seismic->grade)));
    else
        info << QStringLiteral("地震作用: 未计算 (不按 GB 50011 设计)");
    info << QStringLiteral("结构安全等级: 二级, 结构重要性系数 γ0 = 1.0 (内力未另乘 γ0)");
    if (is2010(r)) {
        const QString env = o.environment == kj::EnvironmentClass::TwoA   ? QStringLiteral("二a")
                            : o.environment == kj::EnvironmentClass::TwoB ? QStringLiteral("二b")
                                                                          : QStringLiteral("一");
        info << QStringLiteral("环境类别: %1类 (GB 50010-2010 表 3.5.2);  保护层 (最外层钢筋, 箍筋外缘) c = %2 mm")
                    .arg(env, q(kj::shortestDecimal(o.cover)));
    } else {
        info << QStringLiteral("环境类别: 原方法不区分;  主筋保护层 c = %1 mm").arg(q(kj::shortestDecimal(o.cover)));
    }
    info << QStringLiteral("梁端负弯矩调幅系数 β = %1").arg(QString::number(o.beta, 'f', 2));
    info << QStringLiteral("梁顶通长筋: %1;  梁底通长筋: %2").arg(barsSetting(o.topBars), barsSetting(o.bottomBars));
    info << QStringLiteral("箍筋: 最少肢数 %1, 起始直径 %2")
                .arg(o.stirrupLegs ? QString::number(*o.stirrupLegs) : QStringLiteral("由程序选定"),
                     o.stirrupDiameter ? q(kj::shortestDecimal(*o.stirrupDiameter)) + QStringLiteral(" mm")
                                       : QStringLiteral("由程序选定"));
    info << QStringLiteral("配筋计算方法: %1;  计算日期: %2").arg(r.rules ? QString::fromUtf8(r.rules->name) : QString(), date);
    book.paragraph(info);
    book.space(3);
}

// 2 材料
void materialsSection(Book& book, const kj::CalculationResult& r)
{
    const BookMaterials mt = bookMaterials(r);
    book.heading(QString::fromUtf8(kBookSections[1]), true);
    const auto e4 = [](double v) { return v > 0 ? QString::number(v / 1e4, 'f', 2) + QStringLiteral("×10⁴") : QStringLiteral("—"); };
    const auto e5 = [](double v) { return QString::number(v / 1e5, 'f', 1) + QStringLiteral("×10⁵"); };
    Table t{{QStringLiteral("材料"), QStringLiteral("牌号"), QStringLiteral("强度设计值 (N/mm²)"), QStringLiteral("弹性模量 (N/mm²)")},
            {},
            {true, false, true, false}};
    QString concrete = QStringLiteral("fc = %1, ft = %2").arg(num(mt.fc, 1), num(mt.ft, 2));
    if (!is2010(r)) concrete += QStringLiteral(";  受弯计算 fcm = 0.48C = %1").arg(num(mt.fcFlexure, 2));
    t.rows.push_back({QStringLiteral("混凝土"), QStringLiteral("C") + q(kj::shortestDecimal(r.materials.C)), concrete,
                      QStringLiteral("Ec = ") + e4(mt.Ec)});
    t.rows.push_back({QStringLiteral("纵向钢筋"), steelGradeName(mt.fy),
                      QStringLiteral("fy = %1, fy′ = %2").arg(num(mt.fy, 0), num(mt.fyc, 0)), QStringLiteral("Es = ") + e5(mt.Es)});
    t.rows.push_back({QStringLiteral("箍筋"), steelGradeName(mt.fyv), QStringLiteral("fyv = %1").arg(num(mt.fyv, 0)),
                      QStringLiteral("Es = ") + e5(mt.fyv <= 270 ? 2.1e5 : 2.0e5)});
    book.table(t);
    book.note({QStringLiteral("相对界限受压区高度 ξb = %1。钢筋直径前的 Φ 表示钢筋, 牌号见上表。").arg(num(mt.xib, 3))});
    book.space(2);
}

// 3 输入数据
void inputSection(Book& book, const kj::CalculationResult& r, const kj::FrameData& data)
{
    const kj::FrameModel& m = r.model;
    const kj::FrameTopology& t = m.topo;
    book.heading(QString::fromUtf8(kBookSections[2]), true);
    book.heading(QStringLiteral("3.1 数据文件"), false);
    // The echo of records 1 to 5 as the report writes it, without its title line.
    kj::ReportWriter echo;
    kj::writeEcho(echo, data, "", "");
    QStringList echoLines = q(echo.str()).split(QStringLiteral("\r\n"));
    while (!echoLines.isEmpty() && (echoLines.front().trimmed().isEmpty() || echoLines.front().contains(QStringLiteral("*******"))))
        echoLines.removeFirst();
    book.lines(echoLines, book.mono_);
    book.space(2);

    book.heading(QStringLiteral("3.2 跨度和层高"), false);
    Table spans{{QStringLiteral("跨号"), QStringLiteral("跨度 (m)"), QStringLiteral("轴线坐标 (m)")}, {}, {}};
    for (int k = 1; k <= t.L; ++k)
        spans.rows.push_back({QString::number(k), fixed(m.x[ix(k)] - m.x[ix(k - 1)], 2),
                              fixed(m.x[ix(k - 1)], 2) + QStringLiteral(" ~ ") + fixed(m.x[ix(k)], 2)});
    book.table(spans);
    if (!m.continuousBeam) {
        Table storeys{{storeyHeading(), QStringLiteral("层高 (m)"), QStringLiteral("层顶标高 (m)")}, {}, {}};
        for (int J = t.NF; J >= 1; --J)
            storeys.rows.push_back({QString::number(t.fromGround(J)), fixed(m.y[ix(J)] - m.y[ix(J + 1)], 2), fixed(m.y[ix(J)], 2)});
        book.table(storeys);
    }

    book.heading(QStringLiteral("3.3 构件和截面"), false);
    Table members{{QStringLiteral("构件"), QStringLiteral("所在层 (自下而上)"), QStringLiteral("跨号 / 轴线"), QStringLiteral("节点"),
                   QStringLiteral("长度 (m)"), QStringLiteral("b×h (mm)")},
                  {},
                  {true, false, false, false, false, false}};
    const auto mm = [](double v) { return QString::number(std::lround(v * 1000)); };
    for (int i = 1; i <= t.memberCount(); ++i) {
        const kj::Member& mem = m.member(i);
        if (t.isBeam(i)) {
            members.rows.push_back({QStringLiteral("梁 %1").arg(i), QString::number(t.fromGround(t.beamStorey(i))),
                                    QString::number(t.beamSpan(i)),
                                    QStringLiteral("%1-%2").arg(t.leftNode(i)).arg(t.rightNode(i)), fixed(mem.len, 2),
                                    mm(mem.b) + QStringLiteral("×") + mm(mem.h)});
        } else if (!m.continuousBeam) {
            const int c = i - t.NB;
            members.rows.push_back({QStringLiteral("柱 %1").arg(c), QString::number(t.fromGround(t.columnStorey(c))),
                                    QString::number(t.columnLine(c) + 1),
                                    QStringLiteral("%1-%2").arg(t.topNode(c)).arg(t.bottomNode(c)), fixed(mem.len, 2),
                                    mm(mem.b) + QStringLiteral("×") + mm(mem.h)});
        }
    }
    book.table(members);
    book.note({QStringLiteral("所在层自下而上, 1 = 底层; 节点和构件则自顶层起逐层自左向右编号, 0 表示柱底的固定端。")});
    book.space(2);
}

// The loads of one calculation in words: every beam, every joint, every floor.
void loadTables(Book& book, const kj::CalculationResult& r)
{
    const kj::FrameTopology& t = r.topo();
    const kj::InternalForces& f = r.forces;
    Table loads{{QStringLiteral("梁号"), QStringLiteral("荷载项"), QStringLiteral("荷载")}, {}, {false, true, true}};
    for (int i = 1; i <= t.NB; ++i) {
        QStringList parts;
        const double len = f.along.size() > ix(i) ? f.along[ix(i)].length : 0;
        for (const kj::MemberForces::Load& l : f.along[ix(i)].loads) {
            if (l.w == 0) continue;
            if (l.x1 > l.x0) {
                if (l.x0 <= 1e-9 && l.x1 >= len - 1e-9)
                    parts << QStringLiteral("全跨均布荷载 q = %1 kN/m").arg(fixed(l.w, 2));
                else
                    parts << QStringLiteral("距左端 %1~%2 m 均布荷载 q = %3 kN/m").arg(fixed(l.x0, 2), fixed(l.x1, 2), fixed(l.w, 2));
            } else {
                parts << QStringLiteral("距左端 %1 m 集中力 P = %2 kN").arg(fixed(l.x0, 2), fixed(l.w, 2));
            }
        }
        loads.rows.push_back({QString::number(i), q(r.model.spanItems[ix(i)]),
                              parts.isEmpty() ? QStringLiteral("无") : parts.join(QLatin1Char('\n'))});
    }
    book.table(loads);
    book.note({QStringLiteral("竖向荷载向下为正。")});
    QStringList joints;
    for (int n = 1; n <= t.NC; ++n) {
        if (f.jointForce[ix(n)] != 0)
            joints << QStringLiteral("节点 %1: 竖向集中力 F = %2 kN (向下为正)").arg(n).arg(fixed(f.jointForce[ix(n)], 2));
        if (f.jointMoment[ix(n)] != 0)
            joints << QStringLiteral("节点 %1: 节点弯矩 M = %2 kN·m (逆时针为正)").arg(n).arg(fixed(f.jointMoment[ix(n)], 2));
    }
    if (!joints.isEmpty()) book.paragraph(joints);
    if (r.model.continuousBeam) return;
    bool any = false;
    for (int J = 1; J <= t.NF; ++J) any = any || f.storeyShear[ix(J)] != 0;
    if (!any) {
        book.paragraph({QStringLiteral("无水平荷载。")});
        return;
    }
    Table floors{{storeyHeading(), QStringLiteral("楼面水平力 F (kN, 向右为正)"), QStringLiteral("层间剪力 V (kN)")}, {}, {}};
    for (int J = t.NF; J >= 1; --J)
        floors.rows.push_back({QString::number(t.fromGround(J)), fixed(floorForce(f, J), 2), fixed(f.storeyShear[ix(J)], 2)});
    book.table(floors);
    book.note({QStringLiteral("楼面水平力作用于该层顶; 层间剪力为其上各层水平力之和 (数据文件给出层间剪力)。")});
}

// 5 荷载组合
void combinationsSection(Book& book, const kj::EnvelopeResult* e)
{
    book.heading(QString::fromUtf8(kBookSections[4]), true);
    if (!e) {
        book.paragraph({QStringLiteral("单一荷载情况: 数据文件中的荷载即为设计值, 不作荷载组合; 各构件按其内力设计。")});
        return;
    }
    book.paragraph({QStringLiteral("组合: %1, 共 %2 个; 梁支座按各组合的最大负弯矩和最大剪力、跨中按最大正弯矩设计, "
                                   "柱端按每一组合的 (M, N) 设计并取钢筋最多者。恒载和活载的支座弯矩先调幅再组合, 风载不调幅。")
                        .arg(q(e->setTitle))
                        .arg(e->combinations.size())});
    // The right wind W2 gets a column of its own when it is given.
    const bool secondWind = std::any_of(e->cases.begin(), e->cases.end(),
                                        [](const kj::LoadCaseResult& c) { return c.kind == kj::LoadCaseKind::W2; });
    Table t{{QStringLiteral("序号"), QStringLiteral("组合"), QStringLiteral("恒载 G"), QStringLiteral("活载 Q"),
             QStringLiteral("风载 W (负为右风)")},
            {},
            {false, true}};
    if (secondWind) t.headers << QStringLiteral("风载 W2 (右风)");
    for (std::size_t k = 0; k < e->combinations.size(); ++k) {
        const kj::Combination& c = e->combinations[k].combination;
        QStringList row{QString::number(k + 1), q(c.name)};
        for (kj::LoadCaseKind kind : kj::kLoadCaseKinds)
            if (kind != kj::LoadCaseKind::W2 || secondWind)
                row << (c.uses(kind) ? QString::number(c.factor(kind), 'f', 2) : QStringLiteral("—"));
        t.rows.push_back(row);
    }
    book.table(t);
}

// 6 内力: the end forces of every member of one state of equilibrium.
Table endForceTable(const kj::CalculationResult& r)
{
    const kj::FrameTopology& t = r.topo();
    const kj::InternalForces& f = r.forces;
    Table tab{{QStringLiteral("构件"), QStringLiteral("M1"), QStringLiteral("M2"), QStringLiteral("V1"), QStringLiteral("V2"),
               QStringLiteral("Mo"), QStringLiteral("x (m)"), QStringLiteral("N 顶"), QStringLiteral("N 底")},
              {},
              {true}};
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (t.isBeam(i)) {
            tab.rows.push_back({QStringLiteral("梁 %1").arg(i), fixed(f.M1[ix(i)], 2), fixed(f.M2[ix(i)], 2),
                                fixed(f.V1[ix(i)], 2), fixed(f.V2[ix(i)], 2), fixed(f.Mo[ix(i)], 2), fixed(f.X[ix(i)], 2),
                                QString(), QString()});
        } else if (!r.model.continuousBeam) {
            const kj::MemberForces& a = f.along[ix(i)];
            tab.rows.push_back({QStringLiteral("柱 %1").arg(i - t.NB), fixed(f.M1[ix(i)], 2), fixed(f.M2[ix(i)], 2),
                                fixed(a.V1, 2), fixed(a.V1, 2), QString(), QString(), fixed(a.N1, 2), fixed(a.N2, 2)});
        }
    }
    return tab;
}

// The envelope's design forces, each with the combination that governs it.
Table envelopeForceTable(const kj::EnvelopeResult& e)
{
    const kj::CalculationResult& r = e.envelope;
    const kj::FrameTopology& t = r.topo();
    const auto name = [&](const kj::Governing& k) { return q(e.name(k)); };
    Table tab{{QStringLiteral("构件"), QStringLiteral("位置"), QStringLiteral("M (kN·m)"), QStringLiteral("V (kN)"),
               QStringLiteral("N (kN)"), QStringLiteral("控制组合")},
              {},
              {true, true, false, false, false, true}};
    for (int i = 1; i <= t.NB; ++i) {
        const kj::BeamGoverning& g = e.beamGoverning[ix(i)];
        const kj::BeamDesignForces& lm = g.leftMomentForces;
        const kj::BeamDesignForces& lv = g.leftShearForces;
        const kj::BeamDesignForces& rm = g.rightMomentForces;
        const kj::BeamDesignForces& rv = g.rightShearForces;
        const kj::BeamDesignForces& sp = g.spanForces;
        const QString b = QStringLiteral("梁 %1").arg(i);
        tab.rows.push_back({b, QStringLiteral("左端 M"), fixed(lm.M1, 2), fixed(lm.V1, 2), QString(), name(g.leftMoment)});
        tab.rows.push_back({b, QStringLiteral("左端 V"), fixed(lv.M1, 2), fixed(lv.V1, 2), QString(), name(g.leftShear)});
        tab.rows.push_back({b, QStringLiteral("右端 M"), fixed(rm.M2, 2), fixed(rm.V2, 2), QString(), name(g.rightMoment)});
        tab.rows.push_back({b, QStringLiteral("右端 V"), fixed(rv.M2, 2), fixed(rv.V2, 2), QString(), name(g.rightShear)});
        tab.rows.push_back({b, QStringLiteral("跨中 x=%1 m").arg(fixed(sp.x, 2)), fixed(sp.Mo, 2), QString(), QString(),
                            name(g.span)});
    }
    if (r.model.continuousBeam) return tab;
    for (int c = 1; c <= t.NC; ++c) {
        const kj::ColumnGoverning& g = e.columnGoverning[ix(c)];
        const int i = t.columnMember(c);
        const QString col = QStringLiteral("柱 %1").arg(c);
        // The column's shear from its end moments.
        const auto shear = [&](const kj::ColumnDesignForces& d) {
            return fixed(-(d.Mtop + d.Mbottom) / r.model.member(i).len, 2);
        };
        const kj::ColumnDesignForces& top = g.topForces;
        const kj::ColumnDesignForces& foot = g.bottomForces;
        tab.rows.push_back({col, QStringLiteral("柱顶"), fixed(top.Mtop, 2), shear(top), fixed(top.Ntop, 2), name(g.top)});
        tab.rows.push_back({col, QStringLiteral("柱底"), fixed(foot.Mbottom, 2), shear(foot), fixed(foot.Nfoot, 2),
                            name(g.bottom)});
    }
    return tab;
}

// 7 配筋: the report's beam and column tables, number for number, then the
// bars in the notation of drawings.
void designSection(Book& book, const kj::CalculationResult& r, const kj::EnvelopeResult* e)
{
    const kj::FrameTopology& t = r.topo();
    book.heading(QString::fromUtf8(kBookSections[6]), true);
    book.paragraph({QStringLiteral("Fy = %1 N/mm²,  C%2;  弯矩 kN·m, 剪力 kN, 钢筋面积 mm², 剪折点 m")
                        .arg(reportValue(r.materials.Fy), reportValue(r.materials.C))});
    // With load cases, the governing combination of every designed value, row for row beside the report's table.
    const auto name = [&](const kj::Governing& k) { return q(e->name(k)); };
    Table beamGov{{QStringLiteral("梁号"), QStringLiteral("左 M"), QStringLiteral("左 V"), QStringLiteral("右 M"),
                   QStringLiteral("右 V"), QStringLiteral("跨中 Mo")},
                  {},
                  {}};
    Table colGov{{QStringLiteral("柱号"), QStringLiteral("柱顶 M1, N1"), QStringLiteral("柱底 M2, N2")}, {}, {}};
    book.heading(QStringLiteral("7.1 梁"), false);
    Table beams{{QStringLiteral("梁号"), QStringLiteral("左 M"), QStringLiteral("左 V"), QStringLiteral("左 As"),
                 QStringLiteral("左 Asv"), QStringLiteral("右 M"), QStringLiteral("右 V"), QStringLiteral("右 As"),
                 QStringLiteral("右 Asv"), QStringLiteral("Mo"), QStringLiteral("剪折点"), QStringLiteral("跨中 As"),
                 QStringLiteral("As'")},
                {},
                {}};
    Table bars{{QStringLiteral("梁号"), QStringLiteral("左支座预配钢筋"), QStringLiteral("右支座预配钢筋"),
                QStringLiteral("跨中预配钢筋")},
               {},
               {false, true, true, true}};
    Table drawn{{QStringLiteral("梁号"), QStringLiteral("左支座上部"), QStringLiteral("右支座上部"), QStringLiteral("跨中下部"),
                 QStringLiteral("箍筋 左 / 右")},
                {},
                {false, true, true, true, true}};
    QStringList skipped;
    for (int i = 1; i <= t.NB; ++i) {
        const kj::BeamDesign& b = r.beams[ix(i)];
        if (!b.designed) {
            skipped << QStringLiteral("第 %1 号梁: %2").arg(i).arg(q(b.skipReason));
            continue;
        }
        beams.rows.push_back({QString::number(i), whole(b.left.M), whole(b.left.V), whole(b.left.As), q(b.left.stirrupString),
                              whole(b.right.M), whole(b.right.V), whole(b.right.As), q(b.right.stirrupString),
                              whole(b.span.M), hundredths(b.span.x), whole(b.span.As), whole(b.span.AsComp)});
        if (e) {
            const kj::BeamGoverning& g = e->beamGoverning[ix(i)];
            beamGov.rows.push_back({QString::number(i), name(g.leftMoment), name(g.leftShear), name(g.rightMoment),
                                    name(g.rightShear), name(g.span)});
        }
        bars.rows.push_back({QString::number(i), q(b.left.barString), q(b.right.barString), q(b.span.barString)});
        drawn.rows.push_back({QString::number(i), barNotation(b.left, false), barNotation(b.right, false),
                              barNotation(b.span, true),
                              stirrupNotation(b.left.stirrups) + QStringLiteral(" / ") + stirrupNotation(b.right.stirrups)});
    }
    book.table(beams);
    if (e) {
        book.note({QStringLiteral("上表各设计值的控制组合:")});
        book.table(beamGov);
    }
    book.note({QStringLiteral("预配钢筋 (计算书原格式): 通长筋根数,直径+附加筋根数,直径 第一排/第二排根数; 箍筋: 肢数*直径@间距 (mm)。"
                              "As = 9999 或箍筋 32@50 表示截面不足。")});
    book.table(bars);
    book.note({QStringLiteral("按施工图表示法: 纵筋 %1, 箍筋 %2; 两排时注上排/下排根数; 箍筋 Φ直径@间距(肢数)。")
                   .arg(steelGradeName(r.materials.Fy), steelGradeName(stirrupStrength(r)))});
    book.table(drawn);
    if (!skipped.isEmpty()) book.note(skipped);
    if (!r.model.continuousBeam) {
        book.heading(QStringLiteral("7.2 柱"), false);
        Table cols{{QStringLiteral("柱号"), QStringLiteral("M1"), QStringLiteral("N1"), QStringLiteral("As"),
                    QStringLiteral("As'"), QStringLiteral("M2"), QStringLiteral("N2"), QStringLiteral("As"),
                    QStringLiteral("As'")},
                   {},
                   {}};
        QStringList colSkipped;
        for (int c = 1; c <= t.NC; ++c) {
            const kj::ColumnDesign& d = r.columns[ix(c)];
            if (!d.designed) {
                colSkipped << QStringLiteral("第 %1 号柱: %2").arg(c).arg(q(d.skipReason));
                continue;
            }
            cols.rows.push_back({QString::number(c), whole(d.top.M), whole(d.top.N), whole(d.top.As), whole(d.top.As),
                                 whole(d.bottom.M), whole(d.bottom.N), whole(d.bottom.As), whole(d.bottom.As)});
            if (e) {
                const kj::ColumnGoverning& g = e->columnGoverning[ix(c)];
                colGov.rows.push_back({QString::number(c), name(g.top), name(g.bottom)});
            }
        }
        book.table(cols);
        book.note({QStringLiteral("1 为柱顶, 2 为柱底; 对称配筋, As = As' 为每侧钢筋面积。")});
        if (e) {
            book.note({QStringLiteral("上表各柱端的控制组合 (钢筋最多者):")});
            book.table(colGov);
        }
        if (!colSkipped.isEmpty()) book.note(colSkipped);
    }
    book.drawing(QStringLiteral("7.3 配筋图"), Layer::Reinforcement);
}

// 8 构件设计: the formulas with the numbers of one beam section.
QStringList beamSectionFormulas(const kj::CalculationResult& r, const BookMaterials& mt, const kj::BeamDesign& b,
                                const kj::BeamSectionDesign& s, bool support, QStringList& failures, const QString& who)
{
    QStringList out;
    const double M = std::fabs(s.M), h0 = s.h0, bw = b.b, h = b.h;
    const bool code2010 = is2010(r);
    const QString fcName = code2010 ? QStringLiteral("α1·fc") : QStringLiteral("fcm");
    if (s.failed()) {
        out << QStringLiteral("M = %1 kN·m: 截面不足, As = 9999 (不满足)").arg(num(M, 1));
        failures << who + QStringLiteral(" 受弯截面不足");
        return out;
    }
    const double alphaS = h0 > 0 ? M * 1e6 / (mt.fcFlexure * bw * h0 * h0) : 0;
    out << QStringLiteral("M = %1 kN·m, b×h = %2×%3 mm, h0 = %4 mm").arg(num(M, 1), num(bw, 0), num(h, 0), num(h0, 0));
    if (s.AsComp > 0) {
        out << QStringLiteral("αs = M/(%1·b·h0²) = %2 > αs,max: ξ > ξb = %3, 配受压钢筋 As′ = %4 mm², As = %5 mm²")
                   .arg(fcName, num(alphaS, 3), num(mt.xib, 3), whole(s.AsComp), whole(s.As));
    } else {
        // ξ of the flexure at the final h0 (a seismic beam end records the ξ
        // of GB 50010 11.3.1 with its compression steel instead).
        const double xi = alphaS < 0.5 ? 1 - std::sqrt(1 - 2 * alphaS) : 1;
        const double AsCalc = mt.fcFlexure * bw * xi * h0 / mt.fy;
        out << QStringLiteral("αs = M/(%1·b·h0²) = %2×10⁶/(%3×%4×%5²) = %6")
                   .arg(fcName, num(M, 1), num(mt.fcFlexure, 2), num(bw, 0), num(h0, 0), num(alphaS, 3));
        out << QStringLiteral("ξ = 1 − √(1 − 2αs) = %1 ≤ ξb = %2  满足").arg(num(xi, 3), num(mt.xib, 3)) +
                   (code2010 ? QStringLiteral(";  x = ξ·h0 = %1 mm").arg(num(xi * h0, 1)) : QString());
        out << QStringLiteral("As = %1·b·ξ·h0/fy = %2×%3×%4×%5/%6 = %7 mm²")
                   .arg(fcName, num(mt.fcFlexure, 2), num(bw, 0), num(xi, 3), num(h0, 0), num(mt.fy, 0), whole(AsCalc));
    }
    const double rhoMin = code2010 ? std::max(0.002, 0.45 * mt.ft / mt.fy) : 0.002;
    const double AsMin = code2010 ? rhoMin * bw * h : rhoMin * bw * h0;
    const bool minOk = s.As + 0.5 >= AsMin;
    if (!s.governs.empty()) out << QStringLiteral("控制: %1").arg(q(s.governs));
    out << QStringLiteral("ρmin = %1 %, As,min = %2 mm²;  取 As = %3 mm² (%4)  %5")
               .arg(num(rhoMin * 100, 3), whole(AsMin), whole(s.As), barNotation(s, !support),
                    minOk ? QStringLiteral("满足") : QStringLiteral("不满足"));
    if (!minOk) failures << who + QStringLiteral(" 配筋率低于最小配筋率");
    if (!support) return out;
    // Shear.
    const double V = std::fabs(s.V);
    const double h0v = code2010 ? h0 : (V > 0.5 * h ? h - 60 : h - 35);
    const double limitFactor = code2010 ? 0.25 * mt.betaC : 0.25;
    const double limit = limitFactor * mt.fc * bw * h0v / 1000;
    // 6.3.4: αcv = 0.7 for a general beam (the record's where it gives one).
    const double alphaCv = s.alphaCv > 0 ? s.alphaCv : 0.7;
    const double Vc = alphaCv * mt.ft * bw * h0v / 1000;
    out << QStringLiteral("V = %1 kN;  截面限制 %2·fc·b·h0 = %3 kN  %4")
               .arg(num(V, 1), code2010 ? QStringLiteral("0.25βc") : QStringLiteral("0.25"), num(limit, 1),
                    s.shearFailed() ? QStringLiteral("不满足 (截面不足)") : QStringLiteral("满足"));
    if (s.shearFailed()) {
        failures << who + QStringLiteral(" 受剪截面不足");
        return out;
    }
    const QString denominator = code2010 ? QStringLiteral("fyv·h0") : QStringLiteral("1.25·fyv·h0");
    if (V > Vc)
        out << QStringLiteral("Vc = %1·ft·b·h0 = %2 kN < V;  Asv/s = (V − Vc)/(%3) = %4 mm²/mm")
                   .arg(num(alphaCv, 2), num(Vc, 1), denominator,
                        num((V - Vc) * 1000 / ((code2010 ? 1.0 : 1.25) * mt.fyv * h0v), 3));
    else
        out << QStringLiteral("Vc = %1·ft·b·h0 = %2 kN ≥ V: 箍筋按构造").arg(num(alphaCv, 2), num(Vc, 1));
    if (s.asvs > 0)
        out << QStringLiteral("取 Asv/s = %1 mm²/mm (含最小配箍率);  箍筋 %2").arg(num(s.asvs, 2), stirrupNotation(s.stirrups));
    else
        out << QStringLiteral("箍筋按构造 (最大间距、最小直径): %1").arg(stirrupNotation(s.stirrups));
    return out;
}

QStringList columnEndFormulas(const kj::CalculationResult& r, const BookMaterials& mt, const kj::ColumnDesign& d,
                              const kj::ColumnEndDesign& e, bool top, QStringList& failures, const QString& who,
                              bool seismic)
{
    QStringList out;
    const bool code2010 = is2010(r);
    out << QStringLiteral("%1: M = %2 kN·m, N = %3 kN, b×h = %4×%5 mm, l0 = %6 m")
               .arg(top ? QStringLiteral("柱顶") : QStringLiteral("柱底"), num(std::fabs(e.M), 1), num(e.N, 1),
                    num(d.b, 0), num(d.h, 0), num(d.l0, 2));
    if (code2010) {
        out << QStringLiteral("Cm = %1, ηns = %2 (本端 Cm·ηns = %3);  ηs = %4;  h0 = %5 mm")
                   .arg(num(e.Cm, 3), num(e.etaNs, 3), num(e.eta, 3), num(e.etaS, 3), num(e.h0 > 0 ? e.h0 : d.h - 40, 0));
        out << QStringLiteral("e0 = M/N = %1 mm;  ea = max(20, h/30) = %2 mm;  ei = e0 + ea = %3 mm")
                   .arg(num(e.e0, 1), num(e.ea, 1), num(e.ei, 1));
    }
    else
        out << QStringLiteral("e0 = M/N = %1 mm;  ei = %2 mm;  η = %3;  η·ei = %4 mm")
                   .arg(num(e.e0, 1), num(e.ei, 1), num(e.eta, 3), num(e.eta * e.ei, 1));
    out << QStringLiteral("ξ = %1 (%2 ξb = %3: %4)")
               .arg(num(e.xi, 3), e.xi <= mt.xib ? QStringLiteral("≤") : QStringLiteral(">"), num(mt.xib, 3),
                    !e.eccentricity.empty() ? q(e.eccentricity)
                    : e.xi <= mt.xib        ? QStringLiteral("大偏心受压")
                                            : QStringLiteral("小偏心受压"));
    if (!e.governs.empty()) out << QStringLiteral("控制: %1").arg(q(e.governs));
    const double axial = e.axialRatio > 0 ? e.axialRatio : mt.fc > 0 ? e.N * 1000 / (mt.fc * d.b * d.h) : 0;
    out << (seismic ? QStringLiteral("轴压比 N/(fc·b·h) = %1 (本端控制组合; 地震组合的轴压比及其限值见下)")
                    : QStringLiteral("轴压比 N/(fc·b·h) = %1 (未计地震作用, 不设限值)"))
               .arg(num(axial, 3));
    if (e.failed()) {
        out << QStringLiteral("As = As′ = 9999: %1  不满足").arg(e.failure.empty() ? QStringLiteral("截面不足") : q(e.failure));
        failures << who + (top ? QStringLiteral(" 柱顶") : QStringLiteral(" 柱底")) + QStringLiteral(" 截面不足");
        return out;
    }
    const double rho = 2 * e.As / (d.b * d.h);
    out << QStringLiteral("每侧 As = As′ = %1 mm², 全部纵筋配筋率 %2 %  满足").arg(whole(e.As), num(rho * 100, 2));
    return out;
}

void memberDesignSection(Book& book, const kj::CalculationResult& r, const kj::EnvelopeResult* e, bool every,
                         QStringList& failures)
{
    const kj::FrameTopology& t = r.topo();
    const BookMaterials mt = bookMaterials(r);
    book.heading(QString::fromUtf8(kBookSections[7]), true);
    book.note({every ? QStringLiteral("每根梁的两支座和跨中、每根柱的两端均列出计算过程。")
                     : QStringLiteral("每根梁列出钢筋最多的截面, 每根柱列出钢筋较多的一端; 其余截面见 7 配筋。")});
    for (int i = 1; i <= t.NB; ++i) {
        const kj::BeamDesign& b = r.beams[ix(i)];
        if (!b.designed) continue;
        const QString who = QStringLiteral("梁 %1").arg(i);
        struct Section {
            const kj::BeamSectionDesign* s;
            bool support;
            QString name;
        };
        std::vector<Section> sections{{&b.left, true, QStringLiteral("左支座")},
                                      {&b.right, true, QStringLiteral("右支座")},
                                      {&b.span, false, QStringLiteral("跨中")}};
        if (e) {
            // The combination each section's moment (and a support's shear) comes from.
            const kj::BeamGoverning& g = e->beamGoverning[ix(i)];
            const auto named = [&](const kj::Governing& m, const kj::Governing& v) {
                return m == v ? QStringLiteral(" (控制组合 %1)").arg(q(e->name(m)))
                              : QStringLiteral(" (M: %1, V: %2)").arg(q(e->name(m)), q(e->name(v)));
            };
            sections[0].name += named(g.leftMoment, g.leftShear);
            sections[1].name += named(g.rightMoment, g.rightShear);
            sections[2].name += QStringLiteral(" (控制组合 %1)").arg(q(e->name(g.span)));
        }
        QStringList lines;
        // Each section is checked; only the governing one (or all) is written out.
        std::size_t governing = 0;
        for (std::size_t k = 1; k < sections.size(); ++k)
            if (sections[k].s->As > sections[governing].s->As) governing = k;
        for (std::size_t k = 0; k < sections.size(); ++k) {
            QStringList f = beamSectionFormulas(r, mt, b, *sections[k].s, sections[k].support, failures,
                                                who + QLatin1Char(' ') + sections[k].name);
            if (!every && k != governing) continue;
            lines << who + QLatin1Char(' ') + sections[k].name + (every ? QString() : QStringLiteral(" 控制截面"));
            for (const QString& l : f) lines << QStringLiteral("    ") + l;
        }
        for (const std::string& note : b.notes) lines << QStringLiteral("    ") + q(note);
        book.paragraph(lines);
    }
    if (r.model.continuousBeam) return;
    // The axial compression ratio of the seismic combinations against the
    // grade's limit (GB 50011-2010 Table 6.3.6).
    const std::vector<kj::AxialRatioCheck> ratios = e ? kj::axialRatioChecks(*e) : std::vector<kj::AxialRatioCheck>{};
    for (int c = 1; c <= t.NC; ++c) {
        const kj::ColumnDesign& d = r.columns[ix(c)];
        if (!d.designed) continue;
        const QString who = QStringLiteral("柱 %1").arg(c);
        const bool topGoverns = d.top.As >= d.bottom.As;
        QStringList lines{who};
        if (!d.tieString.empty())
            lines << QStringLiteral("    V = %1 kN, Hn = %2 m;  箍筋 Asv/s = %3 mm²/mm, 取 %4%5")
                         .arg(num(d.V, 1), num(d.lc, 2), num(d.tieAsvs, 3), q(d.tieString),
                              d.tieTooSmall ? QStringLiteral("  受剪截面不足") : QString());
        if (d.tieTooSmall) failures << who + QStringLiteral(" 受剪截面不足");
        for (bool top : {true, false}) {
            QStringList f = columnEndFormulas(r, mt, d, top ? d.top : d.bottom, top, failures, who, !ratios.empty());
            if (!every && top != topGoverns) continue;
            if (e) {
                const kj::ColumnGoverning& g = e->columnGoverning[ix(c)];
                f.front() += QStringLiteral(" (控制组合 %1)").arg(q(e->name(top ? g.top : g.bottom)));
            }
            for (const QString& l : f) lines << QStringLiteral("    ") + l;
        }
        if (ix(c) < ratios.size()) {
            const kj::AxialRatioCheck& a = ratios[ix(c)];
            lines << QStringLiteral("    地震组合轴压比 μN = N/(fc·A) = %1 %2 [μN] = %3 (表 6.3.6%4): %5")
                         .arg(num(a.ratio, 3), a.ok ? QStringLiteral("≤") : QStringLiteral(">"), num(a.limit, 2),
                              a.combination >= 0 ? QStringLiteral(", 组合 ") + q(e->name(a.combination)) : QString(),
                              a.ok ? QStringLiteral("满足") : QStringLiteral("不满足"));
            if (!a.ok) failures << who + QStringLiteral(" 轴压比超限");
        }
        for (const std::string& note : d.notes) lines << QStringLiteral("    ") + q(note);
        book.paragraph(lines);
    }
}

// The largest end force of the members as drawn: a continuous beam's props
// (a clamped end's massive prop above all) are supports, not members.
double largestMemberForce(const kj::CalculationResult& r)
{
    const kj::FrameTopology& t = r.topo();
    const kj::InternalForces& f = r.forces;
    double most = 0;
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!t.isBeam(i) && r.model.continuousBeam) continue;
        most = std::max({most, std::fabs(f.M1[ix(i)]), std::fabs(f.M2[ix(i)])});
        if (t.isBeam(i)) most = std::max({most, std::fabs(f.V1[ix(i)]), std::fabs(f.V2[ix(i)])});
        else if (f.along.size() > ix(i))
            most = std::max({most, std::fabs(f.along[ix(i)].V1), std::fabs(f.along[ix(i)].N1), std::fabs(f.along[ix(i)].N2)});
    }
    return most;
}

// 9 平衡校核
// From load cases, every case is checked (caption: the case), under one heading.
void equilibriumSection(Book& book, const kj::CalculationResult& r, const QString& caption = QString(),
                        bool first = true)
{
    const kj::EquilibriumResiduals& e = r.residuals;
    const kj::FrameTopology& t = r.topo();
    const auto sci = [](double v) { return QString::number(v, 'e', 2); };
    if (first) {
        book.heading(QString::fromUtf8(kBookSections[8]), true);
        book.paragraph({QStringLiteral("由杆端内力校核平衡, 各残差应为零 (只差舍入):"),
                        QStringLiteral("节点: 交于节点的各杆端弯矩与节点弯矩之和 (kN·m);"),
                        r.model.continuousBeam ? QStringLiteral("竖向: 支座反力之和减去全部竖向荷载 (kN)。")
                                               : QStringLiteral("楼层: 各柱剪力之和减去层间剪力 (kN);"),
                        r.model.continuousBeam ? QString()
                                               : QStringLiteral("竖向: 底层柱轴力之和减去全部竖向荷载和柱自重 (kN)。")});
    }
    if (!caption.isEmpty()) book.heading(caption, false);
    Table joints{{QStringLiteral("节点"), QStringLiteral("弯矩残差 (kN·m)")}, {}, {}};
    for (int n = 1; n <= t.NC; ++n) joints.rows.push_back({QString::number(n), sci(e.joint[ix(n)])});
    book.table(joints);
    if (!r.model.continuousBeam) {
        Table storeys{{storeyHeading(), QStringLiteral("剪力残差 (kN)")}, {}, {}};
        for (int J = t.NF; J >= 1; --J) storeys.rows.push_back({QString::number(t.fromGround(J)), sci(e.storey[ix(J)])});
        book.table(storeys);
    }
    const double largest = largestMemberForce(r);
    const double ratio = largest > 0 ? e.largest() / largest : 0;
    book.paragraph({QStringLiteral("竖向残差: %1 kN").arg(sci(e.vertical)),
                    QStringLiteral("最大残差 %1, 最大杆端内力 %2, 比值 %3").arg(sci(e.largest()), fixed(largest, 2), sci(ratio))});
}

// 10 结论
void conclusionSection(Book& book, const kj::CalculationResult& r, const QStringList& failures, int number)
{
    book.heading(QStringLiteral("%1 结论").arg(number), true);
    QStringList lines;
    const kj::FrameTopology& t = r.topo();
    QStringList skipped;
    for (int i = 1; i <= t.NB; ++i)
        if (!r.beams[ix(i)].designed) skipped << QStringLiteral("梁 %1 未配筋: %2").arg(i).arg(q(r.beams[ix(i)].skipReason));
    for (int c = 1; !r.model.continuousBeam && c <= t.NC; ++c)
        if (!r.columns[ix(c)].designed) skipped << QStringLiteral("柱 %1 未配筋: %2").arg(c).arg(q(r.columns[ix(c)].skipReason));
    if (failures.isEmpty() && skipped.isEmpty()) {
        lines << QStringLiteral("全部梁、柱的各项校核 (最小配筋率、受压区高度、受剪截面限制、柱截面) 均满足。");
    } else {
        lines << QStringLiteral("下列构件的校核不满足, 须修改截面或材料后重新计算:");
        for (const QString& f : failures) lines << QStringLiteral("    ") + f;
        for (const QString& s : skipped) lines << QStringLiteral("    ") + s;
    }
    book.paragraph(lines);
}


// 正常使用极限状态验算 (GB 50010-2010): the report's tables and its worst beam.
void serviceabilitySection(Book& book, const kj::CalculationResult& r, const std::string& quasiPermanent,
                           const std::vector<kj::StoreyDrift>& drifts, int number, QStringList& failures)
{
    book.heading(QStringLiteral("%1 正常使用极限状态验算").arg(number), true);
    book.paragraph({q(kj::serviceabilityTitle(r, quasiPermanent))});
    const QString verdictYes = q(kj::serviceabilityVerdict(true));
    Table cracks{{QStringLiteral("梁号"), QStringLiteral("截面"), QStringLiteral("Mk (kN·m)"), QStringLiteral("Mq (kN·m)"),
                  QStringLiteral("wmax (mm)"), QStringLiteral("wlim (mm)"), QStringLiteral("结论")},
                 {},
                 {false, false, false, false, false, false, true}};
    Table deflections{{QStringLiteral("梁号"), QStringLiteral("挠度 f 及其位置、限值 (表 3.4.3)、长期刚度 B (7.2.1)"), QStringLiteral("结论")},
                      {},
                      {false, true, true}};
    for (int i = 1; i < static_cast<int>(r.beams.size()); ++i) {
        const kj::BeamDesign& d = r.beams[ix(i)];
        if (!d.serviceability) continue;
        const kj::BeamServiceability& s = *d.serviceability;
        for (const kj::CrackRow& c : kj::crackRows(s)) {
            if (!c.checked) {
                cracks.rows.push_back({QString::number(i), q(c.section), reportValue(c.Mk), reportValue(c.Mq),
                                       QStringLiteral("—"), QStringLiteral("—"), QStringLiteral("不验算: ") + q(c.noCheck)});
                continue;
            }
            cracks.rows.push_back({QString::number(i), q(c.section), reportValue(c.Mk), reportValue(c.Mq), reportValue(c.wmax),
                                   reportValue(c.wlim),
                                   q(kj::serviceabilityVerdict(c.passes)) + (c.bottomBars ? q(kj::kBottomBarsNote) : QString())});
            if (!c.passes) failures << QStringLiteral("梁 %1 %2 裂缝宽度超过限值").arg(i).arg(q(c.section));
        }
        if (!s.deflectionChecked) {
            deflections.rows.push_back({QString::number(i), QStringLiteral("不验算: ") + q(s.noDeflection), QString()});
            continue;
        }
        deflections.rows.push_back({QString::number(i), q(kj::deflectionText(s) + "; " + kj::stiffnessText(s)),
                                    q(kj::serviceabilityVerdict(s.deflectionPasses()))});
        if (!s.deflectionPasses()) failures << QStringLiteral("梁 %1 挠度超过限值").arg(i);
    }
    if (!cracks.rows.empty()) {
        book.heading(QStringLiteral("%1.1 裂缝宽度 (7.1.2 条)").arg(number), false);
        book.table(cracks);
        book.heading(QStringLiteral("%1.2 挠度 (7.2 节)").arg(number), false);
        book.table(deflections);
        const kj::ServiceabilityCount c = kj::countFailingBeams(r);
        QStringList lines{QStringLiteral("不满足正常使用要求的梁: %1 / %2").arg(c.failing).arg(c.checked)};
        for (const std::string& l : kj::worstBeamFormulas(r)) lines << q(l);
        book.paragraph(lines);
    }
    if (drifts.empty()) return;
    book.heading(QStringLiteral("%1.3 风荷载标准值作用下的层间位移").arg(number), false);
    book.note({QStringLiteral("限值 Δ/h ≤ 1/550; ") + q(kj::kStoreysFromGround) + QStringLiteral("。")});
    Table t{{QStringLiteral("层号"), QStringLiteral("层高 (m)"), QStringLiteral("Δ (mm)"), QStringLiteral("Δ/h"), QStringLiteral("结论")},
            {},
            {}};
    for (const kj::StoreyDrift& s : drifts) {
        t.rows.push_back({QString::number(s.storey), hundredths(s.height), hundredths(s.drift), q(kj::storeyDriftRatioText(s)),
                          s.passes() ? verdictYes : q(kj::serviceabilityVerdict(false))});
        if (!s.passes()) failures << QStringLiteral("第 %1 层 (自下而上) 风荷载下层间位移角超过 1/550").arg(s.storey);
    }
    book.table(t);
}

// Lays out the whole book.
void layoutBook(Book& book, const kj::CalculationResult& r, const kj::FrameData& data, const BookOptions& options,
                const QString& date)
{
    const QString name = shownName(r.model.name);
    book.title(name + QStringLiteral(" 框架内力及配筋计算书"));
    titleBlock(book, r, options.title, date);
    const kj::EnvelopeResult* e = options.envelope;
    basisSection(book, r, e, options.seismic, date);
    materialsSection(book, r);
    // From load cases the input is the dead load's: the envelope carries no loads.
    inputSection(book, e ? e->cases.front().result : r, data);
    book.drawing(QStringLiteral("3.4 计算简图"), Layer::Geometry);

    book.newPage();
    book.heading(QString::fromUtf8(kBookSections[3]), true);
    const auto ofCase = [&](std::size_t k) {
        auto fp = std::make_shared<FramePainter>(e->cases[k].result);
        fp->setCaption(shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)}));
        return fp;
    };
    if (!e) {
        loadTables(book, r);
        book.drawing(QStringLiteral("4.1 荷载图"), Layer::Loads);
    }
    for (std::size_t k = 0; e && k < e->cases.size(); ++k) {
        const QString c = shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)});
        book.heading(QStringLiteral("4.%1 %2").arg(k + 1).arg(c), false);
        loadTables(book, e->cases[k].result);
        book.drawing(QStringLiteral("荷载图 (%1)").arg(c), Layer::Loads, ofCase(k));
    }
    combinationsSection(book, e);

    book.newPage();
    book.heading(QString::fromUtf8(kBookSections[5]), true);
    int n = 1;
    if (e) {
        auto envelope = std::make_shared<FramePainter>(r, e);
        envelope->setCaption(QStringLiteral("包络"));
        book.drawing(QStringLiteral("6.%1 弯矩包络图").arg(n++), Layer::Moment, envelope);
        book.drawing(QStringLiteral("6.%1 剪力包络图").arg(n++), Layer::Shear, envelope);
        for (std::size_t k = 0; k < e->cases.size(); ++k)
            book.drawing(QStringLiteral("6.%1 弯矩图 (%2)").arg(n++).arg(shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)})),
                         Layer::Moment, ofCase(k));
        book.heading(QStringLiteral("6.%1 设计内力及控制组合").arg(n), false);
        book.note({QStringLiteral("各截面的设计内力取自其控制组合 (梁端弯矩已调幅); 弯矩以顺时针为正, kN·m; 剪力 kN; "
                                  "柱轴力压力为正, kN。")});
        book.table(envelopeForceTable(*e));
    } else {
        book.drawing(QStringLiteral("6.%1 弯矩图").arg(n++), Layer::Moment);
        book.drawing(QStringLiteral("6.%1 剪力图").arg(n++), Layer::Shear);
        book.drawing(r.model.continuousBeam ? QStringLiteral("6.%1 支座反力").arg(n++) : QStringLiteral("6.%1 轴力图").arg(n++),
                     Layer::Axial);
        book.drawing(QStringLiteral("6.%1 变形图").arg(n++), Layer::Deflection);
        const kj::Displacements& d = r.displacements;
        if (!r.model.continuousBeam && !d.empty()) {
            // Every storey's drift, also those the drawing shows small.
            Table drifts{{storeyHeading(), QStringLiteral("层间侧移 Δ (mm)"), QStringLiteral("Δ/h")}, {}, {}};
            for (int J = r.topo().NF; J >= 1; --J) {
                const double ratio = d.driftRatio[ix(J)];
                // No sway to speak of (a symmetric frame): no ratio.
                const bool sway = std::fabs(d.drift[ix(J)]) >= 0.005 && std::fabs(ratio) > 1e-6;
                drifts.rows.push_back({QString::number(r.topo().fromGround(J)), fixed(d.drift[ix(J)], 2),
                                       sway ? QStringLiteral("1/%1").arg(std::lround(1 / std::fabs(ratio))) : QStringLiteral("—")});
            }
            book.note({QStringLiteral("层间侧移按 Ec = %1 N/mm² 计, 各杆件取毛截面刚度。").arg(fixed(d.Ec, 0))});
            book.table(drifts);
        }
        book.heading(QStringLiteral("6.%1 杆端内力").arg(n), false);
        book.note({QStringLiteral("杆端弯矩 M1 (梁左端、柱顶) 和 M2 (梁右端、柱底) 以顺时针为正, kN·m; 剪力 kN; "
                                  "Mo 为跨中弯矩 (下部受拉为正), x 为其距左端的位置; N 为柱轴力, 压力为正, kN。")});
        book.table(endForceTable(r));
    }

    book.newPage();
    designSection(book, r, e);
    QStringList failures;
    book.newPage();
    memberDesignSection(book, r, e, options.everyMember, failures);
    book.newPage();
    if (!e) equilibriumSection(book, r);
    for (std::size_t k = 0; e && k < e->cases.size(); ++k)
        equilibriumSection(book, e->cases[k].result, shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)}), k == 0);
    // The sections of a seismic design and of a GB 50010-2010 design come before the conclusion.
    int number = 10;
    if (options.seismic) {
        book.newPage();
        seismicSection(book, *options.seismic, number, failures);
        // The storey drifts of E against their limit, as the window's drift layer draws them.
        for (std::size_t k = 0; e && k < e->cases.size(); ++k)
            if (e->cases[k].kind == kj::LoadCaseKind::E) {
                auto fp = ofCase(k);
                fp->setDriftCheck(DriftCheck::Earthquake);
                book.drawing(QStringLiteral("%1.1 层间位移图 (工况 E)").arg(number), Layer::Drift, fp);
            }
        if (e) jointCoreSection(book, *e, number, failures);
        ++number;
    }
    const bool serviceability = std::any_of(r.beams.begin(), r.beams.end(),
                                            [](const kj::BeamDesign& b) { return b.serviceability.has_value(); });
    if (is2010(r) && (serviceability || (e && !e->windDrifts.empty()))) {
        book.newPage();
        serviceabilitySection(book, r, e ? e->quasiPermanentName : std::string(),
                              e ? e->windDrifts : std::vector<kj::StoreyDrift>{}, number++, failures);
    } else if (!r.serviceabilityNote.empty()) {
        // A data file's loads are design values: no check, and why.
        book.newPage();
        book.heading(QStringLiteral("%1 正常使用极限状态验算").arg(number++), true);
        book.paragraph({q(r.serviceabilityNote)});
    }
    conclusionSection(book, r, failures, number);
}

QPdfWriter* newWriter(QBuffer& buffer, const QString& name)
{
    auto* writer = new QPdfWriter(&buffer);
    writer->setResolution(kDpi);
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer->setTitle(name + QStringLiteral(" 框架内力及配筋计算书"));
    writer->setCreator(QStringLiteral("kjpj"));
    return writer;
}

} // namespace

QByteArray calculationBookPdf(const kj::CalculationResult& r, const kj::FrameData& data, const BookOptions& options)
{
    const QString date = q(options.date.empty() ? kj::shortDateTimeNow().date : options.date);
    const QString name = shownName(r.model.name);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::unique_ptr<QPdfWriter> writer(newWriter(buffer, name));
    Book book(*writer, r);
    layoutBook(book, r, data, options, date);
    QPainter painter;
    if (!painter.begin(writer.get())) throw kj::Failure("计算书: 无法生成 PDF");
    book.render(painter, name + QStringLiteral(" 框架内力及配筋计算书"), date);
    painter.end();
    return bytes;
}

BookTexts calculationBookTexts(const kj::CalculationResult& r, const kj::FrameData& data, const BookOptions& options)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    std::unique_ptr<QPdfWriter> writer(newWriter(buffer, shownName(r.model.name)));
    Book book(*writer, r);
    layoutBook(book, r, data, options, q(options.date.empty() ? std::string("2026/1/1") : options.date));
    return book.texts_;
}

void writeCalculationBook(const kj::CalculationResult& r, const kj::FrameData& data, const std::filesystem::path& path,
                          const BookOptions& options)
{
    const QByteArray pdf = calculationBookPdf(r, data, options);
    kj::replaceFileBytes(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
                         path.filename().string());
}

void writeRunBook(const kj::CalculationResult& result, const kj::FrameData& data, const kj::EnvelopeResult* envelope,
                  const kj::SeismicAction* seismic, const kj::TitleBlock& title, const std::filesystem::path& path)
{
    BookOptions options;
    options.envelope = envelope;
    options.seismic = seismic;
    options.title = title;
    writeCalculationBook(result, data, path, options);
}

} // namespace kjd
