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

// The design rule set of a calculation: the default method, or the rules of
// GB 50010-2010 (2015 edition).
enum class DesignCode { Default, Gb50010_2010 };

// The floors of the frame, which set the effective length of its columns
// (GB 50010-2010 6.2.20-2).
enum class FloorKind { CastInPlace, Precast };

// The environment class of GB 50010-2010 Table 3.5.2 that sets the least
// concrete cover (8.2.1): 一类, 二a, 二b.
enum class EnvironmentClass { One, TwoA, TwoB };

struct DesignOptions {
    DesignCode code = DesignCode::Default;
    double beta = 1.0;  // redistribution factor of the support moments, 0 < beta <= 1
    // Cover, mm: of the main bars in the default method; of the outermost
    // steel, the stirrups, in GB 50010-2010 (8.2.1).
    double cover = 25;
    std::optional<ChosenBars> topBars;    // continuous top bars
    std::optional<ChosenBars> bottomBars; // continuous bottom bars
    std::optional<int> stirrupLegs;       // least number of stirrup legs
    std::optional<double> stirrupDiameter; // starting stirrup diameter, mm
    // GB 50010-2010 only (the default method takes fyv = 210 and its own
    // effective lengths): stirrup strength in shear, N/mm2 (270 or 360), and
    // the floors.
    double fyv = 270;
    FloorKind floors = FloorKind::CastInPlace;
    EnvironmentClass environment = EnvironmentClass::One;
    // GB 50010-2010 serviceability: the quasi-permanent factor psi_q of the
    // live load in G + psi_q Q (0.4: offices and homes, GB 55001).
    double quasiPermanentFactor = 0.4;
};

} // namespace kj
