#pragma once
// The seismic combinations of a frame and the seismic adjustment of the
// forces a seismic combination designs for.
#include "analysis/frame_model.h"
#include "calc/combinations.h"
#include "calc/envelope.h"

#include <string>
#include <vector>

namespace kj {

// The seismic combinations S = γG SGE ± γEh SEhk with GE = G + 0.5 Q (Q
// only when given), the wind not combined (ψw = 0 for ordinary buildings):
// with the set GB55001 the factors of GB 55002-2021 4.3.2 (1.3GE ± 1.4E,
// 1.0GE ± 1.4E where gravity helps), with GB50009 those of GB 50011-2010
// 5.4.1 (1.2GE ± 1.3E, 1.0GE ± 1.3E). Throws Failure for another set key.
std::vector<Combination> seismicCombinations(const std::string& setKey, bool liveLoadGiven);

// The axial compression ratio N / (fc A) of a column: N in kN, fc in N/mm2,
// the section in m.
double axialCompressionRatio(double N, const Member& column, double fc);

// GB 50011-2010 5.4.2, S <= R / γRE, designed as γRE S: the beams' moments
// x 0.75 and shears x 0.85; the columns' moments and axial forces x 0.75
// below an axial compression ratio of 0.15 (the larger |N| of the two ends
// over fc A), else x 0.80. fc in N/mm2.
void applySeismicAdjustment(CombinationResult& combination, const FrameModel& model, double fc);

} // namespace kj
