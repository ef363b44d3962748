#pragma once
// The second-order effect of the storeys' sway by the magnifier method of
// GB 50010-2010 (5.3.4, Appendix B.0.4): M = Mns + etaS Ms, with Ms the
// moments of the horizontal storey forces and etaS = 1 / (1 - sum N / (D H0))
// per storey, D from the frame with the stiffness reductions of B.0.5.
// Before the magnifier, every storey must be laterally stiff enough for the
// gravity it carries (JGJ 3-2010 5.4.4, formula 5.4.4-2 for frames):
// Di >= 10 sum Gj / hi, Di the elastic storey stiffness.
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kj {

struct SwayStorey {
    int storey = 0;     // 1..NF, from the top
    double sumN = 0;    // sum of the axial forces of the storey's columns (at their feet), kN
    double D = 0;       // lateral stiffness of the storey, storey shear / drift, kN/m, stiffness reduced by B.0.5
    double H0 = 0;      // storey height, m
    double etaS = 1;    // B.0.4-3
    // JGJ 3-2010 5.4.4-2: the elastic stiffness Di (kN/m, storey shear /
    // drift, stiffness not reduced) against 10 sum Gj / hi, sum Gj the
    // gravity design load of the storey and those above: the storey's sumN.
    double elasticD = 0;
    double stabilityLimit = 0; // 10 sumN / H0, kN/m
    // The storey carries no horizontal force in this state: D and Di come
    // from a unit shear in every storey.
    bool unitShears = false;
    // For an envelope: the combination whose etaS this is (the largest of
    // the storey's); empty for one calculation.
    std::string governing;
    // In an envelope: the combination of the least margin of the stability
    // check, whose elasticD and stabilityLimit these are; empty where it is
    // the governing one of etaS.
    std::string stabilityGoverning;
};

struct SwayEffect {
    std::vector<SwayStorey> storeys; // 1..NF (index 0 unused)
    // The moments and shears of the horizontal storey forces alone, from the
    // first-order analysis: Ms of every member, Vs of every beam.
    InternalForces horizontal;
    bool loaded = false; // the frame carries horizontal forces
};

// What one load case gives the sway effect, and a combination of cases adds
// up factor by factor (the analysis is linear): the forces of its horizontal
// storey forces alone, and under them, with the stiffness reduced by B.0.5,
// the storey shears and drifts.
struct SwayLoading {
    InternalForces horizontal;
    std::vector<double> shear; // 1..NF, kN, reduced stiffness
    std::vector<double> drift; // 1..NF, m, reduced stiffness
    std::vector<double> elasticDrift; // 1..NF, m, the stiffness not reduced
};

// JGJ 3-2010 5.4.4, formula 5.4.4-2 (frames): the least elastic lateral
// stiffness of a storey of height h (m) carrying the gravity design load
// sumG (kN) of itself and the storeys above, Di >= 10 sumG / h, kN/m.
inline constexpr double kFrameStabilityFactor = 10;
inline double frameStabilityStiffness(double sumG, double h) { return kFrameStabilityFactor * sumG / h; }

// The sway loading of the model's horizontal storey forces, or, with
// unitShears, of a unit shear in every storey (for D where a storey carries
// no horizontal force).
SwayLoading swayLoading(const FrameModel& model, double Ec, bool unitShears = false);

// The storeys' magnifiers under the axial forces N (1..NC, compression
// positive) and the sum of factor x loading; unit is the unit-shear loading,
// made on first need. The horizontal forces of the result are left empty:
// the caller combines them. Throws Failure as swayEffect.
SwayEffect combinedSway(const FrameModel& model, const std::vector<double>& N,
                        const std::vector<std::pair<double, const SwayLoading*>>& terms, double Ec,
                        std::optional<SwayLoading>& unit);

// The storeys' magnifiers of a frame (not a continuous beam) whose
// first-order analysis gave forces, with concrete of modulus Ec (N/mm2).
// Where the frame has no horizontal force in some storey, D comes from a
// unit shear in every storey. Throws Failure naming the storey (from the
// ground) whose stiffness D is not above zero, whose elastic stiffness falls
// short of 10 sum N / H0 (JGJ 3-2010 5.4.4), or whose sum N reaches D H0.
SwayEffect swayEffect(const FrameModel& model, const InternalForces& forces, double Ec);

// The forces for design: M = Mns + etaS Ms at the column ends (the storey's
// etaS) and at the beam ends (the mean of the storeys above and below the
// joint, B.0.4), the beams' shears and span moments changed alike.
InternalForces magnifiedForces(const FrameModel& model, const InternalForces& forces, const SwayEffect& sway);

// etaS of a beam's joints: the storey below the beam's level and, where there
// is one, the storey above, averaged.
double beamSwayFactor(const FrameModel& model, const SwayEffect& sway, int beam);

} // namespace kj
