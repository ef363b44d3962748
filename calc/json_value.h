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

} // namespace kj
