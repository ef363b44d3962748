#pragma once
// Design strengths of the steel and the concrete of one calculation, taken
// from the steel strength Fy and the concrete grade number C of the frame
// data file.
#include "analysis/frame_data.h"
#include "design/design_options.h"

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

// Modulus of elasticity of the concrete of grade C, N/mm2: GB 50010-2010
// Table 4.1.5 for C15 to C80, the row chosen by concreteGradeIndex as for fc
// and ft (C22.5 takes C20's row). A grade outside the table (the default
// method's C10, or above C80) takes the formula the table is drawn from,
// Ec = 10^5 / (2.2 + 34.7 / fcu,k) (commentary on 4.1.5): C10 gets
// 1.7638e4. Throws Failure when C is not a positive finite number.
double concreteEc(double C);

// The constants for Fy and C. Throws Failure when Fy or C is not a positive
// finite number: no section can be designed with them.
MaterialConstants materialConstants(const Materials& materials);

// Refuses materials outside the range the rule set defines, naming the
// field and the range: the default method takes C 10 to 80 and Fy 210, 300
// or 360 (the strengths its tables know); GB 50010-2010 takes C15 to C80 in
// steps of 5 (4.1.4) and Fy 270, 300, 360 or 435 (4.2.3). Fy 400 is told
// that the design strength of HRB400 is 360. Throws Failure.
void checkMaterials(const Materials& materials, DesignCode code);

} // namespace kj
