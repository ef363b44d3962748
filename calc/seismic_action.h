#pragma once
// The horizontal earthquake on a plane frame by the base shear method of
// GB 50011-2010 5.2.1 (frequent earthquake): the gravity load representative
// value of every floor from the load cases G and Q, the fundamental period
// from the top displacement under those weights applied horizontally, the
// floor forces with the top additional force, the storey shears raised to
// the least shear factor, and the load case E as a frame model whose joint
// loads are those storey shears.
#include "analysis/frame_model.h"
#include "calc/load_cases.h"
#include "design/design_options.h"
#include "design/gb50011_2010.h"

#include <optional>
#include <string>
#include <vector>

namespace kj {

// The seismic parameters of a job, as the project file and the batch options
// give them.
struct SeismicParameters {
    gb50011::Intensity intensity = gb50011::Intensity::I7;
    gb50011::SiteClass site = gb50011::SiteClass::II;
    int group = 1;            // design earthquake group 1..3
    std::optional<int> grade; // 抗震等级 1..4 chosen by the user instead of Table 6.1.2
    double psiT = 0.7;        // period reduction factor for the infill walls
    // The columns of the leftmost and rightmost column lines are corner
    // columns of the building (an edge frame); else every column is taken as
    // a middle or edge column.
    bool cornerColumns = false;
    // The storey (from the ground, 1 = ground storey) whose top is the
    // building's roof; its level and every level above it (rooms on the
    // roof) carry roof live load, which GE leaves out (GB 50011 5.1.3). None:
    // the top storey.
    std::optional<int> roofStorey;
};

// The texts of the batch options --seismic, --site, --group, --seismic-grade
// and --period-factor (and of the project file's seismic group).
struct SeismicTexts {
    std::string intensity; // "6", "7", "7.5", "8", "8.5", "9"
    std::string site;      // "I0", "I1", "II", "III", "IV" (either case; Ⅰ Ⅱ Ⅲ Ⅳ too)
    std::string group;     // "1", "2", "3"
    std::string grade;     // "" (by the table) or "1" to "4"
    std::string psiT;      // "" (0.7) or a number above 0 and not above 1
    bool cornerColumns = false; // --corner-columns: the outer column lines are corner columns
    std::string roofStorey = {}; // "" (the top storey) or the roof's storey from the ground, 1 up
};

// Reads the texts once. Throws Failure naming the option and the text when
// one is none of the listed values.
SeismicParameters parseSeismicParameters(const SeismicTexts& texts);

// One floor (level) of the frame.
struct SeismicFloor {
    int level = 0;          // from the ground up, as the project file counts levels (1 = top of the ground storey)
    double height = 0;      // m above the ground
    double storeyHeight = 0; // m, of the storey below the level
    double GE = 0;          // gravity load representative value, kN
    double F = 0;           // horizontal floor force, kN, with ΔFn at the top
    double V = 0;           // storey shear of the storey below, kN, after the λ minimum
    double Vcomputed = 0;   // the storey shear before the λ minimum, kN
    double Vmin = 0;        // λ ΣGE of the floors above and at this level, kN
    bool raised = false;    // V was raised to Vmin
    double drift = 0;       // storey drift under E, mm
    double driftRatio = 0;  // drift / storey height
    bool driftOk = true;    // driftRatio <= 1/550
};

struct SeismicAction {
    SeismicParameters params;
    int grade = 0;              // 抗震等级 used
    bool gradeFromTable = true; // false when the user chose it
    // The grade of the detailing measures (抗震构造措施: GB 50011 6.3, GB
    // 50010 11.3.6–11.4.17): the grade, or by 3.3.3 that of 8 or 9 degrees
    // on sites III and IV at 0.15 g and 0.30 g; the user's grade when chosen.
    int detailingGrade = 0;
    double longestSpan = 0;     // m; 18 m or more: a large-span frame of Table 6.1.2
    double height = 0;          // m, of the frame above the ground
    int roofStorey = 0;         // the roof's storey from the ground: GE leaves out the live load from its level up
    double Ec = 0;              // N/mm2, of the concrete of record 6
    double Tg = 0, alphaMax = 0;
    double uT = 0;     // m, top displacement under GE applied horizontally
    double T1 = 0;     // s
    double alpha1 = 0;
    double sumGE = 0;  // kN
    double Geq = 0;    // kN
    double FEk = 0;    // kN
    double deltaN = 0;
    double deltaFn = 0; // kN
    double lambda = 0;  // least storey shear factor
    std::vector<SeismicFloor> floors; // from the ground up
    FrameModel model;                 // the load case E: storey shears as joint loads
};

// The gravity load representative value GE (kN) of every level 1..NF (index
// 0 unused, level 1 the top as the model counts): the span loads and the
// downward joint forces of the level's beams and joints, 1.0 G + 0.5 Q on
// the floors below the roof and 1.0 G on the roof's levels (GB 50011 Table
// 5.1.3: the roof live load is not included), and the columns' own weight as
// the dead-load model carries it, half of each column lumped at its top
// level and half at its foot level (the lower half of a ground-storey
// column goes to the ground and is not part of GE). Q may be null;
// roofStorey counts from the ground (1..NF), the top storey by default.
std::vector<double> gravityRepresentativeValues(const FrameModel& G, const FrameModel* Q, int roofStorey);

// The action for the dead load G, the live load Q (may be null), the
// parameters and the modulus Ec (N/mm2) of the frame's concrete. Throws
// Failure (Chinese message) for what the base shear method cannot serve: a
// continuous beam, a frame higher than 40 m or than the code allows for the
// intensity, a period above 6 s, a frame that carries no weight, a roof
// storey the frame does not have.
SeismicAction seismicAction(const FrameModel& G, const FrameModel* Q, const SeismicParameters& params, double Ec);

// The action for the load cases of a job designed by the given rule set;
// Ec from the concrete grade of the dead-load case's record 6. Refuses the
// default method (seismic design follows GB 50010-2010) and a job without
// the dead load.
SeismicAction seismicAction(const std::vector<LoadCaseInput>& cases, const SeismicParameters& params,
                            DesignCode code);

// The load case E of an action, to be combined with the cases it came from:
// the frame of G with the storey shears of the action.
LoadCaseInput seismicCase(const std::vector<LoadCaseInput>& cases, const SeismicAction& action);

} // namespace kj
