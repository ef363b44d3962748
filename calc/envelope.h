#pragma once
// Design from the envelope of load combinations. Every load case is
// analysed once; a combination's forces are the sums of factor x case
// forces (the analysis is linear). The support moments of the dead and live
// loads are redistributed case by case before they are combined, never the
// wind's. Each beam support is designed for the largest hogging moment and
// the largest shear over all combinations, the span for the largest span
// moment; each column end for every combination's (M, N), the largest steel
// winning. Every designed value records the combination that governed it.
// With GB 50010-2010 each combination's sway moments are magnified by the
// storeys' etaS under its own axial forces (B.0.4), and a support whose
// redistributed section has xi above 0.35 keeps its whole moment (5.4.3).
//
// With live-load patterns, the live load Q is also taken span by span: the
// load of every beam is analysed once on its own and the layouts are their
// sums. For each designed value the layout that makes it largest is formed
// from these contributions (a beam loaded when its load adds to the value;
// the frame is linear, so that is the value's exact extreme): for a span,
// by its moment at each point where the sagging may be largest; for a
// support, by its hogging moment (the adjacent spans, then alternate ones),
// its sagging moment and its shear either way; for a column end, by its
// moment either way, and for the column by its largest and least axial
// force. The joint loads of Q stay in every layout. Each layout is combined
// in place of Q, and names the value it serves: "1.3G+1.5Q[跨3]".
#include "calc/calculation.h"
#include "calc/capacity_design.h"
#include "calc/combinations.h"
#include "calc/joint_core.h"
#include "calc/live_load.h"
#include "calc/load_cases.h"
#include "calc/serviceability_check.h"
#include "calc/sway.h"

#include <memory>
#include <optional>
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

// A layout of the live load: the beams whose Q loads it takes, and its name
// in the governing column: "跨3" the span of beam 3 at mid-span, "跨3@1.20"
// at 1.20 m from its left end, "梁3左负" / "梁3右负" the hogging and "梁3左正" /
// "梁3右正" the sagging moment at its ends, "梁3左剪+" / "梁3右剪-" the shear
// at its ends either way, "柱5上+" / "柱5下-" the end moment of column 5
// either way (clockwise positive), "柱5Nmax" / "柱5Nmin" its axial force.
struct LiveLoadPattern {
    std::string name;
    std::vector<char> loaded; // beams 1..NB (index 0 unused)
};

// Which state governs a designed value: a combination, with Q as given
// (pattern -1) or with a live-load layout in its place.
struct Governing {
    int combination = 0;
    int pattern = -1;
    bool operator==(const Governing&) const = default;
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
    // A seismic combination's capacity design (grade 0: none, as for the
    // static combinations).
    CapacityDesign capacity;
    // GB 50010-2010: the storeys' sway magnifiers under this combination's
    // axial forces, and the forces of its horizontal storey forces alone
    // (Ms); beams and columns above are designed for M = Mns + etaS Ms.
    // Empty for the default method and a continuous beam.
    SwayEffect sway;
};

// The governing state of every designed value.
struct BeamGoverning {
    Governing leftMoment, leftShear, rightMoment, rightShear, span;
    // The forces of each of those states on the beam.
    BeamDesignForces leftMomentForces, leftShearForces, rightMomentForces, rightShearForces, spanForces;
};

// A sagging moment at a beam support (kN*m, positive), the largest over all
// states, and the bottom steel designed for it as the rule set designs a
// span. Absent where no state gives sagging there.
struct SupportSagging {
    bool present = false;
    double M = 0;
    Governing governing;
    BeamSectionDesign design;
};
struct BeamSupportSagging {
    SupportSagging left, right;
};

// One (M, N) pair of a column end and the state giving it: M the end moment
// (clockwise positive), N the axial force at that end (compression positive).
struct ColumnForcePair {
    double M = 0, N = 0;
    Governing governing;
};
// The force sets of a column end over every state: the pair designed for,
// the largest |M| with its N, the largest and the least N with their M.
struct ColumnEndForceSets {
    ColumnForcePair design, maxMoment, maxAxial, minAxial;
};
struct ColumnGoverning {
    Governing top, bottom;
    ColumnDesignForces topForces, bottomForces; // the forces of those states on the column
    ColumnEndForceSets topSets, bottomSets;
};

