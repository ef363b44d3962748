#include "calc/seismic_detailing.h"

#include "calc/capacity_design.h"
#include "calc/envelope.h"
#include "common/numbers.h"
#include "design/beam_design.h"
#include "design/design_rules.h"
#include "design/gb50010_2010.h"
#include "design/gb50010_2010_rules.h"
#include "design/gb50011_2010.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

std::string percent(double ratio) { return fixedText(100 * ratio, 2) + "%"; }

void fail(DetailingResult& d, const std::string& text)
{
    d.lines.push_back("    抗震构造不满足: " + text);
    d.failures.push_back(text);
}

// The bar of an arrangement with the smaller diameter, mm.
double smallestBar(const BarArrangement& b)
{
    if (b.k > 0 && b.e > 0) return std::min(b.d, b.e);
    return b.d;
}

// The least legs whose spacing over the width w between the outer legs
// (mm) is within s; two at least.
int legsWithin(double w, double s)
{
    if (!(w > 0) || !(s > 0)) return 2;
    return std::max(2, 1 + static_cast<int>(std::ceil(w / s - 1e-9)));
}

// The stirrups or ties of a densified zone: the designed ones, or thicker
// and closer ones for Asv/s (mm2/mm) within the zone's spacing (rounded down
// to 10 mm) and diameter, with legs added where their spacing over the width
// w between the outer legs (mm) exceeds legSpacing(diameter). Spacings round
// down to 50 mm from 100 mm up, as the program always rounded them, to 10 mm
// below. Never less steel per length than designed. A spacing of 0: none
// fits.
template <class LegSpacing>
Stirrups denseStirrups(double asvs, const Stirrups& designed, const gb50011::DenseZone& zone, double w,
                       LegSpacing legSpacing)
{
    const double cap = std::floor(zone.maxSpacing / 10) * 10;
    const double d = std::max<double>(designed.diameter, zone.minDiameter);
    const int legs = std::max(designed.legs, legsWithin(w - d, legSpacing(d)));
    Stirrups s = gb2010::chooseStirrupSpacing(asvs, legs, d, cap, cap >= 100 ? gb2010::kStirrupSpacingStep : 10.0);
    // Legs x diameter² / spacing stands for the steel per length.
    auto perLength = [](const Stirrups& t) { return t.legs * double(t.diameter) * t.diameter / t.spacing; };
    if (s.spacing > 0 && designed.spacing > 0 && perLength(s) < perLength(designed))
        s.spacing = std::min(s.spacing, designed.spacing);
    return s;
}

bool same(const Stirrups& a, const Stirrups& b)
{
    return a.legs == b.legs && a.diameter == b.diameter && a.spacing == b.spacing;
}

std::string area(double As) { return fixedText(As, 0); }

// 11.3.1 on the section as finally laid out: x = (fy As - fy' As') / (α1 fc
// b) with the top bars at the end and the span's bottom bars, which run
// through the support, as compression steel; ξ = x / h0 at the end's final
// h0 (0 where the compression steel alone takes the tension). mm.
struct EndDepth {
    double x = 0, xi = 0;
};
EndDepth beamEndDepth(const BeamDesign& b, const BeamSectionDesign& end, const gb2010::Rules& rules)
{
    const double top = barArea(end.bars), bottom = b.span.failed() ? 0.0 : barArea(b.span.bars);
    EndDepth d;
    d.x = std::max(0.0, (rules.steel.fy * top - rules.steel.fyc * bottom) / (rules.concrete.alpha1 * rules.concrete.fc * b.b));
    if (end.h0 > 0) d.xi = d.x / end.h0;
    return d;
}

// The ends' record once the detailing has chosen every bar: ξ and x of
// 11.3.1 at the final h0, and as' from the bottom bars provided.
void recordEndDepths(BeamDesign& b, const gb2010::Rules& rules)
{
    for (BeamSectionDesign* s : {&b.left, &b.right}) {
        if (s->failed() || !(s->h0 > 0)) continue;
        const EndDepth d = beamEndDepth(b, *s, rules);
        s->zoneDepth = d.x;
        s->xi = d.xi;
        if (!b.span.failed() && b.span.h0 > 0 && barArea(b.span.bars) > 0) s->asComp = b.h - b.span.h0;
    }
}

