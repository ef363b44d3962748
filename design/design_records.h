#pragma once
// What the section design decided for every beam and column: the values it
// designed for, the steel it found and the bars it chose. Values are as the
// rule set used them (the default method designs the supports for their
// rounded moments); the report rounds for display.
#include "design/beam_design.h"

#include <optional>
#include <string>
#include <vector>

namespace kj {

// One support of a beam, or its span.
struct BeamSectionDesign {
    double M = 0;   // design moment, kN*m: after redistribution at a support, with the shed moment in the span
    double V = 0;   // design shear at a support, kN
    double x = 0;   // span: position of the span moment from the left end, m
    double h0 = 0;  // effective depth used for the flexure, mm
    double As = 0;  // tension steel, mm2 (9999: the section cannot be designed)
    double AsComp = 0; // compression steel As', mm2
    // Support: stirrup area per length Asv/s the shear needs, mm2/mm. The
    // default method gives 0 only for a section too small for its shear; in
    // GB 50010-2010 it is also 0 where the concrete alone carries the shear
    // (V <= 0.7 ft b h0) and the stirrups follow 9.2.9.
    double asvs = 0;
    bool shearTooSmall = false; // support: the section is too small for its shear
    Stirrups stirrups; // support: chosen stirrups (32@50: section too small for the shear)
    BarArrangement bars;
    std::string barString, stirrupString;
    // GB 50010-2010, for the checker (0 and empty in the default method):
    double zoneDepth = 0; // x, mm
    double xi = 0;        // x / h0
    double asComp = 0;    // compression face to the compression steel As', mm
    double stirrup = 0;   // stirrup diameter the bars are laid inside, mm
    double beta = 1;      // redistribution factor applied (support)
    double alphaCv = 0;   // support: 6.3.4 factor of the concrete share
    std::string governs;  // the check that governs the steel
    std::string failure;  // why As is 9999, in words
    bool failed() const { return As >= kFailedArea; }
    bool shearFailed() const { return shearTooSmall; }
};

// The crack check of one beam section under the quasi-permanent
// combination, on the bars provided (GB 50010-2010 7.1.2).
struct SectionCrackCheck {
    bool checked = false;
    std::string noCheck; // why there is no check: "配筋失败 (9999)", "无实配钢筋"
    // Quasi-permanent moment, kN*m: positive where it stretches the
    // section's bars (hogging at a support, sagging in the span).
    // A support whose Mq sags is checked with its bottom bars (the span's
    // continuous bars anchored in the joint) and Mq is the sagging moment.
    double Mq = 0;
    bool bottomBars = false; // a support checked with its bottom bars
    double Mk = 0;   // the same under the characteristic combination G + Q, for reference, kN*m
    double As = 0;   // provided tension steel, mm2
    double h0 = 0;   // mm
    double cs = 0, deq = 0; // mm (cs before the limits of 7.1.2)
    double sigmaSq = 0, rhoTe = 0, psi = 0;
    double wmax = 0; // mm
};

// Crack widths and the deflection of a beam (GB 50010-2010 7.1, 7.2, 3.4).
struct BeamServiceability {
    SectionCrackCheck left, right, span;
    double wlim = 0; // Table 3.4.5, mm
    bool deflectionChecked = false;
    std::string noDeflection; // why there is no deflection check ("跨中配筋失败 (9999)")
    double B = 0;            // long-term stiffness of the span at its largest sagging moment (of the governing support where nothing sags), kN*m2
    double Bs = 0, theta = 0; // 7.2.3-1 (kN*m2) and 7.2.5 of the section giving B
    // 7.2.1: the long-term stiffness of the support sections of the hogging
    // stretches, kN*m2 (0: the support has no hogging stretch), and whether
    // the span is computed with the one stiffness B or stretch by stretch.
    double Bleft = 0, Bright = 0;
    enum class Stiffness {
        Sagging,      // the span sags throughout (or hogs only inside it): B
        Uniform,      // every support's stiffness within B/2 ... 2B: B throughout
        Variable,     // each stretch its own section's stiffness
        HoggingLeft,  // the span hogs throughout: B of the left support
        HoggingRight, // ... of the right support
    };
    Stiffness stiffness = Stiffness::Sagging;
    double deflection = 0;   // largest, from the chord between the joints, of the span's own Mq / B, mm
    double xDeflection = 0;  // its position from the left end, m
    double deflectionLimit = 0; // Table 3.4.3, mm
    double l0 = 0;           // span, m
    bool crackPasses(const SectionCrackCheck& s) const { return !s.checked || s.wmax <= wlim; }
    bool deflectionPasses() const { return !deflectionChecked || deflection <= deflectionLimit; }
    bool passes() const
    {
        return crackPasses(left) && crackPasses(right) && crackPasses(span) && deflectionPasses();
    }
};

struct BeamDesign {
    bool designed = false;
    std::string skipReason; // why a beam is not designed
    double b = 0, h = 0;    // section, mm
    BeamSectionDesign left, right, span;
    // Lines the report writes under the beam's rows (GB 50010-2010: flags,
    // redistribution given up, layouts kept for their depth).
    std::vector<std::string> notes;
    // GB 50010-2010 only: the checks under the quasi-permanent combination.
    std::optional<BeamServiceability> serviceability;
};

// One end of a column.
struct ColumnEndDesign {
    double M = 0;   // end moment from the analysis, kN*m, before any second-order factor (rounded by the default method)
    double N = 0;   // axial force at that end, kN, compression positive
    // Second-order magnifier. Default method: of the eccentricity ei, the
    // section taking eta ei. GB 50010-2010: Cm etaNs of 6.2.4 on the end
    // moment (1 at the end of the smaller moment and where 6.2.3 exempts the
    // member), already inside e0 and ei.
    double eta = 1;
    double e0 = 0;  // M/N, mm; GB 50010-2010: with M times eta (6.2.17)
    double ea = 0;  // GB 50010-2010 6.2.5 additional eccentricity max(20, h/30), mm; 0 in the default method
    // Eccentricity with the additional eccentricity, mm: default method e0
    // plus 0.12 (0.3 h0 - e0) for nearly axial loads; GB 50010-2010 e0 + ea.
    double ei = 0;
    double xi = 0;  // relative depth of the compression zone
    double As = 0;  // steel on each side, As = As', mm2 (9999: the section cannot be designed)
    std::string failure; // why As is 9999, in words (GB 50010-2010); empty otherwise
    // GB 50010-2010, for the checker (the default method leaves them):
    double Cm = 1, etaNs = 1; // 6.2.4 factors of the member (applied at the M2 end only, in eta)
    double etaS = 1;          // 5.3.4 / B.0.4 sway magnifier of the storey applied to the sway moment
    double axialRatio = 0;    // N / (fc b h)
    double h0 = 0;            // mm
    std::string eccentricity; // 大偏心受压, 小偏心受压, 大偏心受拉, 小偏心受拉
    std::string governs;      // the check that governs As
    bool failed() const { return As >= kFailedArea; }
};

struct ColumnDesign {
    bool designed = false;
    std::string skipReason;
    double b = 0, h = 0; // section, mm
    double l0 = 0;       // effective length, m
    ColumnEndDesign top, bottom;
    // GB 50010-2010: clear length (lc of 6.2.4, Hn of 6.3.12), m; the shear
    // and the ties (6.3.12, 9.3.2); lines under the column's row.
    double lc = 0;
    double V = 0;        // kN
    double tieAsvs = 0;  // mm2/mm
    bool tieTooSmall = false;
    Stirrups ties;
    std::string tieString; // "Φ8@200", "Φ8@200(4)" with four legs
    std::vector<std::string> notes;
};

} // namespace kj
