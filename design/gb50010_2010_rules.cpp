// The GB 50010-2010 rule set as the calculation takes it: the clause
// functions of design/gb50010_2010.h applied to one beam or column, their
// results put into the design records every output reads.
#include "common/failure.h"
#include "common/numbers.h"
#include "design/design_rules.h"
#include "design/rule_support.h"
#include "design/gb50010_2010.h"
#include "design/gb50010_2010_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>

namespace kj {

namespace {

// Throws Failure for a grade, steel or fyv the code does not cover, and for
// a cover below the least one of 8.2.1.
gb2010::Rules rulesOf(const Materials& m, const DesignOptions& o)
{
    gb2010::Rules rules;
    try {
        rules = gb2010::makeRules(m.Fy, m.C, o.fyv, o.floors, o.environment);
    } catch (const Failure& f) {
        throw Failure(std::string("数据文件最后一类数据(Fy, C)不能按 GB50010-2010 设计: ") + f.what());
    }
    gb2010::checkCover(o.cover, rules);
    return rules;
}

// The bars the program chooses for an area, laid by 9.2.1 inside the cover
// and the stirrups.
gb2010::StirrupBarArranger arranger(double b, double h, const DesignOptions& o, BarPosition position)
{
    const std::optional<ChosenBars>& chosen = position == BarPosition::Top ? o.topBars : o.bottomBars;
    return [=](double As, double stirrup) {
        return gb2010::chooseBeamBars(As, b, h, o.cover, stirrup, position, chosen);
    };
}

std::string fixed(double x, int places)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", places, x);
    return buffer;
}

void putFlexure(BeamSectionDesign& r, const gb2010::BeamFlexure& f, double stirrup, BarPosition position, int beam)
{
    r.h0 = f.h0;
    r.As = f.As;
    r.AsComp = f.AsComp;
    r.bars = f.bars;
    r.zoneDepth = f.steel.x;
    r.xi = f.steel.xi;
    r.asComp = f.asComp;
    r.stirrup = stirrup;
    r.governs = gb2010::beamGoverningText(f.governs);
    r.failure = f.failure;
    if (!finiteBars(r.bars))
        throw Failure(beamName(beam) + (position == BarPosition::Top ? "的梁顶" : "的梁底") +
                      "钢筋无法排列, 请检查通长筋的根数和直径");
    r.barString = barString(r.bars, position);
}

// GB 50010-2010 5.4.3: a redistributed section has xi of at most 0.35.
constexpr double kRedistributionXiLimit = 0.35;

// One support: the redistributed moment and the shear, unrounded. 5.4.3:
// where the redistributed section would have xi above 0.35, the support
// keeps its whole moment (beta = 1), and the note says so.
BeamSectionDesign designSupport(double M, double V, double b, double h, const gb2010::Rules& rules,
                                const DesignOptions& o, int beam, double loadDistance, const char* side,
                                std::vector<std::string>& notes, bool seismic)
{
    const gb2010::StirrupChoice choice{o.stirrupLegs.value_or(0), o.stirrupDiameter.value_or(0)};
    auto design = [&](double beta) {
        BeamSectionDesign r;
        r.beta = beta;
        r.M = beta * M;
        r.V = V;
        const gb2010::BeamSupport s = gb2010::designBeamSupport(r.M, r.V, b, h, o.cover, rules,
                                                                arranger(b, h, o, BarPosition::Top), choice,
                                                                loadDistance, seismic);
        putFlexure(r, s.flexure, s.stirrup, BarPosition::Top, beam);
        r.asvs = s.shear.asvs;
        r.alphaCv = s.shear.alphaCv;
        r.shearTooSmall = s.shear.tooSmall;
        r.stirrups = s.shear.stirrups;
        r.stirrupString = stirrupString(r.stirrups);
        return r;
    };
    BeamSectionDesign r = design(o.beta);
    if (o.beta < 1 && !r.failed() && r.xi > kRedistributionXiLimit) {
        const double xi = r.xi;
        r = design(1.0);
        notes.push_back(redistributionLimitNote(side, xi));
    }
    if (r.alphaCv != 0.7)
        notes.push_back(std::string("    ") + side + "支座以集中荷载为主 (6.3.4), αcv=" + fixed(r.alphaCv, 3));
    return r;
}

void noteSection(std::vector<std::string>& notes, const BeamSectionDesign& s, const gb2010::BeamFlexure* f,
                 const char* where)
{
    if (s.failed()) notes.push_back(std::string("    ") + where + " As=9999: " + s.failure);
    if (s.shearTooSmall) notes.push_back(std::string("    ") + where + "截面不满足 6.3.1 的受剪截面条件, 箍筋 32@50 为标记");
    if (f && f->heavierLayout)
        notes.push_back(std::string("    ") + where + "按 As 所选的较轻钢筋排得较深, 在其 h0 下不足, 取配筋 " + s.barString);
}

BeamDesign designBeam(const BeamInput& in, const Materials& materials, const DesignOptions& o)
{
    const gb2010::Rules rules = rulesOf(materials, o);
    BeamDesign d;
    if (!startBeam(in, d)) return d;
    d.left = designSupport(in.M1, in.V1, d.b, d.h, rules, o, in.beam, gb2010::concentratedLoadDistance(in, true), "左",
                           d.notes, in.seismicLeft);
    d.right = designSupport(in.M2, in.V2, d.b, d.h, rules, o, in.beam, gb2010::concentratedLoadDistance(in, false), "右",
                            d.notes, in.seismicRight);

    // Span: the moment shed by the supports is carried by the span, as in
    // the default method; the bars lie inside the supports' stirrups.
    const double r1 = (1 - d.left.beta) * std::fabs(in.M1);
    const double r2 = (1 - d.right.beta) * std::fabs(in.M2);
    BeamSectionDesign& s = d.span;
    s.M = in.Mo + (r1 + r2) / 2;
    if (o.beta < 1) s.M = std::max(s.M, minimumRedistributedSpanMoment(in.simpleSpanMoment));
    s.x = in.x;
    double stirrup = gb2010::startingStirrup(d.h, {o.stirrupLegs.value_or(0), o.stirrupDiameter.value_or(0)});
    for (const BeamSectionDesign* support : {&d.left, &d.right})
        if (!support->shearTooSmall) stirrup = std::max<double>(stirrup, support->stirrups.diameter);
    const auto bottom = arranger(d.b, d.h, o, BarPosition::Bottom);
    const gb2010::BeamFlexure span = gb2010::designBeamSpan(s.M, d.b, d.h, o.cover, stirrup, rules,
                                                            [&](double As) { return bottom(As, stirrup); });
    putFlexure(s, span, stirrup, BarPosition::Bottom, in.beam);
    noteSection(d.notes, d.left, nullptr, "左支座");
    noteSection(d.notes, d.right, nullptr, "右支座");
    noteSection(d.notes, s, &span, "跨中");
    return d;
}

std::string failureText(gb2010::ColumnFailure f)
{
    switch (f) {
    case gb2010::ColumnFailure::Tension: return "柱端轴力不是有限数值";
    case gb2010::ColumnFailure::BadSection: return "截面高度不大于两倍钢筋合力点至边缘距离";
    case gb2010::ColumnFailure::TooSlender: return "l0/b 大于 50, 超出 6.2.15 的稳定系数表";
    case gb2010::ColumnFailure::OverReinforced: return "全部纵筋超过截面面积的 5% (9.3.1)";
    case gb2010::ColumnFailure::None: break;
    }
    return "";
}

ColumnEndDesign endRecord(const gb2010::ColumnEnd& e, const gb2010::SecondOrder& so, double M, double eta)
{
    ColumnEndDesign r;
    r.M = M;
    r.N = e.N;
    r.eta = eta;
    r.e0 = e.e0;
    r.ea = e.ea;
    r.ei = e.ei;
    r.xi = e.tension ? 0 : e.section.xi;
    r.As = e.As;
    r.failure = failureText(e.failure);
    r.Cm = so.Cm;
    r.etaNs = so.etaNs;
    r.axialRatio = e.axialRatio;
    r.h0 = e.h0;
    if (e.tension) r.eccentricity = e.tensionSteel.large ? "大偏心受拉" : "小偏心受拉";
    else if (!e.failed() || e.failure == gb2010::ColumnFailure::OverReinforced)
        r.eccentricity = e.section.large ? "大偏心受压" : "小偏心受压";
    r.governs = e.failed() ? "截面限值" : gb2010::columnGoverningText(e.governs);
    return r;
}

std::string tieString(const Stirrups& s)
{
    std::string t = "Φ" + std::to_string(s.diameter) + "@" + std::to_string(s.spacing);
    if (s.legs != 2) t += "(" + std::to_string(s.legs) + ")";
    return t;
}

// Column steel centre to the face: the cover, the tie and half a 20 mm bar.
double columnSteelDepth(double cover, double tie) { return cover + tie + 10; }

ColumnDesign designColumn(const ColumnInput& in, const Materials& materials, const DesignOptions& o)
{
    const gb2010::Rules rules = rulesOf(materials, o);
    ColumnDesign d;
    const std::optional<double> Ntop = startColumn(in, d);
    if (!Ntop) return d;
    const double H = in.member.len;
    gb2010::ColumnSetting setting;
    setting.clearHeight = in.clearLength > 0 ? in.clearLength : H;
    setting.ties = {o.stirrupLegs.value_or(0), o.stirrupDiameter.value_or(0)};
    setting.V = in.V;
    setting.seismic = in.seismic;
    double tie = std::max(gb2010::columnTieLimits(d.b, d.h, 0).dMin, setting.ties.startDiameter);
    gb2010::ColumnDesign c;
    // Thicker ties push the bars inwards: the column is designed again
    // inside them (the diameter only grows, so this ends).
    for (int pass = 0; pass < 8; ++pass) {
        setting.as = columnSteelDepth(o.cover, tie);
        setting.ties.startDiameter = std::max(setting.ties.startDiameter, tie);
        c = gb2010::designColumn(in.Mtop, in.Mbottom, *Ntop, in.Nfoot, d.b, d.h, H, in.bottomStorey, rules, setting);
        if (c.shear.tooSmall || c.shear.ties.diameter <= tie) break;
        tie = c.shear.ties.diameter;
    }
    d.l0 = c.l0;
    d.lc = c.lc;
    const double factor = c.secondOrder.factor;
    d.top = endRecord(c.top, c.secondOrder, in.Mtop, c.topIsM2 ? factor : 1.0);
    d.bottom = endRecord(c.foot, c.secondOrder, in.Mbottom, c.topIsM2 ? 1.0 : factor);
    d.V = c.shear.V;
    d.tieAsvs = c.shear.asvs;
    d.tieTooSmall = c.shear.tooSmall;
    d.ties = c.shear.ties;
    d.tieString = tieString(d.ties);
    noteFailedColumnEnds(d);
    if (d.tieTooSmall)
        d.notes.push_back("    柱截面不满足 6.3.1 的受剪截面条件 (V=" + fixed(d.V, 1) + " kN), 箍筋 Φ32@50 为标记");
    return d;
}

std::vector<std::string> assumptions(const DesignOptions& o)
{
    const std::string columnLength = o.floors == FloorKind::Precast ? "l0 = 1.25H 底层, 1.5H 其余层 (装配式楼盖)"
                                                                    : "l0 = 1.0H 底层, 1.25H 其余层 (现浇楼盖)";
    std::vector<std::string> lines{"假定: 环境类别" + std::string(gb2010::environmentName(o.environment)) + ", 保护层 c = " +
                shortestDecimal(o.cover) + " mm 至箍筋外缘 (8.2.1); 梁纵筋中心距受拉边缘 c + 箍筋直径 + d/2, "
                "每排根数按 9.2.1, h0 = h - 实配纵筋合力点至受拉边缘距离",
            "      柱 as = c + 箍筋直径 + 10 (纵筋按 20 mm 计), " + columnLength +
                ", 二阶效应 lc 与剪跨比 Hn 取柱净高; 箍筋 fyv = " + shortestDecimal(o.fyv)};
    if (o.beta < 1)
        lines.push_back("支座负弯矩调幅 β = " + shortestDecimal(o.beta) +
                        " (GB 50010 5.4.3): 跨中弯矩按平衡条件增大, 且不小于竖向荷载下简支梁跨中弯矩的 0.5 倍 (JGJ 3-2010 5.2.3)");
    return lines;
}

const DesignRules kGb50010_2010Rules{"GB50010-2010", designBeam, designColumn, "GB50010-2010 ", assumptions, true,
                                     true, kRedistributionXiLimit};

} // namespace

