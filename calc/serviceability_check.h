#pragma once
// Serviceability of a frame designed by GB 50010-2010: the crack width at
// both supports and in the span of every designed beam and the deflection
// of its span under the quasi-permanent combination, on the bars the design
// provides (design/serviceability.h); the storey drifts under the wind.
#include "calc/calculation.h"

#include <string>
#include <vector>

namespace kj {

// Puts the serviceability record into every designed beam of r, from the
// forces of the quasi-permanent combination (end moments, the moment along
// each beam, the joints' rotations). Support moments are taken at the
// joints, before any redistribution. The characteristic forces (G + Q)
// give each section's Mk for reference; absent, Mk = Mq. Does nothing for
// another rule set or materials outside the tables of GB 50010-2010.
void checkBeamServiceability(CalculationResult& r, const InternalForces& quasiPermanent,
                             const InternalForces* characteristic = nullptr);

// Storey drift ratio of a reinforced concrete frame under the
// characteristic wind, not above 1/550 (JGJ 3-2010 3.7.3; the same limit as
// GB 50011-2010 Table 5.5.1).
inline constexpr double kFrameDriftLimit = 1.0 / 550;

struct StoreyDrift {
    int storey = 0;     // from the ground, 1 = the ground storey
    double height = 0;  // m
    double drift = 0;   // mm, positive to the right
    double ratio = 0;   // |drift| / height
    bool passes() const { return ratio <= kFrameDriftLimit; }
};

// The drift of every storey under the wind case's forces alone, from the
// ground storey up.
std::vector<StoreyDrift> storeyDrifts(const CalculationResult& r, const InternalForces& wind);

} // namespace kj
