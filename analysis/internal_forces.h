#pragma once
// Fixed-end moments, load vector, solution and the internal forces of every
// member: end moments, end shears, span moment and its position, column
// axial forces with the columns' own weight.
#include "analysis/frame_model.h"
#include "analysis/member_forces.h"

#include <functional>
#include <vector>

namespace kj {

// Internal-force record. Units kN, kN*m, m. Member-end moments clockwise
// positive; span moment sagging positive; axial force compression positive.
struct InternalForces {
    std::vector<double> M1, M2; // members 1..NB+NC (end 1 = left / top)
    std::vector<double> V1, V2; // beams 1..NB
    std::vector<double> Mo, X;  // beams 1..NB: span moment and its distance from the left end
    std::vector<double> R;      // nodes 1..NC: downward force delivered by the beams
    std::vector<double> N;      // nodes 1..NC: axial force at the foot of the column under the node

    // The unknowns as solved: rotations of nodes 1..NC, drifts of storeys
    // NC+1..NC+NF (index 0 unused), in the stiffness's units (B = b h^3 / len
    // in place of EI/L).
    std::vector<double> displacement;
    // The joint loads as applied after later groups replaced earlier ones:
    // moment and downward force at nodes 1..NC, shear of storeys 1..NF.
    std::vector<double> jointMoment, jointForce, storeyShear;
    // Internal forces along members 1..NB+NC.
    std::vector<MemberForces> along;
};

// Equilibrium of the solved frame, computed from the end forces. Each entry
// should be zero up to rounding.
struct EquilibriumResiduals {
    std::vector<double> joint;  // nodes 1..NC: end moments of the members meeting there plus the joint moment
    std::vector<double> storey; // storeys 1..NF: column shears minus the storey shear
    double vertical = 0;        // column axial forces at the ground minus every downward load and self-weight
    double largestEndForce = 0; // the largest |M1|, |M2|, |V1|, |V2| or |N|, for scale
    double largest() const;     // the largest |residual|
};
EquilibriumResiduals equilibriumResiduals(const FrameModel& model, const InternalForces& forces);

// The columns' own weight (kN) as the axial forces carry it, 30 kN/m3.
double columnSelfWeight(const Member& column);
// The weight the analysis of a model adds: columnSelfWeight, or 0 for a
// model analysed without it.
double appliedColumnWeight(const FrameModel& model, const Member& column);

// The stiffness of a model with the load vector its analysis solves for:
// the fixed-end moments of the beams and the joint loads.
StiffnessSystem loadedStiffness(const FrameModel& model);

// Runs the analysis of a model. Throws Failure on a singular system or a
// result that is not a finite number.
InternalForces analyse(const FrameModel& model);

// Solves the frame's stiffness for one load vector: P (indices 0..N, 0
// unused) holds the loads on entry and the displacements on return.
using LoadSolver = std::function<void(std::vector<double>& P)>;
// The analysis of a model whose stiffness the solver has already factored
// (many load sets on one frame): the same forces as analyse, the stiffness
// solved by the solver given.
InternalForces analyse(const FrameModel& model, const LoadSolver& solveLoads);

// Joint rotations and storey drifts in real units. The analysis solves
// with b h^3 / len in place of EI/len = Ec b h^3 / (12 len), every member
// alike, so each real displacement is the solved one x 12 / Ec.
struct Displacements {
    double Ec = 0;                  // modulus of elasticity, N/mm2
    std::vector<double> rotation;   // nodes 1..NC, rad, counter-clockwise positive
    std::vector<double> drift;      // storeys 1..NF, mm, the top against the foot, signed as the storey shear
    std::vector<double> driftRatio; // storeys 1..NF, drift / storey height
    bool empty() const { return rotation.empty(); }
};
// The displacements of forces.displacement for concrete of modulus Ec (N/mm2).
Displacements realDisplacements(const FrameModel& model, const InternalForces& forces, double Ec);

// Span analysis of one beam with end moments M1, M2: V1, V2, Mo and x.
struct SpanResult {
    double V1 = 0, V2 = 0, Mo = 0, x = 0;
};
SpanResult spanAnalysis(const std::vector<LoadEntry>& loads, double S, double M1, double M2);

} // namespace kj
