// libFuzzer harness: any bytes as the member parameter file, the load file,
// the beam reinforcement file or the force-diagram file, read as the windows
// read them. The first byte chooses the reader, the second the frame shape
// (the spans and storeys typed beside it). A kj::Failure is the expected
// answer to a bad file; a crash, another exception, or a box text holding
// "nan" or "inf" is a fault.
#include "common/failure.h"
#include "common/textfile.h"
#include "fuzz_support.h"
#include "main/load_file.h"
#include "members/member_params.h"
#include "viewers/result_views.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const std::string text = kj::decodeFileBytes(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
    const int shape = data[1] % kj::kViewerShapeCount;
    // Spans and storeys as typed, now and then not a template's.
    const std::string spans = std::to_string(data[1] % 5), storeys = std::to_string((data[1] / 5) % 4);
    try {
        switch (data[0] % 4) {
        case 0:
            kj::correctMemberParameters(kj::parseMemberParameters(text, "\\gjcs-1.txt"), spans, storeys);
            break;
        case 1: {
            const kj::LoadDistribution d = kj::distributeLoadText(text, "\\hzwj-1.txt", spans, storeys);
            if (d.boxes.size() > static_cast<std::size_t>(kj::kMaxLoadItems)) std::abort();
            break;
        }
        case 2:
            kj::reinforcementTexts(shape, text, "\\lpj-1.txt");
            break;
        case 3:
            for (const kj::BoxText& b : kj::forceDiagramTexts(shape, text, "\\mvts-1.txt"))
                kjfuzz::abortOnNonFinite(b.text);
            break;
        }
    } catch (const kj::Failure&) {
    }
    return 0;
}
