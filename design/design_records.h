#pragma once
// What the section design decided for every beam and column: the values it
// designed for, the steel it found and the bars it chose. Values are as the
// rule set used them (the default method designs the supports for their
// rounded moments); the report rounds for display.
#include "design/beam_design.h"

#include <string>

namespace kj {

// One support of a beam, or its span.
struct BeamSectionDesign {
    double M = 0;   // design moment, kN*m: after redistribution at a support, with the shed moment in the span
    double V = 0;   // design shear at a support, kN
    double x = 0;   // span: position of the span moment from the left end, m
    double h0 = 0;  // effective depth used for the flexure, mm
    double As = 0;  // tension steel, mm2 (9999: the section cannot be designed)
    double AsComp = 0; // compression steel As', mm2
    double asvs = 0;   // support: stirrup area per length Asv/s, mm2/mm (0: section too small for the shear)
    Stirrups stirrups; // support: chosen stirrups (32@50: section too small for the shear)
    BarArrangement bars;
    std::string barString, stirrupString;
    bool failed() const { return As >= kFailedArea; }
    bool shearFailed() const { return !(asvs > 0); }
};

struct BeamDesign {
    bool designed = false;
    std::string skipReason; // why a beam is not designed
    double b = 0, h = 0;    // section, mm
    BeamSectionDesign left, right, span;
};

// One end of a column.
struct ColumnEndDesign {
    double M = 0;   // end moment as designed, kN*m (rounded by the default method)
    double N = 0;   // axial force at that end, kN, compression positive
    double e0 = 0;  // M/N, mm
    double ei = 0;  // eccentricity with the additional or accidental eccentricity, mm
    double eta = 1; // magnifier of the eccentricity
    double xi = 0;  // relative depth of the compression zone
    double As = 0;  // steel on each side, As = As', mm2 (9999: the section cannot be designed)
    bool failed() const { return As >= kFailedArea; }
};

struct ColumnDesign {
    bool designed = false;
    std::string skipReason;
    double b = 0, h = 0; // section, mm
    double l0 = 0;       // effective length, m
    ColumnEndDesign top, bottom;
};

} // namespace kj
