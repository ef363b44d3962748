#pragma once
// The deflected shape of a solved frame, for drawing. Displacements are in
// the stiffness's own units: the analysis uses B = b h^3 / len in place of
// EI / L, so rotations, drifts and deflections share one arbitrary scale
// (the true values need the modulus of elasticity). Joints do not move
// vertically (members do not shorten); level J sways by the drifts of the
// storeys from J down to the ground.
//
// Along every member the deflection w toward the right of the direction of
// travel (from end 1 to end 2) satisfies w'' = -M(x) / B with B = b h^3 x the member's stiffness
// factor (Member::bending) and M as
// the member's bending moment (tension on that right side positive) and w
// at the ends given by the sways; integrated exactly over the pieces between
// the member's stations, it holds the end rotations and, for beams, the
// particular solution of the span loads.
#include "calc/calculation.h"

#include <vector>

namespace kjd {

struct DeflectedMember {
    std::vector<double> s;     // positions along the member from end 1, m
    std::vector<double> dx, dy; // displacement of the member's axis there: right and up
    std::vector<double> slope;  // dw/ds, w toward the right of travel
};

struct DeflectedShape {
    std::vector<double> sway;              // levels 1..NF+1 (NF+1 = ground, 0): horizontal, right positive
    std::vector<DeflectedMember> members;  // 1..NB+NC (index 0 unused)
    double largest = 0;                    // largest displacement of any point
};

// pieces: points along a member (at least two between two stations).
DeflectedShape deflectedShape(const kj::CalculationResult& r, int pieces = 32);

} // namespace kjd
