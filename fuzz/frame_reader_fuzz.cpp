// libFuzzer harness: any bytes as a frame data file, through the data check,
// the reader, the analysis and the section design. A kj::Failure is the expected answer to
// bad input; anything else (a crash, a sanitizer report, another exception,
// a report holding "nan" or "inf") is a fault.
#include "analysis/data_check.h"
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/textfile.h"
#include "design/design_run.h"

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
        kj::InternalForces f = kj::analyse(m);
        kj::Materials mat = reader.readMaterials();
        kj::ReportWriter w;
        std::string bars = kj::designBeams(m, f, mat, kj::DesignSettings{}, w);
        std::string lines = kj::forceDiagramBeamLines(m, f);
        if (!m.continuousBeam) {
            kj::designColumns(m, f, mat, w);
            lines += kj::forceDiagramColumnLines(m, f);
        }
        for (const std::string* s : {&w.str(), static_cast<const std::string*>(&bars), static_cast<const std::string*>(&lines)})
            if (s->find("nan") != std::string::npos || s->find("inf") != std::string::npos ||
                s->find("NaN") != std::string::npos || s->find("Inf") != std::string::npos)
                std::abort();
    } catch (const kj::Failure&) {
    }
    return 0;
}
