#pragma once
// Seismic design of reinforced-concrete frame structures: GB 50011-2010
// (2016 edition) with the mandatory GB 55002-2021, and the seismic detailing
// of GB 50010-2010 (2015 edition) chapter 11. Each function applies one
// clause, named in its comment with the units it works in. Forces in kN,
// lengths in m, unless a comment says mm; ratios as fractions (0.01 = 1 %).
#include <optional>
#include <string>
#include <vector>

namespace kj::gb50011 {

// ------------------------------------------------------------- parameters

// Seismic fortification intensity; 7.5 and 8.5 stand for 7 (0.15 g) and
// 8 (0.30 g) (3.2.2).
enum class Intensity { I6, I7, I7_5, I8, I8_5, I9 };
// The degree whose column of a table applies: 6, 7, 8 or 9 (7.5 -> 7, 8.5 -> 8).
int intensityDegree(Intensity i);
// "6", "7", "7.5", "8", "8.5", "9".
std::string intensityText(Intensity i);
// "7 度 (0.15g)" and the like, for the report.
std::string intensityTitle(Intensity i);

// Site class (4.1.6).
enum class SiteClass { I0, I1, II, III, IV };
std::string siteText(SiteClass s); // "I0", "I1", "II", "III", "IV"

// ---------------------------------------------------------------- spectrum

// Table 5.1.4-1, frequent earthquake: αmax = 0.04, 0.08, 0.12, 0.16, 0.24,
// 0.32 for 6, 7, 7 (0.15 g), 8, 8 (0.30 g), 9.
double maxInfluenceCoefficient(Intensity i);

// Table 5.1.4-2: characteristic period Tg (s) by site class and design
// earthquake group 1..3. Throws Failure for a group outside 1..3.
double characteristicPeriod(SiteClass site, int group);

// 5.1.5-1 to 5.1.5-3: the shape factors of the spectrum for damping ratio ζ.
struct SpectrumShape {
    double gamma = 0; // 5.1.5-1, decay exponent of the curved branch
    double eta1 = 0;  // 5.1.5-2, slope of the straight falling branch, not below 0
    double eta2 = 0;  // 5.1.5-3, damping adjustment, not below 0.55
};
SpectrumShape spectrumShape(double zeta);

// 5.1.5 and Figure 5.1.5: the seismic influence coefficient α at period
// T (s): rising line below 0.1 s (0.45 αmax at T = 0), plateau η2 αmax up to
// Tg, curve (Tg/T)^γ η2 αmax up to 5Tg, line [η2 0.2^γ − η1 (T − 5Tg)] αmax
// up to 6 s. Throws Failure above 6 s, where the code asks for a special
// study.
double influenceCoefficient(double T, double Tg, double alphaMax, double zeta = 0.05);

// ------------------------------------------------------- base shear method

// Top-displacement formula for the fundamental period of a frame whose mass
// and stiffness are about uniform over its height (JGJ 3-2010 Appendix C,
// C.0.2; also in the commentary of GB 50011 5.2): T1 = 1.7 ψT √uT, T1 in s,
// uT in m: the top displacement under the gravity loads GE applied as
// horizontal forces at the floors; ψT is the period reduction factor for
// infill walls (0.6 to 0.7 for frames, JGJ 3-2010 4.3.17).
double fundamentalPeriod(double psiT, double uT);

// 5.1.3 (Table 5.1.3): combination factors of the gravity load
// representative value GE: the dead load 1.0, the floor live load taken as
// an equivalent uniform load 0.5, the roof live load not included (0), the
// snow load 0.5 (the load cases of this program have no snow case).
inline constexpr double kLiveLoadCombinationFactor = 0.5;

// 5.2.1: equivalent total gravity Geq = 0.85 ΣGE for a building of more than
// one storey (ΣGE for a single storey), kN.
double equivalentGravity(double sumGE, int storeys);

// 5.2.1-1: total horizontal action FEk = α1 Geq, kN.
double totalHorizontalAction(double alpha1, double Geq);

// Table 5.2.1: top additional factor δn of a reinforced-concrete building:
// 0 when T1 <= 1.4 Tg; else 0.08 T1 + 0.07 (Tg <= 0.35 s), 0.08 T1 + 0.01
// (0.35 < Tg <= 0.55 s), 0.08 T1 − 0.02 (Tg > 0.55 s).
double topAdditionalFactor(double T1, double Tg);

// 5.2.1-2: the floor forces Fi = Gi Hi / Σ Gj Hj · FEk (1 − δn), kN, for
// floors given by their GE (kN) and height above the ground H (m), in any
// order; the top floor's ΔFn = δn FEk (5.2.1-3) is not included.
std::vector<double> floorForces(const std::vector<double>& G, const std::vector<double>& H, double FEk, double deltaN);

// Table 5.2.5 (GB 55002-2021 4.2.3): least storey shear factor λ: for
// T1 < 3.5 s 0.008, 0.016, 0.024, 0.032, 0.048, 0.064 (6, 7, 7 (0.15 g), 8,
// 8 (0.30 g), 9); for T1 > 5 s 0.006, 0.012, 0.018, 0.024, 0.036, 0.048;
// linear between.
double minimumShearFactor(Intensity i, double T1);

// 5.1.2-1: the base shear method serves buildings up to 40 m high whose
// deformation is mainly shear and whose mass and stiffness are about
// uniform over the height.
inline constexpr double kBaseShearMethodHeightLimit = 40.0;

// Table 6.1.1: greatest height (m) of a frame structure: 60, 50, 50, 40,
// 35, 24 for 6, 7, 7 (0.15 g), 8, 8 (0.30 g), 9.
double maxFrameHeight(Intensity i);

// Table 5.5.1: elastic storey drift limit of a reinforced-concrete frame
// under the frequent earthquake, Δue / h <= 1/550.
inline constexpr double kFrameDriftLimit = 1.0 / 550.0;
bool driftWithinLimit(double drift, double storeyHeight);

// ---------------------------------------------------------- combinations

// Partial factors of the seismic combination S = γG SGE + γEh SEhk.
struct SeismicCombinationFactors {
    double gammaG = 0;           // gravity load representative value
    double gammaGFavourable = 0; // when gravity helps the member
    double gammaEh = 0;          // horizontal earthquake
};
// GB 55002-2021 4.3.2: γG 1.3 (not above 1.0 where it helps), γEh 1.4.
SeismicCombinationFactors combinationFactorsGb55002();
// GB 50011-2010 5.4.1 with Table 5.4.1 (the GB 50009 factors): γG 1.2
// (1.0 where it helps), γEh 1.3.
SeismicCombinationFactors combinationFactorsGb50011();

// Table 5.4.2: seismic adjustment factor γRE of a reinforced-concrete member.
enum class SeismicCheck { BeamFlexure, ColumnCompression, Shear };
// Beams in flexure 0.75; columns in eccentric compression 0.75 below an
// axial compression ratio of 0.15, else 0.80; every member in shear 0.85.
double seismicAdjustmentFactor(SeismicCheck check, double axialRatio = 0);

// ------------------------------------------------------ grade and capacity

// Table 6.1.2: 抗震等级 (1..4) of a frame structure of a standard
// fortification category: 6: 4 (H <= 24 m) or 3; 7 and 7 (0.15 g): 3 or 2;
// 8 and 8 (0.30 g): 2 or 1; 9: 1; a large-span frame (a span of 18 m or
// more, kLargeSpan) at least 3, 2, 1, 1 for 6, 7, 8, 9. Throws Failure when
// the frame is higher than the code allows (Table 6.1.1), e.g. a 9-degree
// frame over 24 m.
int frameSeismicGrade(Intensity i, double height, double longestSpan = 0);
inline constexpr double kLargeSpan = 18.0; // m, Table 6.1.2
// 3.3.3: on sites of class III and IV, 7 degrees (0.15 g) and 8 degrees
// (0.30 g) take the detailing measures of 8 degrees (0.20 g) and 9
// degrees; any other intensity its own.
Intensity detailingIntensity(Intensity i, SiteClass site);
// The grade of the detailing measures (抗震构造措施): Table 6.1.2 at the
// detailing intensity, with no height limit (the frame's height has been
// checked at its own intensity).
int frameDetailingGrade(Intensity i, SiteClass site, double height, double longestSpan = 0);
// "一级" ... "四级".
std::string gradeText(int grade);

// 6.2.2: ΣMc = ηc ΣMb at the joints of a frame structure: ηc 1.7, 1.5,
// 1.3, 1.2 for grades 1..4.
double columnMomentFactor(int grade);
// 6.2.3: factor on the bending moment at the foot of the ground-storey
// columns of a frame structure: 1.7, 1.5, 1.3, 1.2.
double columnFootFactor(int grade);
// 6.2.4: V = ηvb (Mbl + Mbr)/ln + VGb: ηvb 1.3, 1.2, 1.1 for grades 1..3,
// 1.0 for grade 4 (no amplification required).
double beamShearFactor(int grade);
// 6.2.5: V = ηvc (Mct + Mcb)/Hn for frame structures: ηvc 1.5, 1.3, 1.2,
// 1.1 for grades 1..4.
double columnShearFactor(int grade);
// 6.2.6 (GB 50010-2010 11.4.5): the combined moments and shears of a corner
// column of a frame of grade 1..4, after the adjustments of 6.2.2, 6.2.3 and
// 6.2.5, times at least 1.10.
inline constexpr double kCornerColumnFactor = 1.10;
// 6.3.9-1-3 (GB 50010-2010 11.4.14): the ties of a corner column of a frame
// of grade 1 or 2 are densified over the whole height.
inline bool cornerColumnDensifiedFullHeight(int grade) { return grade == 1 || grade == 2; }

// Table 6.3.6: axial compression ratio N/(fc A) of a frame-structure
// column: not above 0.65, 0.75, 0.85, 0.90 for grades 1..4.
double axialRatioLimit(int grade);
bool axialRatioWithinLimit(double ratio, int grade);

// --------------------------------------------------------- beam detailing

// 6.3.3-1 (GB 50010 11.3.1): relative depth of the compression zone at the
// beam ends, counting the compression steel: ξ <= 0.25 (grade 1), 0.35
// (grades 2 and 3); no seismic limit for grade 4.
std::optional<double> beamEndDepthLimit(int grade);
// 6.3.3-3 (GB 50010 11.3.6 item 2): bottom/top steel area at the beam ends at
// least 0.5 (grade 1), 0.3 (grades 2 and 3); none for grade 4.
std::optional<double> beamEndBottomTopRatio(int grade);
// 6.3.4-1 (GB 50010 11.3.7): tension steel ratio at the beam ends not above
// 2.5 %.
inline constexpr double kBeamEndMaxSteelRatio = 0.025;

// GB 50010 Table 11.3.6-1: least ratio of the tension steel of a frame beam
// (fraction of b h): at supports max(0.40 %, 80 ft/fy %), max(0.30 %, 65
// ft/fy %), max(0.25 %, 55 ft/fy %) for grades 1, 2, 3-4; in the span
// max(0.30 %, 65 ft/fy %), max(0.25 %, 55 ft/fy %), max(0.20 %, 45 ft/fy %).
double beamMinimumSteelRatio(int grade, bool atSupport, double ft, double fy);

// GB 50010 Table 11.3.6-2 (GB 50011 Table 6.3.3): densified stirrups at the
// beam ends. Lengths and diameters in mm.
struct DenseZone {
    double length = 0;     // from the face of the joint, mm
    double maxSpacing = 0; // mm
    double minDiameter = 0; // stirrup, mm
};
// Length max(2.0 hb, 500) (grade 1) or max(1.5 hb, 500); spacing min(hb/4,
// 6d, 100) (grade 1), min(hb/4, 8d, 100) (grade 2), min(hb/4, 8d, 150)
// (grades 3, 4), d the least main bar; diameter 10, 8, 8, 6, plus 2 mm when
// the end tension steel ratio exceeds 2 % (11.3.6 item 3). hb, d in mm.
DenseZone beamDenseZone(int grade, double hb, double barDiameter, double endTensionRatio);

// GB 50010 11.3.8 (GB 50011 6.3.4-3): spacing of the stirrup legs across a
// beam in the densified zone, mm: not above max(200, 20 d) (grade 1),
// max(250, 20 d) (grades 2, 3), 300 (grade 4); d the stirrup diameter, mm.
double beamDenseLegSpacing(int grade, double stirrupDiameter);

// ------------------------------------------------------- column detailing

// GB 50010 11.4.15: spacing of the tie legs of a column in the densified
// zone, mm: not above 200 (grade 1), max(250, 20 d) (grades 2, 3), 300
// (grade 4); d the tie diameter, mm.
double columnDenseLegSpacing(int grade, double tieDiameter);

// GB 50010 Table 11.4.12-1 with its notes: least ratio of all the main bars
// of a frame-structure column (fraction of b h): middle and edge columns
// 1.0 %, 0.8 %, 0.7 %, 0.6 % for grades 1..4 (the values for frame
// structures); corner columns 1.1 %, 0.9 %, 0.8 %, 0.7 %; plus 0.1 % for
// 335 MPa bars (and the weaker 300 MPa ones, fy <= 300), plus 0.05 % for
// 400 MPa bars (fy = 360), plus 0.1 % for concrete C60 and above.
double columnMinimumTotalSteelRatio(int grade, double fy, double C, bool cornerColumn);
// 11.4.12-1: each side of a column at least 0.2 %.
inline constexpr double kColumnMinimumSideSteelRatio = 0.002;

// GB 50010 Table 11.4.12-2 and 11.4.14: densified stirrups at the column
// ends: length max(hc, Hn/6, 500) at each end, Hn/3 at the foot of a
// ground-storey column (its restraint end); spacing min(6d, 100) (grade
// 1), min(8d, 100) (grade 2), min(8d, 150) (grades 3, 4; 100 at the foot of
// the ground storey); diameter 10, 8, 8, 6 (8 at the foot of the ground
// storey for grade 4). hc (larger side), Hn (clear height) and d in mm.
DenseZone columnDenseZone(int grade, double hc, double Hn, double barDiameter, bool groundFoot);

// GB 50010 Table 11.4.17: least stirrup characteristic value λv of the
// densified zones, hoops and multi-leg ties (普通箍、复合箍), by grade and
// axial compression ratio (<= 0.3, 0.4 ... 0.9, 1.0, 1.05; linear between;
// the last value beyond the table).
double stirrupCharacteristicValue(int grade, double axialRatio);
// 11.4.17-1 and -2: least volumetric stirrup ratio of the densified zones
// ρv = max(λv fc / fyv, 0.8 %, 0.6 %, 0.4 %, 0.4 % for grades 1..4), fc not
// below that of C35 (16.7 N/mm2). fc, fyv in N/mm2.
double columnMinimumVolumetricRatio(int grade, double axialRatio, double fc, double fyv);

// ------------------------------------------------------------ frame joints

// GB 50010 11.6.1: the joint cores of frames of grades 1, 2 and 3 are
// checked in shear; grade 4 joints keep to the detailing alone.
inline bool jointCoreChecked(int grade) { return grade >= 1 && grade <= 3; }

// GB 50010 11.6.2 (GB 50011 D.1.1): joint shear amplification ηjb of a
// frame structure: 1.5, 1.35, 1.2 for grades 1..3.
double jointShearFactor(int grade);

// GB 50010 11.6.2-2 (top level) and 11.6.2-4 (the other levels): the design
// shear of a joint core, N: Vj = ηjb ΣMb / (hb0 − as'), times
// (1 − (hb0 − as') / (Hc − hb)) below the top level. ΣMb in N*mm; hb0, as',
// Hc (the column's height between its points of contraflexure) and hb in mm.
double jointShear(double etaJb, double sumMb, double hb0, double asComp, double Hc, double hb, bool topLevel);

// GB 50010 11.6.1 (GB 50011 D.1.2, beam and column on one centre line): the
// effective width of the joint core, mm: bc where bb >= bc / 2, else the
// smaller of bb + 0.5 hc and bc.
double jointEffectiveWidth(double bb, double bc, double hc);

// GB 50010 11.6.3: the shear limit of the joint core's horizontal section,
// N: (0.3 ηj βc fc bj hj) / γRE. fc in N/mm2, bj and hj in mm.
double jointShearLimit(double etaJ, double betaC, double fc, double bj, double hj, double gammaRE);

// GB 50010 11.6.4-2: the seismic shear capacity of the joint core, N:
// (1.1 ηj ft bj hj + 0.05 ηj N bj / bc + fyv Asvj (hb0 − as') / s) / γRE,
// N the axial force of the column above (N, compression positive), taken
// as 0 in tension and not above 0.5 fc bc hc. asvs = Asvj / s (mm2/mm), the
// tie legs across the core in the direction checked.
double jointShearCapacity(double etaJ, double ft, double fc, double bj, double hj, double bc, double hc, double N,
                          double fyv, double asvs, double hb0, double asComp, double gammaRE);

// GB 50010 11.6.8: least stirrup characteristic value λv of the joint core
// of grades 1, 2, 3: 0.12, 0.10, 0.08; and its least volumetric stirrup
// ratio max(λv fc / fyv, 0.6 %, 0.5 %, 0.4 %), fc not below that of C35 as
// in 11.4.17. fc, fyv in N/mm2.
double jointTieCharacteristicValue(int grade);
double jointMinimumVolumetricRatio(int grade, double fc, double fyv);

} // namespace kj::gb50011
