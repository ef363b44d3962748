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
    // Without load cases every load is taken as permanent: the frame's own
    // forces are the quasi-permanent ones.
    checkBeamServiceability(r, r.forces);
    return r;
}

CalculationResult calculate(const FrameModel& model, const DesignOptions& options)
{
    return calculate(model, options, rulesFor(options.code));
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
    r.beams.assign(static_cast<std::size_t>(t.NB) + 1, BeamDesign{});
    for (int i = 1; i <= t.NB; ++i) {
        const BeamInput in{i,           model.member(i),
                           at(f.M1, i), at(f.M2, i),
                           at(f.V1, i), at(f.V2, i),
                           at(f.Mo, i), at(f.X, i),
                           model.continuousBeam,
                           static_cast<std::size_t>(i) < f.along.size() ? f.along[static_cast<std::size_t>(i)].loads
                                                                         : std::vector<MemberForces::Load>{}};
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
