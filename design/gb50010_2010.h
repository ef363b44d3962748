#pragma once
// Design rules of GB 50010-2010 (2015 edition) for rectangular beams and
// columns: materials, flexure, shear and stirrups, and symmetric columns in
// eccentric compression. Each function applies one clause, named in its
// comment with the units it works in. The clause functions work in N, mm
// and N/mm2; the section functions at the end take the analysis values in
// kN, kN*m and m, as the rest of the design does, and return every
// intermediate value an engineer checks.
#include "design/beam_design.h"

#include <functional>
#include <optional>
#include <string>

namespace kj::gb2010 {

// ---------------------------------------------------------------- materials

// Concrete of one strength grade (fcu,k in N/mm2).
struct Concrete {
    int grade = 0;       // 15, 20, ... 80
    double fc = 0;       // 4.1.4-1, axial compressive design strength, N/mm2
    double ft = 0;       // 4.1.4-2, tensile design strength, N/mm2
    double alpha1 = 0;   // 6.2.6, stress of the rectangular block / fc
    double beta1 = 0;    // 6.2.6, depth of the block / neutral axis depth
    double epsCu = 0;    // 6.2.1-5, ultimate compressive strain
    double betaC = 0;    // 6.3.1, concrete strength factor of the shear limit
};

// 6.2.6: alpha1 = 1.0 up to C50, 0.94 at C80, linear between.
double blockStressFactor(int grade);
// 6.2.6: beta1 = 0.8 up to C50, 0.74 at C80, linear between.
double blockDepthFactor(int grade);
// 6.2.1-5: epsCu = 0.0033 - (fcu,k - 50) x 1e-5, not above 0.0033.
double ultimateConcreteStrain(int grade);
// 6.3.1: betaC = 1.0 up to C50, 0.8 at C80, linear between.
double shearStrengthFactor(int grade);

// The grade as read from the frame data file (C 15 ... 80 in steps of 5).
// Throws Failure for any other number: the code gives no strengths for it.
Concrete concreteGrade(double C);

// Longitudinal steel by its design strength Fy (4.2.3): 270 HPB300,
// 300 HRB335, 360 HRB400, 435 HRB500.
struct Steel {
    const char* name = "";
    double fy = 0;        // 4.2.3-1, tensile design strength, N/mm2
    double fyc = 0;       // 4.2.3-1, compressive design strength fy', N/mm2
    double fycAxial = 0;  // 4.2.3 note: fy' of axially loaded members (400 for HRB500)
    double Es = 0;        // 4.2.5, modulus, N/mm2
    double totalMinRatio = 0; // 8.5.1, least total ratio of column steel (before the C60 addition)
};

// Throws Failure for an Fy that is not one of the four grades.
Steel steelGrade(double Fy);

// 6.2.7-1: relative balanced depth xib = beta1 / (1 + fy / (Es epsCu)).
double balancedDepthRatio(double beta1, double fy, double Es, double epsCu);

// The 2010 rule set of one calculation, as a value.
struct Rules {
    Concrete concrete;
    Steel steel;
    double xib = 0;    // 6.2.7-1 for the main bars
    double fyv = 270;  // 4.2.3, stirrups in shear (270 or 360), N/mm2
    FloorKind floors = FloorKind::CastInPlace;
    EnvironmentClass environment = EnvironmentClass::One;
};

// Throws Failure (Chinese message) for a grade, steel or fyv the code does
// not cover.
Rules makeRules(double Fy, double C, double fyv = 270, FloorKind floors = FloorKind::CastInPlace,
                EnvironmentClass environment = EnvironmentClass::One);

// 8.2.1, Table 8.2.1: least cover of the outermost steel (the stirrups) of
// beams and columns, mm: 一类 20, 二a 25, 二b 35, and 5 mm more up to C25.
double minimumCover(EnvironmentClass environment, int grade);
// The name of the class as the code writes it: 一类, 二a, 二b.
const char* environmentName(EnvironmentClass environment);
// Throws Failure (Chinese message, with the reason) for a cover below the
// least one of 8.2.1.
void checkCover(double cover, const Rules& rules);

// -------------------------------------------------------------------- beams

// 8.5.1: least ratio of the tension steel of a beam, max(0.2 %, 45 ft/fy %),
// applied to b h.
double beamMinimumSteelRatio(double ft, double fy);

// Rectangular section in bending with the effective depth known.
struct FlexureSteel {
    double alphaS = 0;    // M / (alpha1 fc b h0^2) without compression steel
    double xi = 0;        // relative depth used: the singly reinforced one, or xib
    double x = 0;         // depth of the compression zone, mm
    double As = 0;        // tension steel, mm2 (before the minimum)
    double AsComp = 0;    // compression steel As', mm2
    bool doubly = false;  // xi > xib: compression steel at lever h0 - as'
    bool xBelow2as = false; // 6.2.10-4 not met: As from moments about As'
};

// 6.2.10: tension (and, past xib, compression) steel for the moment M (N*mm)
// on b x h0 (mm), compression steel centred at as' from the compression face.
// The caller checks h0 > as'.
FlexureSteel flexureSteel(double M, double b, double h0, double asComp, const Rules& rules);

// Depth from the tension face to the centroid of the bars, mm: each layer's
// bars rest on the same line, the outer layer inside the cover and the
// stirrup (cover + stirrup, never less than the bar, 8.2.1-1), each further
// layer a clear 25 mm or the largest bar above the one before (9.2.1-3).
// The outer layer holds the continuous bars first, then the second and the
// third layer follow.
double barCentroidDepth(const BarArrangement& bars, double cover, double stirrup);

// 9.2.1-3: bars of one layer on the width b inside the cover and the
// stirrups, with the clear spacing of top bars max(30, 1.5 d) and of bottom
// bars max(25, d), d the largest bar.
double barsPerLayer(double b, double cover, double stirrup, double largestBar, BarPosition position);

// The bars for a steel area as GB 50010-2010 takes them: of every set of n
// continuous bars (the boxes', or 2 up to b = 300 mm and 4 above, of a size
// from the thinnest the program chose for the depth, 12 mm below h = 250,
// 14 below 700, 16 below 900, else 18, up to 32 mm) and k additional
// bars (of the continuous size or within 5 mm of it) whose area is not
// below As (nor 220 mm2), the lightest that lies in layers a detailer can
// place: barsPerLayer a layer, the outer layer full before a second and the
// second before a third, a third on every other position (9.2.1-3: twice
// the spacing, ceil(a/2) bars), and no layer with a single bar. Ties go to
// fewer bars, then the larger h0, then the thinner continuous bars. The sets
// do not depend on As, so a larger As never gets fewer square millimetres.
// When none fits, tooMany is set and the bars are those that need the
// narrowest beam, laid as that width would take them, with the width in
// widthNeeded.
BarArrangement chooseBeamBars(double As, double b, double h, double cover, double stirrup, BarPosition position,
                              const std::optional<ChosenBars>& chosen);

// The bar arrangement the program would choose for a steel area (mm2); the
// caller binds the section, cover, position and boxes.
using BarArranger = std::function<BarArrangement(double As)>;

// Tension steel above this share of b h marks the section as failed (9999):
// the bars no longer fit two layers of an ordinary beam.
inline constexpr double kBeamMaxSteelRatio = 0.04;

// Flexure of one beam section, with the values an engineer checks.
// What governs the steel of a beam section.
enum class BeamGoverning { Flexure, Minimum, CompressionSteel, CompressionSteelBelow2as, SectionLimit };
// In words, with the clause.
const char* beamGoverningText(BeamGoverning g);

struct BeamFlexure {
    double M = 0;        // |design moment|, kN*m
    double as = 0;       // tension face to the bar centroid, mm
    double asComp = 0;   // compression face to the compression steel, mm
    double h0 = 0;       // h - as, mm: that of the bars reported (when failed, the last one tried)
    int layers = 0;      // bar layers of the bars reported (1 to 3; 0 when failed)
    FlexureSteel steel;  // alphaS, xi, x, As, As' at that h0
    double AsMin = 0;    // 8.5.1 minimum, mm2
    double As = 0;       // tension steel reported, mm2; 9999 when failed
    double AsComp = 0;   // compression steel reported, mm2
    bool minimumGoverns = false;
    bool failed = false;
    std::string failure; // why it failed, in words
    // The lightest bars for As alone lie deeper and hold too little steel
    // for their own h0: heavier bars are reported.
    bool heavierLayout = false;
    BeamGoverning governs = BeamGoverning::Flexure;
    BarArrangement bars; // the bars reported; h0 is theirs
};

// 6.2.10 with 8.5.1 at the depth of the bars: the steel needed at the h0 of
// the bars reported is never above their area. The sets of bars of the
// arranger are tried from the lightest that could do (the need of one layer
// of a thin bar) up, each the next heavier one, and the first that holds
// what its own h0 needs is taken: a larger moment needs more of every set,
// so it never gets less steel. Compression steel is centred 12.5 mm inside
// the cover and the stirrup (bars up to 25 mm). A failed section reports the
// bars its reason names (those that did not fit, with the width they need),
// or the arranger's bars for 9999.
BeamFlexure designBeamFlexure(double M, double b, double h, double cover, double stirrup, const Rules& rules,
                              const BarArranger& arrange);

// 9.2.9: stirrup limits by beam depth h (mm).
struct StirrupLimits {
    double sMax = 0; // mm
    double dMin = 0; // mm
};
// Table 9.2.9: spacing for 150 < h <= 300 / 500 / 800 / above (the first row
// also for shallower beams) in the columns V > 0.7 ft b h0 and V <= 0.7 ft b h0;
// least diameter 6 mm up to h = 800, 8 mm above. With compression steel in
// the section, 9.2.9-4: d >= 25/4 (8 mm) and s <= 15 x 12 mm.
StirrupLimits stirrupLimits(double h, bool aboveConcreteShare, bool compressionSteel);

// 6.3.1: shear limit of the section, N: 0.25 betaC fc b h0 for hw/b <= 4,
// 0.2 betaC fc b h0 for hw/b >= 6, linear between (hw = h0).
double shearSectionLimit(double b, double h0, const Rules& rules);
// 6.3.4: share of the concrete, alphaCv ft b h0, N: alphaCv 0.7 for a
// general beam.
double concreteShear(double b, double h0, const Rules& rules, double alphaCv = 0.7);
// 6.3.4: alphaCv = 1.75 / (lambda + 1) of an independent beam mainly under
// concentrated loads, lambda = a / h0 taken between 1.5 and 3.
double concentratedLoadShearFactor(double a, double h0);
// 9.2.9-3: least stirrup ratio rho_sv = Asv / (b s) = 0.24 ft / fyv.
double minimumStirrupRatio(const Rules& rules);

// Stirrup spacings are rounded down to a multiple of this, mm.
inline constexpr double kStirrupSpacingStep = 50;

// Shear of one beam section.
struct BeamShear {
    double V = 0;          // |shear|, kN
    double h0 = 0;         // mm (that of the flexure at the section)
    double alphaCv = 0.7;  // 6.3.4
    double hwOverB = 0;
    double limit = 0;      // 6.3.1, kN
    double Vc = 0;         // 6.3.4 concrete share, kN
    double asvsRequired = 0; // (V - Vc) / (fyv h0), mm2/mm
    double asvsMinimum = 0;  // 0.24 ft / fyv b when V > Vc, mm2/mm
    double asvs = 0;       // what the stirrups must give, mm2/mm
    bool tooSmall = false; // V above the section limit: stirrups 32@50 flag
    bool byDetailing = false; // V <= Vc: stirrups by 9.2.9 only
    StirrupLimits limits;
    Stirrups stirrups;     // legs, diameter, spacing
};

// Least legs and starting diameter of the stirrups, as the boxes give them
// (0 = by the width and by 9.2.9 alone).
struct StirrupChoice {
    int minLegs = 0;
    double startDiameter = 0;
};

// The stirrups (or column ties) of the given legs for Asv/s (mm2/mm), as
// the program chooses them: the diameter from dStart, grown by 2 mm (up to
// 50 mm) while the spacing would be below 100 mm, the spacing capped at sMax
// and rounded down to a multiple of step (mm). A spacing of 0: none fits.
// Asv/s = 0: dStart at sMax.
Stirrups chooseStirrupSpacing(double asvs, int legs, double dStart, double sMax, double step = kStirrupSpacingStep);

// 6.3.1, 6.3.4, 9.2.9 and the stirrup choice: legs by width as the program
// always chose them (b < 100: 1, < 350: 2, < 650: 4, else 6; more when the
// box asks), diameter from the box or 9.2.9, grown by 2 mm while the spacing
// would be below 100 mm, spacing capped by 9.2.9 and rounded down to 50 mm.
// seismic: V of a seismic combination already multiplied by γRE (0.85), and
// the section by 11.3.3 (0.20 βc fc b h0, frame beams of span over 2.5 h)
// and 11.3.4 (concrete share 0.6 αcv ft b h0).
BeamShear designBeamShear(double V, double b, double h, double h0, bool compressionSteel, const Rules& rules,
                          const StirrupChoice& choice, double alphaCv = 0.7, bool seismic = false);

// The bars the program chooses for an area with a given stirrup diameter.
using StirrupBarArranger = std::function<BarArrangement(double As, double stirrup)>;

// The stirrup diameter the bars are first laid with: the box's, or 9.2.9's
// least one.
double startingStirrup(double h, const StirrupChoice& choice);

// A beam support: flexure of the top bars, shear with the same h0 (a failed
// flexure records the h0 its stirrups use). The bars are laid inside the
// stirrups the shear chooses: when these are thicker than assumed, the
// support is designed again with them.
struct BeamSupport {
    double stirrup = 0; // diameter the bars were laid with, mm
    BeamFlexure flexure;
    BeamShear shear;
};
// loadDistance (mm): for an independent beam whose support shear comes
// mainly from concentrated loads, the distance to the nearest one, which
// sets alphaCv at the section's h0 (6.3.4); 0 for alphaCv = 0.7.
BeamSupport designBeamSupport(double M, double V, double b, double h, double cover, const Rules& rules,
                              const StirrupBarArranger& arrangeTop, const StirrupChoice& choice,
                              double loadDistance = 0, bool seismic = false);
// A span: flexure of the bottom bars inside stirrups of the given diameter.
BeamFlexure designBeamSpan(double M, double b, double h, double cover, double stirrup, const Rules& rules,
                           const BarArranger& arrangeBottom);

// ------------------------------------------------------------------ columns

// 6.2.20-2: effective length factor of a frame column: 1.0 bottom storey,
// 1.25 above (cast-in-place floors); 1.25 and 1.5 (precast floors).
double columnEffectiveLengthFactor(bool bottomStorey, FloorKind floors);

// 6.2.5: additional eccentricity ea = max(20, h/30), mm.
double additionalEccentricity(double h);

// Ratio M1/M2 of 6.2.3 from the two end moments in the analysis convention
// (moments on the member ends, clockwise positive): positive in single
// curvature (end moments of opposite sign), negative in double curvature.
// 1 when both are zero.
double endMomentRatio(double Mtop, double Mfoot);

// 6.2.3 and 6.2.4: second-order effect of the member (P-delta).
struct SecondOrder {
    double ratio = 0;        // M1 / M2
    double axialRatio = 0;   // N / (fc A)
    double slenderness = 0;  // lc / i, i = h / sqrt(12)
    double slendernessLimit = 0; // 34 - 12 M1/M2
    bool required = false;   // 6.2.3 does not exempt the member
    double Cm = 1;           // 0.7 + 0.3 M1/M2, not below 0.7
    double zetaC = 1;        // 0.5 fc A / N, not above 1
    double etaNs = 1;        // 1 + (lc/h)^2 zetaC / (1300 (M2/N + ea) / h0)
    double factor = 1;       // Cm etaNs, not below 1 (1 when not required)
};

// M2 = |larger end moment| (N*mm), N (N) that goes with it, lc (mm).
SecondOrder memberSecondOrder(double ratio, double M2, double N, double b, double h, double h0, double lc,
                              const Rules& rules);

// 6.2.15: stability factor phi of an axially loaded rectangular member for
// l0/b (linear between the table's rows; 0 beyond l0/b = 50).
double axialStabilityFactor(double l0OverB);

// 8.5.1 with its note 2: least total ratio of column steel, + 0.1 % from C60.
double columnTotalMinimumRatio(const Rules& rules);

// 6.2.17-2 with As = As': steel on each side for the axial force N (N) at
// the distance e (mm) from the tension steel, with the compression zone
// xi h0; h0 and as in mm.
double symmetricSteelForDepth(double N, double e, double xi, double b, double h0, double as, const Rules& rules);

// 6.2.17-8: relative depth xi of the compression zone of a symmetric
// section in small eccentricity (the approximate formula).
double smallEccentricityDepth(double N, double e, double b, double h0, double as, const Rules& rules);

// Symmetric reinforcement in eccentric compression (6.2.17) for the axial
// force N (N) at the eccentricity ei (mm, e0 + ea).
struct SymmetricSection {
    double e = 0;        // ei + h/2 - as, mm
    double x = 0;        // mm
    double xi = 0;       // x / h0
    bool large = false;  // N / (alpha1 fc b) <= xib h0
    bool xBelow2as = false; // large eccentricity with x < 2 as': 6.2.14
    double As = 0;       // one side, mm2 (may be negative: no steel needed)
};
SymmetricSection symmetricEccentricCompression(double N, double ei, double b, double h, double as,
                                               const Rules& rules);

// 6.2.23 with symmetric steel: a rectangular section in eccentric tension,
// large or small eccentricity alike, takes As = As' = N e' / (fy (h0 - as'))
// with e' = e0 + h/2 - as' (6.2.23-2). N (N, tension positive) and M (N*mm)
// as magnitudes; the pure bending of N = 0 is its limit M / (fy (h0 - as')).
struct EccentricTension {
    double e0 = 0;      // M / N, mm (infinite for N = 0)
    double ePrime = 0;  // e0 + h/2 - as', mm
    bool large = false; // e0 > h/2 - as: the force outside the two layers of steel
    double As = 0;      // one side, mm2
};
EccentricTension symmetricEccentricTension(double N, double M, double h, double as, const Rules& rules);

// Why a column end is flagged 9999.
enum class ColumnFailure { None, Tension, BadSection, TooSlender, OverReinforced };

// What governs the steel of a column end.
enum class ColumnGoverning { Section, Minimum, Axial, Tension };
const char* columnGoverningText(ColumnGoverning g);

// One column end, with the values an engineer checks.
struct ColumnEnd {
    double M = 0;        // |end moment| before the second-order effect, kN*m
    double N = 0;        // axial force, compression positive, kN
    double Mdesign = 0;  // after Cm etaNs when this is the M2 end, kN*m
    double h0 = 0, as = 0; // mm
    double e0 = 0, ea = 0, ei = 0; // mm
    double axialRatio = 0; // N / (fc b h)
    bool tension = false;  // N <= 0: designed by 6.2.23
    SymmetricSection section;
    EccentricTension tensionSteel;
    double phi = 0;      // 6.2.15 stability factor (out-of-plane check)
    double AsAxial = 0;  // one side needed by the axial check, mm2
    double AsMin = 0;    // one side: max(0.2 % b h, total minimum / 2); in tension max(0.2 %, 45 ft/fy %) b h, mm2
    double As = 0;       // one side reported, mm2; 9999 when failed
    bool minimumGoverns = false;
    ColumnGoverning governs = ColumnGoverning::Section;
    ColumnFailure failure = ColumnFailure::None;
    bool failed() const { return failure != ColumnFailure::None; }
};

// Ties of a frame column (9.3.2), with the main bars taken as 20 mm and the
// smallest as 16 mm: d >= max(20/4, 6), s <= min(400, the shorter side,
// 15 x 16); with more than 3 % of steel d >= 8 and s <= min(10 x 16, 200).
struct ColumnTieLimits {
    double dMin = 0, sMax = 0; // mm
};
ColumnTieLimits columnTieLimits(double b, double h, double totalSteelRatio);

// 6.3.12 (compression) and 6.3.14 (tension): ties of a frame column for
// its shear.
struct ColumnShear {
    double V = 0;         // |shear|, kN
    double N = 0;         // axial force the shear goes with, kN, compression positive
    double h0 = 0;        // mm
    double lambda = 0;    // Hn / (2 h0), between 1 and 3
    double limit = 0;     // 6.3.1, kN
    double Vc = 0;        // 1.75 / (lambda + 1) ft b h0, kN
    double Nshare = 0;    // 0.07 min(N, 0.3 fc A) in compression, -0.2 N in tension, kN
    double asvsRequired = 0, asvsMinimum = 0, asvs = 0; // mm2/mm
    bool tooSmall = false;   // V above 6.3.1: ties 32@50 flag
    bool byDetailing = false; // V within the concrete and axial share (6.3.13)
    ColumnTieLimits limits;
    Stirrups ties;
};
// V, N in kN; b, h, h0 in mm; Hn the clear height in mm; the total steel
// ratio sets the detailing of 9.3.2.
// seismic: V of a seismic combination already multiplied by γRE (0.85), the
// section by 11.4.6 (0.20 βc fc b h0 for λ > 2, else 0.15) and the shares by
// 11.4.7 (1.05/(λ+1) ft b h0 + 0.056 N) and 11.4.8 in tension.
ColumnShear designColumnShear(double V, double N, double b, double h, double h0, double Hn, double totalSteelRatio,
                              const Rules& rules, const StirrupChoice& choice, bool seismic = false);

// A column: both ends, designed with the member's second-order effect at
// the end of the larger moment, and its ties.
struct ColumnDesign {
    double l0 = 0;       // effective length, m
    double lc = 0;       // length of the second-order effect (6.2.4: the clear length), m
    SecondOrder secondOrder;
    bool topIsM2 = false;
    ColumnEnd top, foot;
    ColumnShear shear;
};

// Steel centre to the face in columns, mm (h0 = h - 40, as before).
inline constexpr double kColumnSteelDepth = 40;
// Total column steel above this share of b h marks the end as failed (9.3.1).
inline constexpr double kColumnMaxSteelRatio = 0.05;

// What a column's design needs beyond its forces and section.
struct ColumnSetting {
    double as = kColumnSteelDepth; // steel centre to the face, mm
    double clearHeight = 0;  // Hn, m; 0: the storey height
    StirrupChoice ties;      // least legs and starting diameter of the ties
    // The design shear of a seismic combination after capacity design (GB
    // 50011 6.2.5), kN; absent: (Mtop + Mfoot) / H.
    std::optional<double> V;
    bool seismic = false;    // the shear by 11.4.6 to 11.4.8
};

// Mtop, Mfoot: end moments in the analysis convention, kN*m; Ntop, Nfoot:
// axial force at each end, kN, compression positive; b, h in mm; H storey
// height in m. The second-order effect uses lc, the clear height (6.2.4);
// the shear (M1 + M2) / H of the end moments.
ColumnDesign designColumn(double Mtop, double Mfoot, double Ntop, double Nfoot, double b, double h, double H,
                          bool bottomStorey, const Rules& rules, const ColumnSetting& setting = {});

} // namespace kj::gb2010
