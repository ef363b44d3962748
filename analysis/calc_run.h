#pragma once
// The calculation behind "框架配筋计算": reads the frame data file, echoes
// the input into the report, analyses the frame, designs beams and columns,
// and writes the report and the two slot-1 result files.
#include "design/design_run.h"

#include <string>

namespace kj {

struct CalcRequest {
    std::string reportName = "\\zemowj1.txt"; // Combo1
    std::string dataName = "\\KJ-1.txt";      // Combo3
    std::string renewal = "0";                // Combo21: 1 = start a new report
    DesignSettings design;
    // Date and time for the report's title line; empty means now.
    std::string date, time;
};

struct CalcResult {
    std::string beamBarsText;     // the beam reinforcement text (main window Text2)
    std::string forceDiagramText; // the force-diagram text (main window Text3)
};

// File names of the result files the calculation always writes.
inline constexpr const char* kBeamBarsFile = "\\lpj-1.txt";
inline constexpr const char* kForceDiagramFile = "\\mvts-1.txt";

// Runs the whole calculation; names resolve as slot names (slotPath).
// Throws Failure with a Chinese message; the report then keeps what it had
// received, and files not yet written stay as they were.
CalcResult runCalculation(const CalcRequest& request);

} // namespace kj
