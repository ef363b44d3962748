// libFuzzer harness: any texts in the eight design settings boxes (beta,
// cover, top bars count and diameter, bottom bars count and diameter,
// stirrup legs and diameter, one per line after a first byte choosing the
// example frame), through the beam and column design of an analysed frame.
// A kj::Failure is the expected answer to a bad setting; a crash, another
// exception or a report or result text holding "nan" or "inf" is a fault.
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/calculation.h"
#include "calc/json_output.h"
#include "calc/options.h"
#include "calc/report.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/textfile.h"
#include "fuzz_support.h"

#include <array>

namespace {

kj::CalculationResult analysed(const char* name)
{
    kj::FrameFileReader reader(kjfuzz::example(name), name);
    kj::FrameData d = reader.readRecords1to5();
    kj::FrameModel model = kj::buildModel(d);
    model.materials = reader.readMaterials();
    return kj::calculate(model, kj::DesignOptions{});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::array<kj::CalculationResult, 4> frames{analysed("KJ-1.txt"), analysed("KJ-2.txt"),
                                                             analysed("KJ-3.txt"), analysed("CB-1.txt")};
    if (size == 0) return 0;
    const kj::CalculationResult& frame = frames[data[0] % frames.size()];
    const std::vector<std::string> texts = kjfuzz::lines(data + 1, size - 1);
    kj::DesignSettings s;
    std::string* boxes[] = {&s.beta,           &s.cover,       &s.topCount,    &s.topDiameter,
                            &s.bottomCount,    &s.bottomDiameter, &s.stirrupLegs, &s.stirrupDiameter};
    for (std::size_t i = 0; i < texts.size() && i < 8; ++i) *boxes[i] = kj::decodeFileBytes(texts[i]);
    try {
        kj::CalculationResult r = frame;
        r.options = kj::parseDesignOptions(s);
        kj::designMembers(r, kj::defaultRules());
        kj::ReportWriter report;
        kj::writeDesignTables(report, r);
        const std::string bars = kj::beamBarsText(r);
        const std::string lines = kj::forceDiagramText(r);
        (void)kj::resultJson(r);
        kjfuzz::abortOnNonFinite(report.str());
        kjfuzz::abortOnNonFinite(bars);
        kjfuzz::abortOnNonFinite(lines);
    } catch (const kj::Failure&) {
    }
    return 0;
}