void detailBeam(CalculationResult& e, int i, int grade)
{
    BeamDesign& b = e.beams[z(i)];
    if (!b.designed) return;
    const gb2010::Rules rules = gb2010::makeRules(e.materials.Fy, e.materials.C, e.options.fyv);
    const double A = b.b * b.h;
    auto note = [&](const std::string& text) { b.notes.push_back("    抗震构造: " + text); };
    auto raise = [&](BeamSectionDesign& s, double As, double stirrup, BarPosition position) {
        return gb2010::raiseBeamSteel(s, As, stirrup, b.b, b.h, position, e.materials, e.options);
    };

    const double supportMin = gb50011::beamMinimumSteelRatio(grade, true, rules.concrete.ft, rules.steel.fy);
    for (const auto& [s, side] : {std::pair{&b.left, std::string("左")}, std::pair{&b.right, std::string("右")}}) {
        if (s->failed()) continue;
        if (s->As < supportMin * A) {
            const double before = s->As;
            if (raise(*s, supportMin * A, s->stirrup, BarPosition::Top)) {
                s->governs = "抗震最小配筋率 (表 11.3.6-1)";
                note(side + "支座顶筋按表 11.3.6-1 最小配筋率 " + percent(supportMin) + " 由 As=" + area(before) +
                     " 增至 As=" + area(s->As) + " mm2, 配 " + s->barString);
            } else {
                note(side + "支座顶筋需 As=" + area(supportMin * A) + " mm2 (表 11.3.6-1), 截面宽度放不下, 应加大截面");
            }
        }
        if (s->shearTooSmall) continue;
        // Table 11.3.6-2 at the end; thicker stirrups push the top bars in,
        // which are laid again inside them (and may change the zone's 6d/8d).
        const std::string designed = s->stirrupString;
        const int designedLegs = s->stirrups.legs;
        gb50011::DenseZone zone;
        for (int pass = 0; pass < 3; ++pass) {
            zone = gb50011::beamDenseZone(grade, b.h, smallestBar(s->bars), barArea(s->bars) / (b.b * s->h0));
            const Stirrups st = denseStirrups(s->asvs, s->stirrups, zone, b.b - 2 * e.options.cover,
                                              [&](double d) { return gb50011::beamDenseLegSpacing(grade, d); });
            if (st.spacing == 0) {
                note(side + "支座加密区箍筋间距需 <= " + fixedText(zone.maxSpacing, 0) + " mm (表 11.3.6-2), 无法选配");
                break;
            }
            if (st.diameter > s->stirrup && !raise(*s, s->As, st.diameter, BarPosition::Top)) {
                note(side + "支座顶筋在 " + std::to_string(st.diameter) + " mm 箍筋内放不下, 应加大截面");
                break;
            }
            if (same(st, s->stirrups)) break;
            gb2010::setBeamStirrups(*s, st);
        }
        if (s->stirrupString != designed)
            note(side + "支座箍筋按表 11.3.6-2 加密区 (间距 <= " + fixedText(zone.maxSpacing, 0) + ", 直径 >= " +
                 fixedText(zone.minDiameter, 0) + ")" + (s->stirrups.legs > designedLegs ? " 及 11.3.8 肢距" : "") + " 由 " +
                 designed + " 改为 " + s->stirrupString);
    }

    // The bottom bars of the span run through both supports.
    BeamSectionDesign& span = b.span;
    if (span.failed()) return;
    double stirrup = span.stirrup;
    for (const BeamSectionDesign* s : {&b.left, &b.right})
        if (!s->shearTooSmall) stirrup = std::max<double>(stirrup, s->stirrups.diameter);
    const double spanMin = gb50011::beamMinimumSteelRatio(grade, false, rules.concrete.ft, rules.steel.fy);
    double need = spanMin * A;
    std::string why = "表 11.3.6-1 最小配筋率 " + percent(spanMin);
    double xiNeed = 0;
    std::string xiWhy;
    for (const auto& [s, side] : {std::pair{&b.left, std::string("左端")}, std::pair{&b.right, std::string("右端")}}) {
        if (s->failed() || !(s->h0 > 0)) continue;
        const double top = barArea(s->bars);
        if (const std::optional<double> ratio = gb50011::beamEndBottomTopRatio(grade); ratio && *ratio * top > need) {
            need = *ratio * top;
            why = side + "底筋/顶筋 >= " + fixedText(*ratio, 1) + " (11.3.6-2)";
        }
        // 11.3.1: x = (fy As - fy' As') / (α1 fc b) <= limit h0.
        if (const std::optional<double> limit = gb50011::beamEndDepthLimit(grade)) {
            const double compression = (rules.steel.fy * top - *limit * rules.concrete.alpha1 * rules.concrete.fc * b.b * s->h0) /
                                       rules.steel.fyc;
            if (compression > xiNeed) {
                xiNeed = compression;
                xiWhy = side + " ξ <= " + fixedText(*limit, 2) + " (11.3.1, 计入受压钢筋)";
            }
        }
    }
    const double target = std::max(need, xiNeed);
    if (!(target > span.As) && !(stirrup > span.stirrup)) return;
    const double before = span.As;
    auto raised = [&](const std::string& reason) {
        if (span.As > before)
            note("跨中底筋按" + reason + " 由 As=" + area(before) + " 增至 As=" + area(span.As) + " mm2, 配 " +
                 span.barString);
        if (span.As > before && span.As >= target) span.governs = "抗震构造 (" + reason + ")";
    };
    if (raise(span, target, stirrup, BarPosition::Bottom)) {
        raised(xiNeed > need ? xiWhy : why);
        return;
    }
    if (xiNeed > need && raise(span, need, stirrup, BarPosition::Bottom)) raised(why);
    note("跨中底筋需 As=" + area(target) + " mm2 以满足" + (xiNeed > need ? xiWhy : why) +
         ", 截面放不下 (截面过小), 应加大截面");
}

