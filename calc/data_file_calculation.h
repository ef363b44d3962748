#pragma once
// A frame data file calculated without touching any other file: for the
// drawings of a frame opened in the graphics window, the tests and the
// benchmarks. The report and the result files are written only by a run.
#include "analysis/frame_data.h"
#include "calc/calculation.h"
#include "calc/envelope.h"
#include "calc/options.h"
#include "calc/seismic_action.h"
#include "calc/title_block.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kj {

struct FileCalculation {
    FrameData data; // records 1 to 5 as read, for the echo of the input
    CalculationResult calculation; // from load cases: the envelope's
    std::shared_ptr<const EnvelopeResult> envelope; // every case and combination; none for one calculation
    std::shared_ptr<const SeismicAction> seismic;   // the earthquake of a seismic design; none without
    TitleBlock title; // the calculation book's first page, as the run that gave the result had it
};

// Reads the data file at path (shownName names it in messages) and
// calculates it with the settings. Throws Failure.
FileCalculation calculateDataFile(const std::filesystem::path& path, const std::string& shownName,
                                  const DesignSettings& settings);

} // namespace kj
