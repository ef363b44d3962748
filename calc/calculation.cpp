#include "calc/calculation.h"

#include "calc/serviceability_check.h"
#include "common/failure.h"
#include "design/materials.h"

#include <algorithm>

namespace kj {

CalculationResult calculate(const FrameModel& model, const DesignOptions& options, const DesignRules& rules)
{
    CalculationResult r;
    r.model = model;
    r.options = options;
    r.rules = &rules;
    r.forces = analyse(model);
    r.residuals = equilibriumResiduals(model, r.forces);
    // Fy and C are needed only now that the internal forces are known.
    if (!model.materials) throw Failure(model.materialsFailure);
    r.materials = *model.materials;
    designMembers(r, rules);
    r.displacements = realDisplacements(model, r.forces, concreteEc(r.materials.C));
    if (&rules == &gb50010_2010Rules()) r.serviceabilityNote = kServiceabilityNeedsCharacteristicLoads;
    return r;
}

void checkPermanentLoadServiceability(CalculationResult& r)
{
    checkBeamServiceability(r, r.forces);
    r.serviceabilityNote.clear();
}

CalculationResult calculate(const FrameModel& model, const DesignOptions& options)
{
    return calculate(model, options, rulesFor(options.code));
}

SpanMoment largestSagging(const MemberForces& a)
{
    const double L = a.length;
    std::vector<double> xs{0, L};
    for (const MemberForces::Load& l : a.loads)
        for (double x : {l.x0, l.x1})
            if (x > 0 && x < L) xs.push_back(x);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    SpanMoment best{a.M(0), 0};
    auto consider = [&](double x) {
        const double M = a.M(x);
        if (M > best.M) best = {M, x};
    };
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
        const double x0 = xs[k], x1 = xs[k + 1];
        if (k > 0) consider(x0);
        // Inside a loaded length the shear is linear: its zero, where the
        // shear turns from positive to zero or negative.
        const double V0 = a.V(x0), V1 = a.V(x1, true);
        if (V0 > 0 && !(V1 > 0)) consider(x0 + V0 / (V0 - V1) * (x1 - x0));
    }
    consider(L);
    return best;
}

double simpleSpanMoment(const std::vector<MemberForces::Load>& loads, double length)
{
    MemberForces a;
    a.length = length;
    a.loads = loads;
    // The left reaction of the simply supported span.
    for (const MemberForces::Load& l : loads) {
        const double w = l.x1 > l.x0 ? l.w * (l.x1 - l.x0) : l.w;
        a.V1 += w * (length - (l.x0 + l.x1) / 2) / length;
    }
    return largestSagging(a).M;
}

double columnClearLength(const FrameModel& model, int column)
{
    const FrameTopology& t = model.topo;
    const int top = t.topNode(column);
    double deepest = 0;
    for (int beam : {t.beamLeftOf(top), t.beamRightOf(top)})
        if (beam > 0) deepest = std::max(deepest, model.member(beam).h);
    return model.member(t.columnMember(column)).len - deepest;
}

void designMembers(CalculationResult& r, const DesignRules& rules)
{
    r.rules = &rules;
    const FrameModel& model = r.model;
    const DesignOptions& options = r.options;
    const FrameTopology& t = model.topo;
    // GB 50010-2010 designs for M = Mns + etaS Ms (B.0.4).
    r.sway.clear();
    InternalForces magnified;
    std::optional<SwayEffect> sway;
    if (rules.swaySecondOrder && !model.continuousBeam) {
        sway = swayEffect(model, r.forces, concreteEc(r.materials.C));
        r.sway = sway->storeys;
        magnified = magnifiedForces(model, r.forces, *sway);
    }
    const InternalForces& f = sway ? magnified : r.forces;
    auto at = [](const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; };
    // The simple-span moment of a beam's loads, from the analysis's forces
    // along it (the loads are those of the frame, with or without sway).
    auto simpleSpan = [&](int i) {
        const std::size_t k = static_cast<std::size_t>(i);
        return k < r.forces.along.size() ? simpleSpanMoment(r.forces.along[k].loads, model.member(i).len) : 0.0;
    };
    r.beams.assign(static_cast<std::size_t>(t.NB) + 1, BeamDesign{});
    for (int i = 1; i <= t.NB; ++i) {
        const BeamInput in{i,           model.member(i),
                           at(f.M1, i), at(f.M2, i),
                           at(f.V1, i), at(f.V2, i),
                           at(f.Mo, i), at(f.X, i),
                           model.continuousBeam,
                           static_cast<std::size_t>(i) < f.along.size() ? f.along[static_cast<std::size_t>(i)].loads
                                                                         : std::vector<MemberForces::Load>{},
                           simpleSpan(i)};
        r.beams[static_cast<std::size_t>(i)] = rules.designBeam(in, r.materials, options);
    }
    if (!model.continuousBeam) {
        r.columns.assign(static_cast<std::size_t>(t.NC) + 1, ColumnDesign{});
        for (int c = 1; c <= t.NC; ++c) {
            const int i = t.columnMember(c);
            const ColumnInput in{c,           model.member(i), at(f.M1, i),
                                 at(f.M2, i), at(f.N, c),     t.bottomStorey(c),
                                 std::nullopt, columnClearLength(model, c)};
            ColumnDesign& d = r.columns[static_cast<std::size_t>(c)];
            d = rules.designColumn(in, r.materials, options);
            if (sway) d.top.etaS = d.bottom.etaS = r.sway[static_cast<std::size_t>(t.columnStorey(c))].etaS;
        }
    }
}

} // namespace kj
