// The GB 50010-2010 rule set as the calculation takes it: the clause
// functions of design/gb50010_2010.h applied to one beam or column, their
// results put into the design records every output reads.
#include "common/failure.h"
#include "common/numbers.h"
#include "design/design_rules.h"
#include "design/rule_support.h"
#include "design/gb50010_2010.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace kj {

namespace {

// Throws Failure for a grade, steel or fyv the code does not cover.
gb2010::Rules rulesOf(const Materials& m, const DesignOptions& o)
{
    try {
        return gb2010::makeRules(m.Fy, m.C, o.fyv, o.floors);
    } catch (const Failure& f) {
        throw Failure(std::string("数据文件最后一类数据(Fy, C)不能按 GB50010-2010 设计: ") + f.what());
    }
}

// The bars the program chooses for an area, as the default method chooses
// them; the depth of the bars then follows from them.
gb2010::BarArranger arranger(double b, double h, const DesignOptions& o, BarPosition position)
{
    const std::optional<ChosenBars>& chosen = position == BarPosition::Top ? o.topBars : o.bottomBars;
    return [=](double As) { return arrangeBars(As, b, h, o.cover, position, chosen); };
}

void putFlexure(BeamSectionDesign& r, const gb2010::BeamFlexure& f, BarPosition position, int beam)
{
    r.h0 = f.h0;
    r.As = f.As;
    r.AsComp = f.AsComp;
    r.bars = f.bars;
    if (!finiteBars(r.bars))
        throw Failure(beamName(beam) + (position == BarPosition::Top ? "的梁顶" : "的梁底") +
                      "钢筋无法排列, 请检查通长筋的根数和直径");
    r.barString = barString(r.bars, position);
}

// One support: the redistributed moment and the shear, unrounded.
BeamSectionDesign designSupport(double M, double V, double b, double h, const gb2010::Rules& rules,
                                const DesignOptions& o, int beam)
{
    BeamSectionDesign r;
    r.M = o.beta * M;
    r.V = V;
    const gb2010::StirrupChoice choice{o.stirrupLegs.value_or(0), o.stirrupDiameter.value_or(0)};
    const gb2010::BeamSupport s =
        gb2010::designBeamSupport(r.M, r.V, b, h, o.cover, rules, arranger(b, h, o, BarPosition::Top), choice);
    putFlexure(r, s.flexure, BarPosition::Top, beam);
    r.asvs = s.shear.asvs;
    r.shearTooSmall = s.shear.tooSmall;
    r.stirrups = s.shear.stirrups;
    r.stirrupString = stirrupString(r.stirrups);
    return r;
}

BeamDesign designBeam(const BeamInput& in, const Materials& materials, const DesignOptions& o)
{
    const gb2010::Rules rules = rulesOf(materials, o);
    BeamDesign d;
    if (!startBeam(in, d)) return d;
    d.left = designSupport(in.M1, in.V1, d.b, d.h, rules, o, in.beam);
    d.right = designSupport(in.M2, in.V2, d.b, d.h, rules, o, in.beam);

    // Span: the moment shed by the supports is carried by the span, as in
    // the default method.
    const double r1 = (1 - o.beta) * std::fabs(in.M1);
    const double r2 = (1 - o.beta) * std::fabs(in.M2);
    BeamSectionDesign& s = d.span;
    s.M = in.Mo + (r1 + r2) / 2;
    if (o.beta < 1) s.M = std::max(s.M, minimumRedistributedSpanMoment(in.simpleSpanMoment));
    s.x = in.x;
    putFlexure(s, gb2010::designBeamSpan(s.M, d.b, d.h, o.cover, rules, arranger(d.b, d.h, o, BarPosition::Bottom)),
               BarPosition::Bottom, in.beam);
    return d;
}

std::string failureText(gb2010::ColumnFailure f)
{
    switch (f) {
    case gb2010::ColumnFailure::Tension: return "柱端轴力不是压力";
    case gb2010::ColumnFailure::BadSection: return "截面高度不大于两倍钢筋合力点至边缘距离 (80 mm)";
    case gb2010::ColumnFailure::TooSlender: return "l0/b 大于 50, 超出 6.2.15 的稳定系数表";
    case gb2010::ColumnFailure::OverReinforced: return "全部纵筋超过截面面积的 5%";
    case gb2010::ColumnFailure::None: break;
    }
    return "";
}

ColumnEndDesign endRecord(const gb2010::ColumnEnd& e, double M, double eta)
{
    ColumnEndDesign r;
    r.M = M;
    r.N = e.N;
    r.eta = eta;
    r.e0 = e.e0;
    r.ea = e.ea;
    r.ei = e.ei;
    r.xi = e.section.xi;
    r.As = e.As;
    r.failure = failureText(e.failure);
    return r;
}

ColumnDesign designColumn(const ColumnInput& in, const Materials& materials, const DesignOptions& o)
{
    const gb2010::Rules rules = rulesOf(materials, o);
    ColumnDesign d;
    const std::optional<double> Ntop = startColumn(in, d);
    if (!Ntop) return d;
    const double H = in.member.len;
    const gb2010::ColumnDesign c =
        gb2010::designColumn(in.Mtop, in.Mbottom, *Ntop, in.Nfoot, d.b, d.h, H, in.bottomStorey, rules);
    d.l0 = c.l0;
    const double factor = c.secondOrder.factor;
    d.top = endRecord(c.top, in.Mtop, c.topIsM2 ? factor : 1.0);
    d.bottom = endRecord(c.foot, in.Mbottom, c.topIsM2 ? 1.0 : factor);
    return d;
}

std::vector<std::string> assumptions(const DesignOptions& o)
{
    const std::string columnLength = o.floors == FloorKind::Precast ? "l0 = 1.25H 底层, 1.5H 其余层 (装配式楼盖)"
                                                                    : "l0 = 1.0H 底层, 1.25H 其余层 (现浇楼盖)";
    std::vector<std::string> lines{"假定: 梁 h0 = h - 实配纵筋合力点至受拉边缘距离 (保护层 " + shortestDecimal(o.cover) +
                                   " mm, 按实配排数); 柱 h0 = h - 40, " + columnLength + "; 箍筋 fyv = " +
                                   shortestDecimal(o.fyv)};
    if (o.beta < 1)
        lines.push_back("支座负弯矩调幅 β = " + shortestDecimal(o.beta) +
                        " (GB 50010 5.4.3): 跨中弯矩按平衡条件增大, 且不小于竖向荷载下简支梁跨中弯矩的 0.5 倍 (JGJ 3-2010 5.2.3)");
    return lines;
}

const DesignRules kGb50010_2010Rules{"GB50010-2010", designBeam, designColumn, "GB50010-2010 ", assumptions, true};

} // namespace

const DesignRules& gb50010_2010Rules() { return kGb50010_2010Rules; }

} // namespace kj
