#pragma once
// The fixed texts of the reference pane: the usage text, the common loads
// table and the rebar area table. Lines joined by CR LF, no final line end.
#include <string>

namespace kj {

std::string usageText();
std::string commonLoadsText();
// One row per bar diameter 6 to 25 mm: areas of 1 to 9 bars in mm² and the
// mass per metre in kg/m, computed from the diameter.
std::string rebarAreaText();

} // namespace kj