// The row of Table 11.4.12-1 a column's least steel is taken from.
const char* minimumSteelRow(bool corner) { return corner ? "按角柱" : "按中柱、边柱"; }

void detailColumn(CalculationResult& e, int column, int grade, double axialRatio, bool corner)
{
    ColumnDesign& c = e.columns[z(column)];
    if (!c.designed) return;
    const gb2010::Rules rules = gb2010::makeRules(e.materials.Fy, e.materials.C, e.options.fyv);
    const double A = c.b * c.h;
    auto note = [&](const std::string& text) { c.notes.push_back("    抗震构造: " + text); };

    // Table 11.4.12-1, both faces alike.
    const double least = gb50011::columnMinimumTotalSteelRatio(grade, rules.steel.fy, e.materials.C, corner);
    std::string ends;
    double before = 0;
    for (const auto& [end, where] : {std::pair{&c.top, "柱顶"}, std::pair{&c.bottom, "柱底"}}) {
        if (end->failed() || !(2 * end->As < least * A)) continue;
        before = std::max(before, end->As);
        end->As = least * A / 2;
        end->governs = "抗震最小配筋率 (表 11.4.12-1)";
        ends += (ends.empty() ? "" : "、") + std::string(where);
    }
    if (!ends.empty())
        note("全部纵筋按表 11.4.12-1 最小配筋率 " + percent(least) + " (" + minimumSteelRow(corner) + ") 增至 As=As'=" +
             area(least * A / 2) +
             " mm2 (" + ends + ", 原 " + area(before) + ")");

    if (c.tieTooSmall) return;
    // Table 11.4.12-2 (the foot of a ground-storey column the stricter) and 11.4.17.
    const FrameTopology& t = e.topo();
    const double Hn = 1000 * (c.lc > 0 ? c.lc : e.model.member(t.columnMember(column)).len);
    gb50011::DenseZone zone = gb50011::columnDenseZone(grade, std::max(c.b, c.h), Hn, 20, false);
    if (t.bottomStorey(column)) {
        const gb50011::DenseZone foot = gb50011::columnDenseZone(grade, std::max(c.b, c.h), Hn, 20, true);
        zone.maxSpacing = std::min(zone.maxSpacing, foot.maxSpacing);
        zone.minDiameter = std::max(zone.minDiameter, foot.minDiameter);
    }
    const double bc = c.b - 2 * e.options.cover, hc = c.h - 2 * e.options.cover;
    if (!(bc > 0 && hc > 0)) return;
    const double rhoV = gb50011::columnMinimumVolumetricRatio(grade, axialRatio, rules.concrete.fc, rules.fyv);
    // ρv = legs Asv1 (bc + hc) / (bc hc s): Asv/s of the legs in one direction.
    const double asvs = std::max(c.tieAsvs, rhoV * bc * hc / (bc + hc));
    Stirrups designed = c.ties;
    designed.legs = std::max(2, designed.legs);
    const Stirrups st = denseStirrups(asvs, designed, zone, std::max(c.b, c.h) - 2 * e.options.cover,
                                      [&](double d) { return gb50011::columnDenseLegSpacing(grade, d); });
    if (st.spacing == 0) {
        note("柱端加密区箍筋按 11.4.17 需 ρv >= " + percent(rhoV) + ", 无法选配");
        return;
    }
    if (same(st, c.ties)) return;
    const std::string old = c.tieString;
    const bool moreLegs = st.legs > c.ties.legs;
    gb2010::setColumnTies(c, st);
    note("柱端加密区箍筋按 11.4.17 (λv=" + fixedText(gb50011::stirrupCharacteristicValue(grade, axialRatio), 3) +
         ", ρv >= " + percent(rhoV) + ") 及表 11.4.12-2 (间距 <= " + fixedText(zone.maxSpacing, 0) + ", 直径 >= " +
         fixedText(zone.minDiameter, 0) + ")" + (moreLegs ? " 及 11.4.15 肢距" : "") + " 由 " + old + " 改为 " +
         c.tieString);
}

} // namespace