const DesignRules& gb50010_2010Rules() { return kGb50010_2010Rules; }

std::string redistributionLimitNote(const char* side, double xi)
{
    return std::string("    ") + side + "支座调幅后 ξ=" + fixed(xi, 3) + " > 0.35 (5.4.3), 该支座不调幅 (β=1)";
}

namespace gb2010 {

double concentratedLoadDistance(const BeamInput& in, bool left)
{
    if (!in.independent) return 0;
    const double L = in.member.len;
    if (!(L > 0)) return 0;
    double concentrated = 0, distributed = 0, nearest = INFINITY;
    for (const MemberForces::Load& l : !left && in.rightLoads ? *in.rightLoads : in.loads) {
        const double x = (l.x0 + l.x1) / 2;
        const double fromSupport = left ? x : L - x;
        if (l.x1 > l.x0) {
            distributed += std::fabs(l.w * (l.x1 - l.x0)) * (L - fromSupport) / L;
        } else {
            concentrated += std::fabs(l.w) * (L - fromSupport) / L;
            if (l.w != 0 && fromSupport > 0 && fromSupport < L) nearest = std::min(nearest, fromSupport);
        }
    }
    // "75% 以上" includes 75 % itself; the small allowance keeps a share of
    // exactly three quarters from falling out by rounding.
    const double total = concentrated + distributed;
    if (!(concentrated >= 0.75 * total - 1e-9 * total) || !std::isfinite(nearest)) return 0;
    return 1000 * nearest;
}

bool raiseBeamSteel(BeamSectionDesign& s, double As, double stirrup, double b, double h, BarPosition position,
                    const Materials& materials, const DesignOptions& o)
{
    if (s.failed()) return false;
    const Rules rules = rulesOf(materials, o);
    const double wanted = std::max(As, s.As);
    if (stirrup <= s.stirrup && barArea(s.bars) >= wanted) {
        s.As = wanted;
        return true;
    }
    const auto arrange = arranger(b, h, o, position);
    // Compression steel, if the flexure needs it, as designBeamFlexure lays it.
    const double asComp = o.cover + stirrup + 12.5;
    // The sets of bars from the lightest up, as designBeamFlexure takes them.
    double target = wanted;
    for (int step = 0; step < 2000; ++step) {
        const BarArrangement bars = arrange(target, stirrup);
        if (bars.tooMany || !finiteBars(bars)) return false;
        const double h0 = h - barCentroidDepth(bars, o.cover, stirrup);
        if (!(h0 > asComp)) return false;
        const FlexureSteel need = flexureSteel(1e6 * std::fabs(s.M), b, h0, asComp, rules);
        const double As0 = std::max(wanted, need.As);
        if (!(As0 <= kBeamMaxSteelRatio * b * h)) return false;
        if (barArea(bars) >= As0) {
            s.As = As0;
            s.AsComp = std::max(s.AsComp, need.AsComp);
            s.bars = bars;
            s.barString = barString(bars, position);
            s.h0 = h0;
            s.stirrup = stirrup;
            // The record of the flexure at the new depth.
            s.zoneDepth = need.x;
            s.xi = need.xi;
            s.asComp = asComp;
            return true;
        }
        target = std::nextafter(barArea(bars), INFINITY);
    }
    return false;
}

void setBeamStirrups(BeamSectionDesign& s, const Stirrups& stirrups)
{
    s.stirrups = stirrups;
    s.stirrupString = stirrupString(stirrups);
}

void setColumnTies(kj::ColumnDesign& c, const Stirrups& ties)
{
    c.ties = ties;
    c.tieString = tieString(ties);
}

} // namespace gb2010

} // namespace kj
