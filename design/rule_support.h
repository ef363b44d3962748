#pragma once
// Small pieces every rule set uses: member names for messages and the
// finiteness checks before a section is designed.
#include "design/beam_design.h"

#include <cmath>
#include <initializer_list>
#include <string>

namespace kj {

inline std::string beamName(int i) { return "第 " + std::to_string(i) + " 号梁"; }
inline std::string columnName(int j) { return "第 " + std::to_string(j) + " 号柱"; }

inline bool allFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

inline bool finiteBars(const BarArrangement& r) { return allFinite({r.n, r.d, r.k, r.e, r.outer, r.second}); }

} // namespace kj
