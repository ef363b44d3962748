// Whole calculations of the example frames compared byte for byte with
// reference files (GBK, CR LF) that were checked by hand against the report's
// column layout. The title line's date and time are fixed by the request.
// KJ_UPDATE_GOLDEN=1 rewrites the references after a deliberate change.
#include "calc/run.h"
#include "common/textfile.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace kj;
using kjtest::bytesOf;

namespace {

void runExample(const std::string& example, const std::string& reference, const CalcRequest& base)
{
    kjtest::TempDir temp("kjgolden");
    const fs::path& dir = temp.path;
    fs::copy_file(fs::path(KJ_EXAMPLES_DIR) / (example + ".txt"), dir / (example + ".txt"));
    for (const auto& [kind, name] : base.cases)
        fs::copy_file(fs::path(KJ_EXAMPLES_DIR) / name.substr(1), dir / name.substr(1), fs::copy_options::overwrite_existing);
    setWorkingRoot(dir);
    CalcRequest req = base;
    req.dataName = "\\" + example + ".txt";
    req.renewal = "1";
    req.date = "2026-12-07";
    req.time = "10:00:00";
    runCalculation(req);

    const fs::path golden = fs::path(KJ_TESTDATA_DIR) / "golden" / reference;
    const bool update = std::getenv("KJ_UPDATE_GOLDEN") != nullptr;
    for (const char* name : {"zemowj1.txt", "lpj-1.txt", "mvts-1.txt"}) {
        const std::string got = bytesOf(dir / name);
        if (update) {
            fs::create_directories(golden);
            std::ofstream(golden / name, std::ios::binary) << got;
        }
        EXPECT_EQ(decodeFileBytes(got), decodeFileBytes(bytesOf(golden / name))) << example << " " << name;
        EXPECT_EQ(got, bytesOf(golden / name)) << example << " " << name << " (bytes)";
    }
}

} // namespace

TEST(WholeRun, TwoSpanExampleFrame) { runExample("KJ-1", "KJ-1", CalcRequest{}); }

TEST(WholeRun, ThreeSpanTwoStoreyWithEveryKindOfLoad) { runExample("KJ-2", "KJ-2", CalcRequest{}); }

TEST(WholeRun, FourSpanTenStoreyFrameAtTheSizeLimit) { runExample("KJ-3", "KJ-3", CalcRequest{}); }

TEST(WholeRun, ContinuousBeamWithBothEndsFixed) { runExample("CB-1", "CB-1", CalcRequest{}); }

TEST(WholeRun, RedistributionAndChosenBars)
{
    CalcRequest r;
    r.design.beta = "0.80";
    r.design.cover = "30";
    r.design.topCount = "2";
    r.design.topDiameter = "18";
    r.design.stirrupLegs = "4";
    r.design.stirrupDiameter = "8";
    runExample("KJ-2", "KJ-2-beta080", r);
}

// The example frame with its live load and wind as load cases, designed from
// the envelope of the GB 55001-2021 combinations (worked by hand for beam 1
// and the columns).
TEST(WholeRun, LoadCasesDesignedFromTheEnvelope)
{
    CalcRequest r;
    r.cases = {{"G", "\\KJ-1.txt"}, {"Q", "\\KJ-1Q.txt"}, {"W", "\\KJ-1W.txt"}};
    runExample("KJ-1", "KJ-1-cases", r);
}
