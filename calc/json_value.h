#pragma once
// The JSON view of a calculation result as a value, for views that nest it
// (the load cases of an envelope calculation).
#include "calc/calculation.h"

#include <nlohmann/json.hpp>

namespace kj {

// The object resultJson writes. A result whose beams were not designed (a
// load case analysed alone) has no "design" entries.
nlohmann::json resultJsonValue(const CalculationResult& r);

// The design record of one beam or column as resultJson writes it.
nlohmann::json beamDesignJson(const BeamDesign& d);
nlohmann::json columnDesignJson(const ColumnDesign& d);

// The storeys' sway magnifiers (1..NF; GB 50010-2010 B.0.4), with the
// combination of each where an envelope chose it.
nlohmann::json swayJson(const std::vector<SwayStorey>& storeys);

} // namespace kj
