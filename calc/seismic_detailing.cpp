#include "calc/seismic_detailing.h"

#include "common/numbers.h"
#include "design/beam_design.h"
#include "design/gb50010_2010.h"
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

} // namespace

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
            const double x = std::max(0.0, (rules.steel.fy * top - rules.steel.fyc * bottom) /
                                               (rules.concrete.alpha1 * rules.concrete.fc * bw));
            if (x / s->h0 > *limit)
                fail(d, std::string(side) + " ξ=" + fixedText(x / s->h0, 3) + " > " + fixedText(*limit, 2) +
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

DetailingResult columnSeismicDetailing(const CalculationResult& r, int column, int grade, double axialRatio)
{
    DetailingResult d;
    const ColumnDesign& c = r.columns[z(column)];
    if (!c.designed || grade < 1 || grade > 4) return d;
    const gb2010::Rules rules = gb2010::makeRules(r.materials.Fy, r.materials.C, r.options.fyv);
    const double b = c.b, h = c.h, A = b * h;
    const FrameTopology& t = r.topo();
    if (!c.top.failed() && !c.bottom.failed()) {
        const double total = 2 * std::max(c.top.As, c.bottom.As);
        const double least = gb50011::columnMinimumTotalSteelRatio(grade, rules.steel.fy, r.materials.C, false);
        if (total < least * A)
            fail(d, "全部纵筋 " + fixedText(total, 0) + " mm2 < 表 11.4.12-1 最小配筋率 " + percent(least) + " bh");
    }
    const double Hn = 1000 * (c.lc > 0 ? c.lc : r.model.member(t.columnMember(column)).len);
    const bool ground = t.bottomStorey(column);
    const gb50011::DenseZone ends = gb50011::columnDenseZone(grade, std::max(b, h), Hn, 20, false);
    std::string zone = "    柱端箍筋加密区 长 " + fixedText(ends.length, 0) + " mm";
    if (ground) zone += ", 底层柱根 " + fixedText(gb50011::columnDenseZone(grade, std::max(b, h), Hn, 20, true).length, 0) + " mm";
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
    if (rhoV < need) fail(d, "加密区体积配箍率 " + percent(rhoV) + " < " + percent(need) + " (11.4.17)");
    return d;
}

} // namespace kj
