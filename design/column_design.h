#pragma once
// Section design of a column end: rectangular section under eccentric
// compression with symmetric reinforcement (As = As').
#include "design/materials.h"

namespace kj {

// Effective length factor of a column: 1.25 in the bottom storey, 1.5 above.
double effectiveLengthFactor(bool bottomStorey);

// One-side steel area As (mm2) for the moment M (absolute value, kN*m) and
// the axial force N (kN, compression positive) on a b x h section (mm) with
// the effective length l0 (m). 9999 when the section cannot be designed:
// more than 2.5 % of b h on one side, no compression (N <= 0), or a section
// too shallow for its bar cover (h <= 80).
struct ColumnSteel {
    double As = 0;            // mm2 on each side
    double e0 = 0, ei = 0;    // mm
    double eta = 1, xi = 0;
};
ColumnSteel columnSteel(double M, double N, double b, double h, double l0, const MaterialConstants& mat);

} // namespace kj
