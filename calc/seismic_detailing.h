#pragma once
// The seismic detailing of frame beams and columns as designed (GB 50011-2010
// 6.3, GB 50010-2010 11.3.1, 11.3.6, 11.3.7, 11.4.12, 11.4.17): each check
// that fails gives a line with its reason, for the lines under the member's
// row; the densified zones are stated. The steel is not changed here.
#include "calc/calculation.h"

#include <string>
#include <vector>

namespace kj {

struct DetailingResult {
    std::vector<std::string> lines; // under the row: requirements and failures
    std::vector<std::string> failures; // the failed checks alone, for the JSON
};

// Beam i of a result designed by GB 50010-2010, of seismic grade 1..4. The
// bottom bars of the span are taken to run through both supports (the
// compression steel at the ends, and the bottom/top ratio).
DetailingResult beamSeismicDetailing(const CalculationResult& r, int beam, int grade);

// Column c: the least total steel (both faces as designed, the column taken
// as a middle or edge column: a plane frame cannot tell a corner column),
// the densified zones with bars of 20 mm, and the volumetric ratio of the
// chosen ties in the densified zone (a rectangular hoop with the tie legs in
// both directions) against λv at the axial ratio given.
DetailingResult columnSeismicDetailing(const CalculationResult& r, int column, int grade, double axialRatio);

} // namespace kj
