#pragma once
// The calculation as a pure function: a frame model and the design options
// in, one typed result out. It reads no file and writes no text; the report,
// the result files, JSON and the drawings are views of its result.
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"
#include "calc/sway.h"
#include "design/design_options.h"
#include "design/design_records.h"
#include "design/design_rules.h"

#include <string>
#include <vector>

namespace kj {

struct CalculationResult {
    FrameModel model;      // geometry, sections, loads as entries, joint-load groups
    Materials materials;   // Fy and C
    DesignOptions options;
    const DesignRules* rules = nullptr;
    InternalForces forces; // unrounded end forces, displacements, forces along every member
    EquilibriumResiduals residuals;
    // Joint rotations (rad), storey drifts (mm) and drift ratios with Ec of
    // the concrete grade (concreteEc); known once the materials are read,
    // empty for the envelope, which is no state of equilibrium.
    Displacements displacements;
    std::vector<BeamDesign> beams;     // 1..NB (index 0 unused)
    std::vector<ColumnDesign> columns; // 1..NC; none for a continuous beam, whose props are not designed
    // Rule sets that magnify the sway (GB 50010-2010): the storeys' etaS,
    // 1..NF (index 0 unused); empty otherwise. The designs take the forces
    // so magnified; forces keeps the first-order analysis.
    std::vector<SwayStorey> sway;
    // Why the beams carry no serviceability record where the rule set checks
    // them (kServiceabilityNeedsCharacteristicLoads); empty otherwise.
    std::string serviceabilityNote;

    const FrameTopology& topo() const { return model.topo; }
};

// A frame's own loads (a frame data file's) are design values for strength:
// the crack widths and deflections of GB 50010-2010 need characteristic
// loads, which only load cases or a project file give.
inline constexpr const char* kServiceabilityNeedsCharacteristicLoads =
    "正常使用验算需要荷载标准值, 请按工况 (G, Q) 或项目文件给出";

// Analyses the frame and designs its beams and columns with the rule set
// given, or else with the one the options choose, its loads taken as design
// values: no serviceability check (GB 50010-2010 leaves serviceabilityNote
// saying why). Throws Failure with a
// Chinese message naming what is wrong: a singular frame, a result that is
// not a finite number, record 6 missing or unusable, materials the rule set
// does not cover.
CalculationResult calculate(const FrameModel& model, const DesignOptions& options, const DesignRules& rules);
CalculationResult calculate(const FrameModel& model, const DesignOptions& options);

// The largest sagging moment along a beam (kN*m) and where it acts (m from
// the left end): over both ends, the ends of every loaded length and force,
// and the zero-shear sections between them. Ties go to the section nearest
// the left end.
struct SpanMoment {
    double M = 0, x = 0;
};
SpanMoment largestSagging(const MemberForces& a);

// The largest moment of a simply supported span of the length given under
// the loads given (kN*m).
double simpleSpanMoment(const std::vector<MemberForces::Load>& loads, double length);

// The clear height of column c (1..NC), m: the storey height less the
// depth of the deepest beam at its top joint (storey heights run to the top
// of the floor beams).
double columnClearLength(const FrameModel& model, int column);

// The serviceability checks of a calculated frame whose loads are all
// permanent characteristic values (a project's dead load G alone): its own
// forces are the quasi-permanent ones. Nothing for another rule set.
void checkPermanentLoadServiceability(CalculationResult& r);

// Designs every beam and, unless the frame is a continuous beam, every
// column of r from its forces, materials and options.
void designMembers(CalculationResult& r, const DesignRules& rules);

} // namespace kj
