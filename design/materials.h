#pragma once
// Design strengths of the steel and the concrete of one calculation, taken
// from the steel strength Fy and the concrete grade number C of the frame
// data file.
#include "analysis/frame_data.h"

namespace kj {

struct MaterialConstants {
    double fy = 0;   // main bars, N/mm2
    double fyv = 0;  // stirrups, N/mm2
    double xib = 0;  // relative balanced depth of the compression zone
    double fcf = 0;  // concrete strength of the flexure formulas, N/mm2
    double fc = 0;   // concrete compressive strength by grade (shear limit, column factor)
    double ft = 0;   // concrete tensile strength by grade (shear formulas)
};

// Grade index of a concrete grade number: C/5 - 2 rounded halves to even
// (C15 -> 1 ... C80 -> 14).
int concreteGradeIndex(double C);

// The constants for Fy and C. Throws Failure when Fy or C is not a positive
// finite number: no section can be designed with them.
MaterialConstants materialConstants(const Materials& materials);

// GB 50010-2010 Table 4.1.5: elastic modulus Ec of the grade C15 ... C80,
// N/mm2; 0 for a grade the table does not hold.
double concreteEc(double C);

} // namespace kj
