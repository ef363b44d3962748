#pragma once
// Section design of one beam: longitudinal steel for bending, stirrups for
// shear, and a practical choice of continuous and additional bars.
// Forces in kN and kN*m, section sizes in mm, steel areas in mm2.
#include "design/design_options.h"
#include "design/materials.h"

#include <optional>
#include <string>

namespace kj {

// Steel area reported for a section that cannot be designed.
inline constexpr double kFailedArea = 9999;

struct FlexureResult {
    double As = 0;      // tension steel, 9999 when the section fails
    double AsComp = 0;  // compression steel As'
    double h0 = 0;      // effective depth used, mm
};

// Tension and compression steel for the moment M (absolute value, kN*m) on
// a b x h section. Compression steel is added in steps of 95 mm2 while the
// compression zone is deeper than the balanced one.
FlexureResult flexureDesign(double M, double b, double h, const MaterialConstants& mat);

// Stirrup area per unit length Asv/s (mm2/mm) for the shear V (absolute
// value, kN). 0 means the section is too small for its shear.
double shearDesign(double V, double b, double h, const MaterialConstants& mat);

struct Stirrups {
    int legs = 0;
    int diameter = 0;
    int spacing = 0;
};

// Stirrups for Asv/s (already rounded to 0.01; 0 = section too small) on a
// section of width b, with the least number of legs and the starting
// diameter chosen by the user (absent: by the width, and from 2 mm).
Stirrups chooseStirrups(double asvs, double b, std::optional<int> legs, std::optional<double> diameter);

// "2*8@150"
std::string stirrupString(const Stirrups& s);

enum class BarPosition { Top, Bottom };

struct BarArrangement {
    double n = 0;  // continuous bars
    double d = 0;  // their diameter, mm
    double k = 0;  // additional bars
    double e = 0;  // their diameter, mm
    double outer = 0;  // bars in the outer layer (top layer at a support, bottom layer in the span)
    double second = 0; // bars in the second layer
    double third = 0;  // GB 50010-2010: bars in a third layer, at twice the spacing (9.2.1-3)
    bool searchFailed = false; // no standard size fitted; additional bars of diameter d
    bool tooMany = false; // GB 50010-2010: more bars than three layers of the width hold
    double widthNeeded = 0; // GB 50010-2010, when tooMany: the beam width these bars need, mm (0: not known)
};

// The diameter of the continuous bars the program starts from, by the beam
// depth h (mm): 12 below 250, 14 below 500, 16 below 700, 18 below 900, else 20.
double continuousBarDiameter(double h);

// The continuous and the additional bars for the steel area As, without
// their layers. The additional bars are the fewest of a standard size close
// to the continuous ones that give fullArea ? 100 % : 95 % of the area past
// the continuous bars (the default method takes 95 %).
BarArrangement chooseBarSizes(double As, double b, double h, const std::optional<ChosenBars>& chosen, bool fullArea);

// Area of the bars, mm2.
double barArea(const BarArrangement& bars);

// Bars for the steel area As on a b x h section with the cover c; the
// continuous bars chosen by the user belong to the position (top bars at a
// support, bottom bars in the span); absent, the program chooses them.
BarArrangement arrangeBars(double As, double b, double h, double cover, BarPosition position,
                           const std::optional<ChosenBars>& chosen);

// The bar string: n,d+k,e outer/second at a support, second/outer in the span.
std::string barString(const BarArrangement& bars, BarPosition position);

} // namespace kj
