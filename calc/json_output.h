#pragma once
// The whole result of a calculation as JSON (UTF-8): geometry, loads,
// displacements, end forces, forces along every member, design records and
// equilibrium residuals, with the units and sign conventions stated.
#include "calc/calculation.h"

#include <string>

namespace kj {

inline constexpr const char* kResultSchema = "kjpj-result/2";

std::string resultJson(const CalculationResult& r);

} // namespace kj
