// The default design method, beam and column by beam and column.
#include "common/failure.h"
#include "common/numbers.h"
#include "design/beam_design.h"
#include "design/column_design.h"
#include "design/design_rules.h"
#include "design/rule_support.h"
#include "design/materials.h"

#include <cmath>
#include <initializer_list>

namespace kj {

namespace {

// One support: the redistributed moment and the shear, both rounded, the
// tension steel for the rounded moment, the top bars and the stirrups.
BeamSectionDesign designSupport(double M, double V, double b, double h, const MaterialConstants& mat,
                                const DesignOptions& o, int beam)
{
    BeamSectionDesign r;
    r.M = roundHalfEven(o.beta * M);
    r.V = roundHalfEven(V);
    const FlexureResult flexure = flexureDesign(std::fabs(r.M), b, h, mat);
    r.h0 = flexure.h0;
    r.As = roundHalfEven(flexure.As);
    r.AsComp = roundHalfEven(flexure.AsComp);
    r.bars = arrangeBars(r.As, b, h, o.cover, BarPosition::Top, o.topBars);
    if (!finiteBars(r.bars)) throw Failure(beamName(beam) + "的梁顶钢筋无法排列, 请检查通长筋的根数和直径");
    r.barString = barString(r.bars, BarPosition::Top);
    r.asvs = shearDesign(std::fabs(r.V), b, h, mat);
    r.shearTooSmall = !(r.asvs > 0);
    r.stirrups = chooseStirrups(r.asvs, b, o.stirrupLegs, o.stirrupDiameter);
    r.stirrupString = stirrupString(r.stirrups);
    return r;
}

BeamDesign designBeam(const BeamInput& in, const Materials& materials, const DesignOptions& o)
{
    const MaterialConstants mat = materialConstants(materials);
    BeamDesign d;
    if (!startBeam(in, d)) return d;
    const double r1 = (1 - o.beta) * std::fabs(in.M1);
    const double r2 = (1 - o.beta) * std::fabs(in.M2);
    d.left = designSupport(in.M1, in.V1, d.b, d.h, mat, o, in.beam);
    d.right = designSupport(in.M2, in.V2, d.b, d.h, mat, o, in.beam);

    // Span: the moment shed by the supports is carried by the span; the
    // steel is found for the unrounded moment.
    const double Mo = in.Mo + (r1 + r2) / 2;
    const FlexureResult span = flexureDesign(std::fabs(Mo), d.b, d.h, mat);
    BeamSectionDesign& s = d.span;
    s.M = roundHalfEven(Mo);
    s.x = roundHalfEven2(in.x);
    s.h0 = span.h0;
    s.As = roundHalfEven(span.As);
    s.AsComp = roundHalfEven(span.AsComp);
    s.bars = arrangeBars(s.As, d.b, d.h, o.cover, BarPosition::Bottom, o.bottomBars);
    if (!finiteBars(s.bars)) throw Failure(beamName(in.beam) + "的梁底钢筋无法排列, 请检查通长筋的根数和直径");
    s.barString = barString(s.bars, BarPosition::Bottom);
    return d;
}

ColumnEndDesign designEnd(double M, double N, double b, double h, double l0, const MaterialConstants& mat)
{
    const ColumnSteel steel = columnSteel(M, N, b, h, l0, mat);
    ColumnEndDesign e;
    e.M = roundHalfEven(M);
    e.N = N;
    e.e0 = steel.e0;
    e.ei = steel.ei;
    e.eta = steel.eta;
    e.xi = steel.xi;
    e.As = roundHalfEven(steel.As);
    return e;
}

ColumnDesign designColumn(const ColumnInput& in, const Materials& materials, const DesignOptions&)
{
    const MaterialConstants mat = materialConstants(materials);
    ColumnDesign d;
    const std::optional<double> Ntop = startColumn(in, d);
    if (!Ntop) return d;
    d.l0 = effectiveLengthFactor(in.bottomStorey) * in.member.len;
    d.top = designEnd(in.Mtop, *Ntop, d.b, d.h, d.l0, mat);
    d.bottom = designEnd(in.Mbottom, in.Nfoot, d.b, d.h, d.l0, mat);
    // The method designs eccentric compression only: an end in tension
    // cannot be designed (9999), and a line under the row says so.
    for (ColumnEndDesign* end : {&d.top, &d.bottom})
        if (!(end->N > 0))
            end->failure = "柱受拉 (N=" + fixedText(end->N, 1) + " kN), 原方法只能按偏心受压配筋, 可改用 GB50010-2010 按 6.2.23 设计";
    noteFailedColumnEnds(d);
    return d;
}

std::vector<std::string> noAssumptions(const DesignOptions&) { return {}; }

const DesignRules kDefaultRules{"原方法", designBeam, designColumn, "", noAssumptions, false, false};

} // namespace

const DesignRules& defaultRules() { return kDefaultRules; }

} // namespace kj