// How the envelope is formed beyond the combinations: live-load patterns,
// and the live-load factors of a built-in set (named in the report).
struct EnvelopeOptions {
    bool liveLoadPatterns = false;
    std::optional<LiveLoadFactors> liveLoadFactors; // absent for the user's own combinations
    // The seismic grade of the frame, 1..4, for the capacity design of the
    // seismic combinations; 0: none.
    int seismicGrade = 0;
    // The grade of the detailing measures (GB 50011 3.3.3); 0: seismicGrade.
    int detailingGrade = 0;
    int detailing() const { return detailingGrade > 0 ? detailingGrade : seismicGrade; }
    // The columns of the outer column lines are designed as corner columns
    // (GB 50011-2010 6.2.6, 6.3.7, 6.3.9).
    bool cornerColumns = false;
    // Intensity 9: the joint cores of grade 1 are refused (their shear comes
    // from the beams' actual flexural capacities).
    bool intensityNine = false;
    // Storeys standing on the roof (屋顶间), counted down from the top: the
    // earthquake's effects in their members x 3, not passed down (GB 50011
    // 5.2.4, base shear method). 0: the top storey is the roof.
    int penthouseStoreys = 0;
};

struct EnvelopeResult {
    std::string setTitle; // "GB 55001-2021", "GB 50009-2012", or "自定义" for the user's own list
    std::vector<LoadCaseResult> cases; // G first, then Q and W as given
    std::vector<CombinationResult> combinations;
    EnvelopeOptions envelopeOptions;
    // The live-load layouts of the designed values (none without patterns).
    std::vector<LiveLoadPattern> patterns;
    // Q taken apart, when layouts were made: the envelope curves take every
    // layout from it.
    std::shared_ptr<const LiveLoadUnits> liveLoad;
    std::vector<BeamGoverning> beamGoverning;     // 1..NB
    std::vector<BeamSupportSagging> supportSagging; // 1..NB
    std::vector<ColumnGoverning> columnGoverning; // 1..NC; none for a continuous beam
    // Warnings on the cases and combinations, one text each.
    std::vector<std::string> warnings;
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
    // The seismic shear check of the joint on each column's top (1..NC);
    // empty where none is made.
    std::vector<JointCoreCheck> joints;

    const std::string& name(int combination) const
    {
        return combinations[static_cast<std::size_t>(combination)].combination.name;
    }
    // "1.3G+1.5Q" or, with a live-load layout, "1.3G+1.5Q[跨3]".
    std::string name(const Governing& g) const;
};

// Analyses every case, combines and designs. With a seismic grade 1..4 in
// the envelope options the seismic combinations get the capacity design of a
// frame structure of that grade before γRE, and their shears are designed by
// GB 50010-2010 11.3.4 and 11.4.7. The cases must have passed checkLoadCases. Throws Failure for an empty list of combinations, a
// combination naming a case that is not given, or a failure of the analysis
// or the design.
EnvelopeResult calculateEnvelope(const std::vector<LoadCaseInput>& cases,
                                 const std::vector<Combination>& combinations, const std::string& setTitle,
                                 const DesignOptions& options, const DesignRules& rules = defaultRules(),
                                 const EnvelopeOptions& envelopeOptions = {});

// The envelope of the forces along one member over every combination,
// before redistribution: at the stations of every combination, the largest
// and least moment and shear (both sides of a force); with live-load
// layouts, over every layout of Q as well (first-order forces, without etaS). For drawing the M and
// V envelopes as two curves each. pieces > 1 adds points evenly between
// two stations, for the curve of a moment under a distributed load.
struct EnvelopePoint {
    double x = 0;
    double Mmax = 0, Mmin = 0, Vmax = 0, Vmin = 0;
};
std::vector<EnvelopePoint> memberEnvelope(const EnvelopeResult& r, int member, int pieces = 1);

} // namespace kj
