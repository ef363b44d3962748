// libFuzzer harness: any bytes as a frame data file, through the reader and
// the pure calculation, then every text view of its result, and through the data check A kj::Failure is
// the expected answer to bad input; anything else (a crash, a sanitizer
// report, another exception, a text holding "nan" or "inf") is a fault.
#include "analysis/data_check.h"
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/calculation.h"
#include "calc/json_output.h"
#include "calc/report.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/textfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text = kj::decodeFileBytes(std::string(reinterpret_cast<const char*>(data), size));
    try {
        (void)kj::checkFrameFile(text, "\\KJ-1.txt");
    } catch (const kj::Failure&) {
    }
    try {
        kj::FrameFileReader reader(text, "\\KJ-1.txt");
        kj::FrameData d = reader.readRecords1to5();
        kj::FrameModel m = kj::buildModel(d);
        try {
            m.materials = reader.readMaterials();
        } catch (const kj::Failure& f) {
            m.materialsFailure = f.what();
        }
        const kj::CalculationResult r = kj::calculate(m, kj::DesignOptions{});
        kj::ReportWriter w;
        kj::writeEcho(w, d, "2026/1/1", "0:00:00");
        kj::writeDesignTables(w, r);
        const std::string bars = kj::beamBarsText(r);
        const std::string lines = kj::forceDiagramText(r);
        for (const std::string* s : {&w.str(), &bars, &lines})
            if (s->find("nan") != std::string::npos || s->find("inf") != std::string::npos ||
                s->find("NaN") != std::string::npos || s->find("Inf") != std::string::npos)
                std::abort();
        (void)kj::resultJson(r);
    } catch (const kj::Failure&) {
    }
    return 0;
}
