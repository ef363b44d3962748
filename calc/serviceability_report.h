#pragma once
// The report's serviceability tables of a GB 50010-2010 design: crack width
// and deflection per beam, the worst beam's numbers, and the storey drifts
// under the wind.
#include "calc/calculation.h"
#include "calc/serviceability_check.h"
#include "common/report_writer.h"

#include <string>
#include <vector>

namespace kj {

// Writes nothing when no beam of r carries a serviceability record (another
// rule set). quasiPermanent names the combination ("1.0G+0.4Q"; empty: the
// frame's own loads taken as permanent); drifts may be empty (no wind).
void writeServiceabilityTables(ReportWriter& w, const CalculationResult& r, const std::string& quasiPermanent,
                               const std::vector<StoreyDrift>& drifts);

// The share of the designed beams that fail a crack or deflection check
// (0 when none is checked).
struct ServiceabilityCount {
    int checked = 0, failing = 0;
};
ServiceabilityCount countFailingBeams(const CalculationResult& r);

} // namespace kj