void applySeismicDetailing(EnvelopeResult& r)
{
    const int grade = r.envelopeOptions.detailing();
    CalculationResult& e = r.envelope;
    const bool seismic = std::any_of(r.combinations.begin(), r.combinations.end(), [](const CombinationResult& c) {
        return c.combination.uses(LoadCaseKind::E);
    });
    if (!seismic || grade < 1 || grade > 4 || e.rules != &gb50010_2010Rules()) return;
    const gb2010::Rules rules = gb2010::makeRules(e.materials.Fy, e.materials.C, e.options.fyv);
    for (int i = 1; z(i) < e.beams.size(); ++i) {
        detailBeam(e, i, grade);
        if (e.beams[z(i)].designed) recordEndDepths(e.beams[z(i)], rules);
    }
    if (e.columns.empty()) return;
    const std::vector<AxialRatioCheck> ratios = axialRatioChecks(r);
    for (int c = 1; z(c) < e.columns.size(); ++c)
        detailColumn(e, c, grade, z(c) < ratios.size() ? ratios[z(c)].ratio : 0.0, designedAsCornerColumn(r, c));
}

bool designedAsCornerColumn(const EnvelopeResult& r, int column)
{
    return r.envelopeOptions.cornerColumns && !r.envelope.model.continuousBeam &&
           outerColumn(r.envelope.topo(), column);
}

DetailingResult beamSeismicDetailing(const CalculationResult& r, int beam, int grade)
{
    DetailingResult d;
    const BeamDesign& b = r.beams[z(beam)];
    if (!b.designed || grade < 1 || grade > 4) return d;
    const gb2010::Rules rules = gb2010::makeRules(r.materials.Fy, r.materials.C, r.options.fyv);
    const double bw = b.b, h = b.h, A = bw * h;
    const double bottom = b.span.failed() ? 0.0 : barArea(b.span.bars);
    // Table 11.3.6-1 in the span.
    const double spanMin = gb50011::beamMinimumSteelRatio(grade, false, rules.concrete.ft, rules.steel.fy);
    if (!b.span.failed() && bottom < spanMin * A)
        fail(d, "跨中底筋 " + fixedText(bottom, 0) + " mm2 < 表 11.3.6-1 最小配筋率 " + percent(spanMin) + " bh");
    for (const auto& [s, side] : {std::pair{&b.left, "左端"}, std::pair{&b.right, "右端"}}) {
        if (s->failed() || !(s->h0 > 0)) continue;
        const double top = barArea(s->bars);
        // 11.3.1: ξ at the end counting the bottom bars as compression steel.
        if (const std::optional<double> limit = gb50011::beamEndDepthLimit(grade)) {
            const double xi = beamEndDepth(b, *s, rules).xi;
            if (xi > *limit)
                fail(d, std::string(side) + " ξ=" + fixedText(xi, 3) + " > " + fixedText(*limit, 2) +
                            " (11.3.1, 计入受压钢筋)");
        }
        // 11.3.6-2: bottom / top at the end.
        if (const std::optional<double> ratio = gb50011::beamEndBottomTopRatio(grade))
            if (top > 0 && bottom / top < *ratio)
                fail(d, std::string(side) + "底筋/顶筋=" + fixedText(bottom / top, 2) + " < " + fixedText(*ratio, 1) +
                            " (11.3.6-2)");
        const double supportMin = gb50011::beamMinimumSteelRatio(grade, true, rules.concrete.ft, rules.steel.fy);
        if (top < supportMin * A)
            fail(d, std::string(side) + "顶筋 " + fixedText(top, 0) + " mm2 < 表 11.3.6-1 最小配筋率 " +
                        percent(supportMin) + " bh");
        const double ratio = top / (bw * s->h0);
        if (ratio > gb50011::kBeamEndMaxSteelRatio)
            fail(d, std::string(side) + "纵向受拉钢筋配筋率 " + percent(ratio) + " > 2.5% (11.3.7)");
        // 11.3.6-3: the densified stirrups at the end.
        const gb50011::DenseZone zone = gb50011::beamDenseZone(grade, h, smallestBar(s->bars), ratio);
        // The densified zone takes the thicker and closer of the designed
        // stirrups and the table's (spacing down to 10 mm steps).
        if (s->shearTooSmall) continue;
        const double dia = std::max<double>(s->stirrups.diameter, zone.minDiameter);
        const double spacing =
            std::min<double>(s->stirrups.spacing, std::floor(zone.maxSpacing / 10) * 10);
        d.lines.push_back("    " + std::string(side) + "箍筋加密区 长 " + fixedText(zone.length, 0) + " mm, 取 " +
                          fixedText(s->stirrups.legs, 0) + "*" + fixedText(dia, 0) + "@" + fixedText(spacing, 0) +
                          " (表 11.3.6-2: 间距 <= " + fixedText(zone.maxSpacing, 0) + ", 直径 >= " +
                          fixedText(zone.minDiameter, 0) + ")");
    }
    return d;
}

