#pragma once
// Internal forces along one member, as a piecewise definition from which
// M(x), V(x) and N(x) can be evaluated anywhere. x runs from end 1 (the left
// end of a beam, the top of a column) to end 2. Units kN, kN*m, m.
//
// Signs: M is positive where it stretches the fibre on the right of the
// direction of travel from end 1 to end 2 (the bottom of a beam: sagging;
// the left side of a column); at x = 0 it equals the end moment M1 and at
// x = length it equals -M2 (end moments clockwise positive). V is the shear
// of the span walk, dM/dx. N is compression positive.
#include <vector>

namespace kj {

struct MemberForces {
    struct Load {
        double x0 = 0, x1 = 0; // loaded length from x0 to x1; x0 == x1 for a force
        double w = 0;          // kN/m over the length, or kN for a force; downward positive
    };
    double length = 0;
    double M1 = 0; // end moment at x = 0
    double V1 = 0; // shear just right of x = 0
    double N1 = 0, N2 = 0; // axial force at the ends, linear between them
    std::vector<Load> loads;
    double xMax = 0; // position of the span moment of a beam (the span walk's x)

    double M(double x) const;
    // Shear just right of x (just left of x when fromLeft is true).
    double V(double x, bool fromLeft = false) const;
    double N(double x) const;
    // The x a drawing needs, ascending and without repeats: both ends, the
    // ends of loaded lengths, the forces (where V has two values), xMax.
    std::vector<double> stations() const;
};

} // namespace kj
