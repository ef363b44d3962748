#pragma once
// The project file (.kjpj): the whole job in one UTF-8 JSON file, in
// engineers' units and order. Spans left to right, storeys and levels from
// the ground up (level 1 is the top of the ground storey), column lines from
// the left (line 1 is the leftmost), sections in mm, loads in kN, kN/m and
// kN*m. The frame data files state a part of the same job; the conversions
// between the two forms are pure functions.
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/combinations.h"
#include "calc/load_cases.h"
#include "calc/options.h"
#include "calc/seismic_action.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kj {

inline constexpr const char* kProjectSchema = "kjpj-project/1";

// A load on one beam: a uniform load over the whole span, a uniform load
// from..to (m from the left end), or a force P at x.
struct BeamLoad {
    enum class Kind { Uniform, Partial, Point };
    Kind kind = Kind::Uniform;
    double value = 0; // q (kN/m, downward) or P (kN, downward)
    double from = 0, to = 0; // Partial
    double x = 0;            // Point
};

// A force and a moment at a joint: P kN downward, M kN*m counter-clockwise.
struct JointLoad {
    int level = 0, line = 0;
    double P = 0, M = 0;
};

// A horizontal force H (kN, to the right) applied at a floor level.
struct FloorForce {
    int level = 0;
    double H = 0;
};

struct ProjectCase {
    LoadCaseKind kind = LoadCaseKind::G;
    // [storey from the ground][span from the left] -> the loads of that beam.
    std::vector<std::vector<std::vector<BeamLoad>>> beamLoads;
    std::vector<JointLoad> jointLoads;
    std::vector<FloorForce> floorForces;
};

struct ProjectSection {
    std::string name;
    double b = 0, h = 0; // mm
};

// The title block of the calculation book; blanks when not given.
struct ProjectTitle {
    std::string project, designer, checker, date;
};

struct Project {
    std::string fileName; // the name it was read from, for messages
    std::string name;
    std::vector<double> spans;   // m, left to right
    std::vector<double> storeys; // m, from the ground storey up
    std::vector<ProjectSection> sections;
    // Section names: [storey from the ground][span] and [storey][line].
    std::vector<std::vector<std::string>> beams, columns;
    std::vector<ProjectCase> cases; // G first, then Q, W as given
    Materials materials;            // Fy (N/mm2), C (grade number)
    bool continuousBeam = false;
    int endFixity = 0; // continuous beam: 1 left, 2 right, 3 both ends fixed
    DesignSettings design; // the settings as the boxes would hold them
    bool beamSelfWeight = false;      // add the beams' own weight to G
    double beamStiffnessFactor = 1.0; // EI of the beams x this (slab flanges)
    // Live load: patterned per span and storey; γL for the design working
    // life and ψc of Q in the built-in combination sets.
    bool liveLoadPatterns = false;
    double gammaL = 1.0, psiC = 0.7;
    // The built-in combination set, or the user's own list when not empty.
    // Neither given (a project of G alone) calculates G as one frame.
    std::optional<std::string> combinationSet;
    std::vector<std::string> combinations;
    ProjectTitle title;
    // Seismic design: the texts of the batch options; no intensity, none.
    SeismicTexts seismic;

    int L() const { return static_cast<int>(spans.size()); }
    int NF() const { return static_cast<int>(storeys.size()); }
    const ProjectCase* findCase(LoadCaseKind kind) const;
};

// Unit weight of reinforced concrete for the beams' own weight, kN/m3.
inline constexpr double kBeamUnitWeight = 25.0;

// Reads a project from its JSON text. Every fault is refused with a Chinese
// message naming the file and the key path ("cases.G.beamLoads[2][1][0].x
// 超出跨度 6.00 m"): bad JSON, another schema, missing keys, wrong types,
// unknown keys, unknown section names, sizes not above zero (a width may be
// 0), loads off
// their span, joints or levels that do not exist, non-finite numbers, and
// settings the design does not accept.
Project parseProject(const std::string& text, const std::string& fileName);
// What a calculation refuses of a project read before anything is written:
// materials outside the range of its rule set and implausible member sizes
// (checkMemberSizes; a member narrower than 51 mm is analysed and not
// designed). The frame editor checks every edit so. Throws Failure naming
// the file.
void checkProjectValues(const Project& project);
// Arrays and objects nested deeper than this are refused with the line and
// column of the bracket that goes too deep.
inline constexpr int kMaxProjectNesting = 64;
// The most members (beams and columns) a project's frame may have: the
// report, the JSON and the calculation book of a frame this large take a
// few hundred megabytes and half a minute (a 60-span, 20-storey frame has
// 2420 members).
inline constexpr long kMaxProjectMembers = 2500;
// Reads the project file at path (shownName in messages); a file over 1 MiB
// is refused as a project file.
Project readProjectFile(const std::filesystem::path& path, const std::string& shownName);
// The project as JSON text (UTF-8, two-space indent, final line end).
std::string projectJson(const Project& project);

// The frame model of one case: members, coordinates, loads as entries,
// joint loads and the storey shears summed from the floor forces, from the
// top down. G carries the columns' own weight (and the beams' when asked).
FrameModel caseModel(const Project& project, LoadCaseKind kind);
// Every case of the project as the envelope calculates them.
std::vector<LoadCaseInput> projectCases(const Project& project);
// The echo of the input for the report, one line each (without the title).
std::vector<std::string> projectEchoLines(const Project& project);

// A project from frame data files: the cases as read (G first) and the
// settings of the main window. Sections are named by their size ("250x500").
Project projectFromDataFiles(const std::vector<LoadCaseInput>& cases, const DesignSettings& design,
                             const std::optional<std::string>& combinationSet,
                             const std::vector<std::string>& combinations);

// The frame data file text of one case (GBK-ready UTF-8, CR LF). Throws
// Failure with the reason when the frame does not fit the data file: more
// than 9 distinct lengths or sections, more storeys, beams, joints or
// joint-load groups than it holds, a value its fixed-width fields cannot
// state exactly, or loads its load string cannot express.
std::string dataFileText(const Project& project, LoadCaseKind kind);

// What the project holds that its data files cannot, one line each, for the
// engineer to choose again where the data files are calculated: a rule set
// other than the default method and its settings, design settings other
// than the boxes' defaults, the earthquake, combinations of the user's own
// or GB50009's, live-load patterns and factors, and the title block. Empty
// when the data files hold the whole job.
std::vector<std::string> dataFileOmissions(const Project& project);

} // namespace kj
