// libFuzzer harness: the whole calculation run in a folder of its own, with
// any bytes as the frame data file. The first byte chooses renewal (bit 0)
// and whether a report from an earlier run is there (bit 1). A run either
// completes, writing the report and both result files, or fails with a
// kj::Failure; either way the data file keeps its bytes, no other file
// appears (but the renewed report's .bak and the folder's lock file; no
// temporary file is left), the report keeps what it had (unless renewed) and ends with a
// whole line, and the result files are not written before the design. No
// output but the echo of the input may show "nan" or "inf".
#include "calc/run.h"
#include "common/failure.h"
#include "common/platform.h"
#include "common/textfile.h"
#include "fuzz_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string bytesOf(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& p, std::string_view bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const fs::path& folder()
{
    static const fs::path dir = [] {
        std::string tmpl = (fs::temp_directory_path() / "kjrun-fuzz-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) std::abort();
        return fs::path(tmpl);
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const fs::path& dir = folder();
    const bool renew = data[0] & 1, earlier = data[0] & 2;
    const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path(), ec);
    writeBytes(dir / "KJ-1.txt", input);
    const std::string oldReport = earlier ? "earlier run\r\n" : "";
    if (earlier) writeBytes(dir / "zemowj1.txt", oldReport);

    kj::setWorkingRoot(dir);
    kj::CalcRequest request;
    request.renewal = renew ? "1" : "0";
    request.date = "2026-12-07";
    request.time = "9:05:00";
    bool completed = false;
    try {
        kj::runCalculation(request);
        completed = true;
    } catch (const kj::Failure& f) {
        if (std::string_view(f.what()).empty()) std::abort();
    }

    if (bytesOf(dir / "KJ-1.txt") != input) std::abort();
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        const bool kept = renew && earlier && name == "zemowj1.txt.bak";
        if (name != "KJ-1.txt" && name != "zemowj1.txt" && name != "lpj-1.txt" && name != "mvts-1.txt" &&
            name != kj::platform::kFolderLockName && !kept)
            std::abort();
    }
    if (renew && earlier && fs::exists(dir / "zemowj1.txt.bak") && bytesOf(dir / "zemowj1.txt.bak") != oldReport)
        std::abort();
    const std::string report = bytesOf(dir / "zemowj1.txt");
    if (!renew && report.compare(0, oldReport.size(), oldReport) != 0) std::abort();
    if (!report.empty() && report.size() < 2) std::abort();
    if (!report.empty() && report.compare(report.size() - 2, 2, "\r\n") != 0) std::abort();
    const std::string added = renew ? report : report.substr(std::min(oldReport.size(), report.size()));
    const bool design = added.find("Fy=") != std::string::npos;
    const bool results = fs::exists(dir / "lpj-1.txt") || fs::exists(dir / "mvts-1.txt");
    if (completed && !(design && fs::exists(dir / "lpj-1.txt") && fs::exists(dir / "mvts-1.txt"))) std::abort();
    if (!design && results) std::abort();
    if (design) kjfuzz::abortOnNonFinite(kj::decodeFileBytes(added.substr(added.find("Fy=")))); // after the echo
    kjfuzz::abortOnNonFinite(bytesOf(dir / "lpj-1.txt"));
    kjfuzz::abortOnNonFinite(bytesOf(dir / "mvts-1.txt"));
    return 0;
}
