#pragma once
// A design rule set: how one beam and one column end are designed from
// their forces. The calculation receives the rule set as a value; each rule
// set is one module of pure functions.
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "analysis/member_forces.h"
#include "design/design_options.h"
#include "design/design_records.h"

#include <optional>
#include <string>
#include <vector>

namespace kj {

// The forces of one beam from the analysis, unrounded: end moments
// (clockwise positive), end shears, span moment and its position.
struct BeamInput {
    int beam = 0; // 1..NB, for messages
    Member member;
    double M1 = 0, M2 = 0, V1 = 0, V2 = 0, Mo = 0, x = 0;
    // A beam of a continuous beam, an independent beam: GB 50010-2010 takes
    // the concrete share of its shear by 6.3.4 from its loads.
    bool independent = false;
    std::vector<MemberForces::Load> loads;
    // The largest moment of the span simply supported under the same
    // vertical loads (kN*m); 0 when not known.
    double simpleSpanMoment = 0;
    // The shear at the left or right support comes from a seismic
    // combination (already multiplied by γRE): GB 50010-2010 11.3.3 and 11.3.4.
    bool seismicLeft = false, seismicRight = false;
    // The loads of the right support's shear where they are not those of
    // the left (an envelope, whose two shears come from different states).
    std::optional<std::vector<MemberForces::Load>> rightLoads = std::nullopt;
};

// The forces of one column: end moments (clockwise positive), the axial
// force at the foot (compression positive), and where it stands.
struct ColumnInput {
    int column = 0; // 1..NC, for messages
    Member member;
    double Mtop = 0, Mbottom = 0, Nfoot = 0;
    bool bottomStorey = false;
    // The axial force at the top, given for combined load cases, where only
    // the dead load carries the column's own weight and with its own factor.
    // Absent, it is Nfoot less the column's own weight (30 kN/m3).
    std::optional<double> Ntop;
    // The clear height between the beams above and below (GB 50010-2010:
    // lc of 6.2.4, Hn of 6.3.12), m; 0: the storey height.
    double clearLength = 0;
    // From a seismic combination: the shear after capacity design (GB 50011
    // 6.2.5, with γRE), kN, and the shear by GB 50010-2010 11.4.6 to 11.4.8.
    std::optional<double> V = std::nullopt;
    bool seismic = false;
};

struct DesignRules {
    const char* name; // as the report and the calculation book name it
    // Throws Failure when the materials cannot be designed with.
    BeamDesign (*designBeam)(const BeamInput&, const Materials&, const DesignOptions&);
    ColumnDesign (*designColumn)(const ColumnInput&, const Materials&, const DesignOptions&);
    // Written before "Fy=" in the report's material line: empty for the
    // default method, whose line stays as it always was.
    const char* headingTag;
    // The lines under the material line that state what the rule set
    // assumed with these options (none for the default method).
    std::vector<std::string> (*assumptions)(const DesignOptions&);
    // The frame's sway is magnified by the storeys' etaS before the design
    // (GB 50010-2010 5.3.4, Appendix B.0.4).
    bool swaySecondOrder;
    // With redistribution (beta < 1) the span is designed for at least
    // minimumRedistributedSpanMoment of its simple-span moment.
    bool spanAtLeastHalfSimple = false;
    // With redistribution, a support whose redistributed section would have
    // xi above this keeps its whole moment (beta = 1); 0: no such limit.
    double redistributionXiLimit = 0;
};

// The line under a beam's row saying that a support (side "左" or "右")
// keeps its whole moment: xi after redistribution was above the limit.
std::string redistributionLimitNote(const char* side, double xi);

// JGJ 3-2010 5.2.3-4: after the support moments are redistributed, the
// span moment designed for is at least half the moment of the span simply
// supported under the vertical loads (kN*m).
inline double minimumRedistributedSpanMoment(double simpleSpanMoment) { return 0.5 * simpleSpanMoment; }

// The default method: fixed effective depths, fyv 210, the additional
// eccentricity of nearly axial loads.
const DesignRules& defaultRules();

// GB 50010-2010 (2015 edition): effective depths from the bars chosen,
// fyv 270 or 360, Cm-etaNs second-order effects (design/gb50010_2010.h).
const DesignRules& gb50010_2010Rules();

// The rule set of each choice.
const DesignRules& rulesFor(DesignCode code);

} // namespace kj
