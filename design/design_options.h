#pragma once
// The design settings of one calculation as typed values. They come from the
// texts of the main window's boxes or the batch command's options, parsed
// once at the edge; the design never sees a box text.
#include <optional>

namespace kj {

// Continuous bars typed by the user: a count and a diameter (mm). Absent
// when the program chooses them.
struct ChosenBars {
    double count = 0;
    double diameter = 0;
};

struct DesignOptions {
    double beta = 1.0;  // redistribution factor of the support moments, 0 < beta <= 1
    double cover = 25;  // cover of the main bars, mm
    std::optional<ChosenBars> topBars;    // continuous top bars
    std::optional<ChosenBars> bottomBars; // continuous bottom bars
    std::optional<int> stirrupLegs;       // least number of stirrup legs
    std::optional<double> stirrupDiameter; // starting stirrup diameter, mm
};

} // namespace kj
