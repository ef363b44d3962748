#pragma once
// Fixed-end moments, load vector, solution and the internal forces of every
// member: end moments, end shears, span moment and its position, column
// axial forces with the columns' own weight.
#include "analysis/frame_model.h"

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
};

// Runs the analysis of a model. Throws Failure on a singular system or a
// result that is not a finite number.
InternalForces analyse(const FrameModel& model);

// Span analysis of one beam with end moments M1, M2: V1, V2, Mo and x.
struct SpanResult {
    double V1 = 0, V2 = 0, Mo = 0, x = 0;
};
SpanResult spanAnalysis(const std::vector<LoadEntry>& loads, double S, double M1, double M2);

} // namespace kj