DetailingResult columnSeismicDetailing(const CalculationResult& r, int column, int grade, double axialRatio,
                                       bool corner)
{
    DetailingResult d;
    const ColumnDesign& c = r.columns[z(column)];
    if (!c.designed || grade < 1 || grade > 4) return d;
    const gb2010::Rules rules = gb2010::makeRules(r.materials.Fy, r.materials.C, r.options.fyv);
    const double b = c.b, h = c.h, A = b * h;
    const FrameTopology& t = r.topo();
    if (!c.top.failed() && !c.bottom.failed()) {
        const double total = 2 * std::max(c.top.As, c.bottom.As);
        const double least = gb50011::columnMinimumTotalSteelRatio(grade, rules.steel.fy, r.materials.C, corner);
        if (total < least * A)
            fail(d, "全部纵筋 " + fixedText(total, 0) + " mm2 < 表 11.4.12-1 最小配筋率 " + percent(least) + " bh" +
                        (corner ? " (按角柱)" : ""));
    }
    const double Hn = 1000 * (c.lc > 0 ? c.lc : r.model.member(t.columnMember(column)).len);
    const bool ground = t.bottomStorey(column);
    const gb50011::DenseZone ends = gb50011::columnDenseZone(grade, std::max(b, h), Hn, 20, false);
    std::string zone;
    if (corner && gb50011::cornerColumnDensifiedFullHeight(grade)) {
        // GB 50010-2010 11.4.14, GB 50011-2010 6.3.9-1-3: grades 1 and 2.
        zone = "    箍筋加密区 角柱沿全高加密 (" + fixedText(Hn, 0) + " mm)";
    } else {
        zone = "    柱端箍筋加密区 长 " + fixedText(ends.length, 0) + " mm";
        if (ground)
            zone += ", 底层柱根 " + fixedText(gb50011::columnDenseZone(grade, std::max(b, h), Hn, 20, true).length, 0) + " mm";
    }
    zone += ", 间距 <= " + fixedText(ends.maxSpacing, 0) + ", 直径 >= " + fixedText(ends.minDiameter, 0) +
            " (表 11.4.12-2, 纵筋按 20 mm)";
    d.lines.push_back(zone);
    if (c.tieTooSmall) return d;
    // 11.4.17: the volumetric ratio of the ties at the densified spacing.
    const double lambdaV = gb50011::stirrupCharacteristicValue(grade, axialRatio);
    const double need = gb50011::columnMinimumVolumetricRatio(grade, axialRatio, rules.concrete.fc, rules.fyv);
    const double cover = r.options.cover;
    const double bc = b - 2 * cover, hc = h - 2 * cover;
    const double s = std::min<double>(c.ties.spacing, std::floor(ends.maxSpacing / 10) * 10);
    const double dia = std::max<double>(c.ties.diameter, ends.minDiameter);
    const double legs = std::max(2, c.ties.legs);
    const double rhoV = bc > 0 && hc > 0 && s > 0 ? legs * (bc + hc) * std::numbers::pi / 4 * dia * dia / (bc * hc * s) : 0.0;
    d.lines.push_back("    加密区 λv=" + fixedText(lambdaV, 3) + " (表 11.4.17, 轴压比 " + fixedText(axialRatio, 3) +
                      "), ρv 需 >= " + percent(need) + ", Φ" + fixedText(dia, 0) + "@" + fixedText(s, 0) + "(" +
                      fixedText(legs, 0) + " 肢, 双向) 得 " + percent(rhoV));
    if (rhoV < need * (1 - 1e-9)) fail(d, "加密区体积配箍率 " + percent(rhoV) + " < " + percent(need) + " (11.4.17)");
    return d;
}

} // namespace kj
