#pragma once
// The live load Q taken apart for its layouts: the load of every beam
// analysed once on its own against one factorisation of the stiffness, and
// Q's joint loads, which stay in every layout. The analysis is linear, so a
// layout's forces are the sum of the parts it loads.
#include "analysis/frame_model.h"
#include "analysis/member_forces.h"

#include <cstddef>
#include <vector>

namespace kj {

// The end forces of one part: end moments of every member, end shears of
// the beams, axial forces at the column feet.
struct UnitForces {
    std::vector<double> M1, M2, V1, V2, N;
};

struct LiveLoadUnits {
    std::vector<int> beams;        // the beam of each unit
    std::vector<UnitForces> units; // the forces of its load alone
    UnitForces rest;               // Q's joint loads, in every layout

    // A value of a layout (loaded: beams 1..NB, index 0 unused).
    double sum(const std::vector<char>& loaded, std::vector<double> UnitForces::*field, int i) const
    {
        double v = (rest.*field)[static_cast<std::size_t>(i)];
        for (std::size_t u = 0; u < units.size(); ++u)
            if (loaded[static_cast<std::size_t>(beams[u])]) v += (units[u].*field)[static_cast<std::size_t>(i)];
        return v;
    }
    // The layout of the beams whose loads add to a value: contribution(u,
    // beam) is the value unit u gives.
    template <class Contribution>
    std::vector<char> layout(int NB, Contribution contribution) const
    {
        std::vector<char> loaded(static_cast<std::size_t>(NB) + 1, 0);
        for (std::size_t u = 0; u < units.size(); ++u)
            if (contribution(units[u], beams[u]) > 0) loaded[static_cast<std::size_t>(beams[u])] = 1;
        return loaded;
    }
};

// Q of a frame already analysed (so its stiffness is not singular) taken
// apart. Throws Failure naming the file if the factorisation fails.
LiveLoadUnits liveLoadUnits(const FrameModel& q);

// The forces of a layout along one beam: its end forces summed, and its own
// loads (those of full, Q as given) when it is loaded.
MemberForces layoutAlong(const LiveLoadUnits& q, const std::vector<char>& loaded, const MemberForces& full, int beam);

// The forces of unit u alone along a member: full is Q as given on that
// member, whose loads the unit carries when the member is its beam.
MemberForces unitAlong(const LiveLoadUnits& q, std::size_t u, const MemberForces& full, int member, bool isBeam);

} // namespace kj
