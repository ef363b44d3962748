#pragma once
// The seismic detailing of frame beams and columns (GB 50011-2010 6.3, GB
// 50010-2010 11.3.1, 11.3.6, 11.3.7, 11.4.12, 11.4.17). A frame designed for
// seismic combinations is first given the steel the detailing asks for
// (applySeismicDetailing); the checks then state the densified zones, and
// give a line with its reason for each requirement still not met.
#include "calc/calculation.h"

#include <string>
#include <vector>

namespace kj {

struct EnvelopeResult;

// Raises the envelope's beams and columns, designed by GB 50010-2010 with
// seismic combinations of grade 1..4, to the steel the detailing asks for,
// with a line under the member's row for each change ("抗震构造: …"); the
// bars, stirrups and ties are chosen as the rule set chooses them. Steel is
// never lowered. Nothing changes without a seismic combination.
// Beams: the top steel at each support and the bottom steel of the span at
// least Table 11.3.6-1; the span's bottom bars, which run through both
// supports, at least 0.5 (grade 1) or 0.3 (grades 2, 3) of the top bars at
// each end (11.3.6 item 2) and enough to keep ξ at each end, counting them as
// compression steel, within 0.25 or 0.35 (11.3.1); a section too small for
// that says so. The support stirrups within the spacing and diameter of Table
// 11.3.6-2, the top bars laid again inside thicker stirrups. Once the bars
// are chosen, each end records the ξ and x of 11.3.1 at its final h0 with
// the bottom bars provided as compression steel, and their as'.
// Columns: both faces raised to the least total steel of Table 11.4.12-1
// (middle or edge column; the corner row for a corner column); the ties to the spacing and diameter of Table
// 11.4.12-2 (the stricter foot zone for a ground-storey column) and to the
// volumetric ratio of 11.4.17 at the column's axial ratio, with the tie legs
// taken in both directions of a rectangular hoop.
void applySeismicDetailing(EnvelopeResult& r);

struct DetailingResult {
    std::vector<std::string> lines; // under the row: requirements and failures
    std::vector<std::string> failures; // the failed checks alone, for the JSON
};

// Beam i of a result designed by GB 50010-2010, of seismic grade 1..4. The
// bottom bars of the span are taken to run through both supports (the
// compression steel at the ends, and the bottom/top ratio).
DetailingResult beamSeismicDetailing(const CalculationResult& r, int beam, int grade);

// Whether column c of the envelope is designed as a corner column: the
// project says its outer column lines are corner columns (a plane frame
// cannot tell them itself), and c stands on one of them.
bool designedAsCornerColumn(const EnvelopeResult& r, int column);

// Column c: the least total steel (both faces as designed, the column taken
// as a middle or edge column, or as a corner column when told), the
// densified zones with bars of 20 mm (a corner column of grade 1 or 2 over
// its whole height), and the volumetric ratio of the chosen ties in the
// densified zone (a rectangular hoop with the tie legs in both directions)
// against λv at the axial ratio given.
DetailingResult columnSeismicDetailing(const CalculationResult& r, int column, int grade, double axialRatio,
                                       bool corner = false);

} // namespace kj
