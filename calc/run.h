#pragma once
// The calculation behind "框架配筋计算" and the batch command: the one place
// that sequences reading the frame data file, calculating and writing the
// report, the two slot-1 result files and, when asked, the JSON result.
#include "analysis/data_check.h"
#include "calc/calculation.h"
#include "calc/data_file_calculation.h"
#include "calc/envelope.h"
#include "calc/options.h"
#include "calc/project.h"
#include "calc/seismic_action.h"
#include "calc/title_block.h"

#include <optional>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kj {

struct CalcRequest {
    std::string reportName = "\\zemowj1.txt"; // Combo1
    std::string dataName = "\\KJ-1.txt";      // Combo3
    std::string renewal = "0";                // Combo21: 1 = start a new report
    DesignSettings design;
    std::string jsonName; // the whole result as JSON; empty = none
    // Load cases, each a frame data file of its own: the case ("G", "Q" or
    // "W") and the slot name. Given, they replace dataName and the frame is
    // designed from the envelope of the combinations: the built-in set
    // combinationSet, or the user's own list when combinations is not empty.
    std::vector<std::pair<std::string, std::string>> cases;
    std::string combinationSet = "GB55001";
    std::vector<std::string> combinations;
    // The live load patterned span by span (see calculateEnvelope); the
    // live-load factors gamma_L (1.0 or 1.1) and psi_c of Q (0.7 or 0.9) of a
    // built-in set, named in the report. Unused without load cases.
    bool liveLoadPatterns = false;
    double gammaL = 1.0;
    double psiC = 0.7;
    // The calculation book; empty = none. The core draws nothing itself: the
    // caller supplies the writer (the drawing layer's), called after the
    // other files are written, with the slot name resolved to a path and,
    // with load cases, every case and combination (else null), the
    // earthquake when seismic design was asked for (else null), and the
    // title block for the book's first page.
    std::string pdfName;
    TitleBlock title;
    std::function<void(const CalculationResult&, const FrameData&, const EnvelopeResult*, const SeismicAction*,
                       const TitleBlock&, const std::filesystem::path&)>
        pdfWriter;
    // A project file, read and checked: given, it replaces dataName, cases,
    // design and the combinations, which it holds itself (the batch
    // command's options are applied to it before). Its G alone without
    // combinations is calculated as one frame; with other cases or
    // combinations the frame is designed from the envelope.
    std::optional<Project> project;
    // The seismic parameters as typed (--seismic, --site, --group,
    // --seismic-grade, --period-factor); an empty intensity means no seismic
    // design. Given, the frame (the load cases or the project) is designed
    // with the earthquake E by GB 50011: GB 50010-2010 rules only. A single
    // data file, whose loads are design values, is refused.
    SeismicTexts seismic;
    // Date and time for the report's title line; empty means now.
    std::string date, time;
};

struct CalcResult {
    std::string beamBarsText;     // the beam reinforcement text (main window Text2)
    std::string forceDiagramText; // the force-diagram text (main window Text3)
    CalculationResult calculation; // with load cases: the envelope's
    std::optional<EnvelopeResult> envelope; // every case, every combination and the envelope
    FrameData data; // records 1 to 5 as read (with load cases: G's), for the echo of the input
    std::optional<SeismicAction> seismic; // the earthquake, when seismic design was asked for
    TitleBlock title; // the book's title block: the request's, blanks filled from the project file
};

// What the windows keep of a run to draw it and to write its book again:
// the calculation, the input echoed, every case and combination, the
// earthquake and the title block.
FileCalculation fileCalculation(const CalcResult& result);

// Why seismic design refuses a single data file.
inline constexpr const char* kSeismicNeedsCharacteristicLoads =
    "抗震验算需要荷载标准值, 请按工况 (G, Q) 或项目文件给出";

// File names of the result files the calculation always writes.
inline constexpr const char* kBeamBarsFile = "\\lpj-1.txt";
inline constexpr const char* kForceDiagramFile = "\\mvts-1.txt";

// The data check of one input file, made on the text the calculation reads.
struct InputCheck {
    std::string fileName; // the slot name as given
    std::vector<DataWarning> warnings;
};

struct PreparedRun; // what a run has read and checked (run.cpp)

// A run's inputs, each file read once: the data check and the calculation
// use the same text. Nothing has been written yet.
struct PreparedCalculation {
    std::vector<InputCheck> checks;
    std::shared_ptr<const PreparedRun> run;
};

// The first step of a run: reads and checks every input (the data file, or
// the load-case files and the combinations), the settings and the values
// (materials within the rule set's range, plausible member sizes), and that
// no output overwrites an input or another output. Touches no file. Throws
// Failure.
PreparedCalculation prepareCalculation(const CalcRequest& request);

// The second step: calculates, writes every table and draws the book in
// memory (the book into a temporary file) before any file is touched, so
// that a failure, a value too wide for a report column among them, leaves
// every file as it was. Then takes the working folder's lock (waiting up to
// 5 s for another run there, then refusing with "另一个计算正在使用文件夹 …";
// a lock file that is a symbolic link is refused), completes a commit a
// killed run left (completeInterruptedCommit), removes temporary files
// killed runs left, and puts the files in place as one set: every output
// is first written whole to a temporary file beside it, the renewed
// report's previous content too (as .bak); then a commit record names them,
// they are renamed over the old ones in this order: \lpj-1.txt,
// \mvts-1.txt, the JSON file, the PDF, the .bak, the report last; then the
// record is removed. A run that cannot write one of its files leaves every
// file as it was. The report gets a new block appended (with renewal:
// holds only the new block), written as a whole new file, so it is never
// empty or half written. Throws Failure.
CalcResult writeCalculation(const CalcRequest& request, const PreparedCalculation& prepared);

// Both steps. With load cases, the report echoes the dead-load file, lists
// the cases and the combinations, and writes the tables of the envelope
// design with the governing combinations beneath the rows; the result files
// hold the envelope's values; the JSON holds every case, every combination
// and the envelope.
CalcResult runCalculation(const CalcRequest& request);

// The calculation of a run without its files: the same checks and the same
// result (the envelope, the earthquake, the title block) as runCalculation,
// but no file is written, locked or removed; the report's text is dropped.
// For a job opened in a window only to be drawn. Throws Failure.
CalcResult calculateWithoutFiles(const CalcRequest& request);

// The commit record of the working folder: present only while a run renames
// its files into place, or after a run was killed doing so.
inline constexpr const char* kCommitRecordName = ".kjpj-commit";

// Completes the commit of a run killed between its renames: the staged
// files the record names that are still there are renamed over their
// targets, then the record is removed; without a record nothing is done.
// Runs call it before they write; every window calls it before it reads a
// result (the report, the result files, a file a run wrote), so that no
// reader sees a set of files part old, part new. Takes the folder's lock for
// it, waiting as a run does; when another run still holds the lock, that run
// completes it, and this does nothing. Throws Failure for a record it cannot
// read or complete, and for a lock file that is a symbolic link.
void completeInterruptedCommit();

// How long a run waits for another run in the same folder, ms.
inline constexpr int kFolderWaitMs = 5000;

} // namespace kj
