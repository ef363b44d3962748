#pragma once
// Design from the envelope of load combinations. Every load case is
// analysed once; a combination's forces are the sums of factor x case
// forces (the analysis is linear). The support moments of the dead and live
// loads are redistributed case by case before they are combined, never the
// wind's. Each beam support is designed for the largest hogging moment and
// the largest shear over all combinations, the span for the largest span
// moment; each column end for every combination's (M, N), the largest steel
// winning. Every designed value records the combination that governed it.
#include "calc/calculation.h"
#include "calc/combinations.h"
#include "calc/load_cases.h"
#include "calc/serviceability_check.h"

#include <string>
#include <vector>

namespace kj {

struct LoadCaseResult {
    LoadCaseKind kind = LoadCaseKind::G;
    std::string fileName;
    // The analysis of the case alone (forces, residuals, materials, options,
    // rule set). Its beams and columns are not designed: only combinations are.
    CalculationResult result;
};

// The forces one combination designs a beam for, kN and kN*m: the support
// moments with the redistribution of G and Q, the span moment with the
// moment they shed, the shears as combined, x of the span moment (m).
struct BeamDesignForces {
    double M1 = 0, M2 = 0, V1 = 0, V2 = 0, Mo = 0, x = 0;
};

// The forces one combination designs a column for: end moments, axial
// force at the top and at the foot (compression positive).
struct ColumnDesignForces {
    double Mtop = 0, Mbottom = 0, Ntop = 0, Nfoot = 0;
};

struct CombinationResult {
    Combination combination;
    // Sum of factor x case forces, before redistribution, with the forces
    // along every member. Mo and X of a beam come from the span walk of the
    // combined forces (the first section, from the left end, where the shear
    // turns from positive to zero or negative).
    InternalForces forces;
    // The combined rotations (rad) and drifts (mm), for drawing.
    Displacements displacements;
    std::vector<BeamDesignForces> beams;     // 1..NB (index 0 unused)
    std::vector<ColumnDesignForces> columns; // 1..NC
    std::vector<ColumnDesign> columnDesigns; // 1..NC; none for a continuous beam
};

// The governing combination of every designed value: an index into
// EnvelopeResult::combinations.
struct BeamGoverning {
    int leftMoment = 0, leftShear = 0, rightMoment = 0, rightShear = 0, span = 0;
};
struct ColumnGoverning {
    int top = 0, bottom = 0;
};

struct EnvelopeResult {
    std::string setTitle; // "GB 55001-2021", "GB 50009-2012", or "自定义" for the user's own list
    std::vector<LoadCaseResult> cases; // G first, then Q and W as given
    std::vector<CombinationResult> combinations;
    std::vector<BeamGoverning> beamGoverning;     // 1..NB
    std::vector<ColumnGoverning> columnGoverning; // 1..NC; none for a continuous beam
    // The envelope as one calculation result, which the report and the
    // result files view as they view a single calculation: the model and
    // materials of G, the options as given, the rule set, and the beams and
    // columns designed from the envelope. Its forces hold, member by member,
    // the values designed for, signed as their governing combination gives
    // them (beams: M1, M2, V1, V2 with redistribution, Mo with the shed
    // moment, X; columns: M1, M2 and N at the foot of the governing
    // combination of each end); they are not one state of equilibrium, so
    // residuals, displacements and the forces along the members are empty.
    CalculationResult envelope;
    // GB 50010-2010: the quasi-permanent combination the envelope's beams
    // are checked for ("1.0G+0.4Q"), and the storey drifts under the wind
    // alone (none without W).
    std::string quasiPermanentName;
    std::vector<StoreyDrift> windDrifts;

    const std::string& name(int combination) const
    {
        return combinations[static_cast<std::size_t>(combination)].combination.name;
    }
};

// Analyses every case, combines and designs. The cases must have passed
// checkLoadCases. Throws Failure for an empty list of combinations, a
// combination naming a case that is not given, or a failure of the analysis
// or the design.
EnvelopeResult calculateEnvelope(const std::vector<LoadCaseInput>& cases,
                                 const std::vector<Combination>& combinations, const std::string& setTitle,
                                 const DesignOptions& options, const DesignRules& rules = defaultRules());

// The envelope of the forces along one member over every combination,
// before redistribution: at the stations of every combination, the largest
// and least moment and shear (both sides of a force). For drawing the M and
// V envelopes as two curves each. pieces > 1 adds points evenly between
// two stations, for the curve of a moment under a distributed load.
struct EnvelopePoint {
    double x = 0;
    double Mmax = 0, Mmin = 0, Vmax = 0, Vmin = 0;
};
std::vector<EnvelopePoint> memberEnvelope(const EnvelopeResult& r, int member, int pieces = 1);

} // namespace kj
