// Speed of the frame calculation on the four-span, ten-storey example
// (50 joints, 60 unknowns), the largest frame the data file holds, and on
// regular frames built as models from 5 storeys x 2 spans up to 30 storeys
// x 12 spans (390 joints, 420 unknowns).
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"
#include "calc/calculation.h"
#include "calc/run.h"
#include "common/textfile.h"
#include "regular_frame.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
const std::string& largeFrameText()
{
    static const std::string text = kj::readTextFile(fs::path(KJ_EXAMPLES_DIR) / "KJ-3.txt", "\\KJ-3.txt");
    return text;
}
} // namespace

// Reading records 1 to 5, building the model, assembling, solving and
// recovering every internal force.
static void BM_ReadAndAnalyse(benchmark::State& state)
{
    for (auto _ : state) {
        kj::FrameFileReader reader(largeFrameText(), "\\KJ-3.txt");
        kj::FrameModel model = kj::buildModel(reader.readRecords1to5());
        kj::InternalForces forces = kj::analyse(model);
        benchmark::DoNotOptimize(forces.N.data());
    }
}
BENCHMARK(BM_ReadAndAnalyse)->Unit(benchmark::kMicrosecond);

// The pure calculation of a model already read: analysis, equilibrium
// residuals, design of every beam and column.
static void BM_PureCalculation(benchmark::State& state)
{
    kj::FrameFileReader reader(largeFrameText(), "\\KJ-3.txt");
    kj::FrameModel model = kj::buildModel(reader.readRecords1to5());
    model.materials = reader.readMaterials();
    for (auto _ : state) {
        kj::CalculationResult r = kj::calculate(model, kj::DesignOptions{});
        benchmark::DoNotOptimize(r.beams.data());
    }
}
BENCHMARK(BM_PureCalculation)->Unit(benchmark::kMicrosecond);

// The same with the GB 50010-2010 rule set, whose beams are designed again
// with the depth of the bars chosen.
static void BM_PureCalculationGb2010(benchmark::State& state)
{
    kj::FrameFileReader reader(largeFrameText(), "\\KJ-3.txt");
    kj::FrameModel model = kj::buildModel(reader.readRecords1to5());
    model.materials = reader.readMaterials();
    kj::DesignOptions options;
    options.code = kj::DesignCode::Gb50010_2010;
    for (auto _ : state) {
        kj::CalculationResult r = kj::calculate(model, options);
        benchmark::DoNotOptimize(r.beams.data());
    }
}
BENCHMARK(BM_PureCalculationGb2010)->Unit(benchmark::kMicrosecond);

// The whole batch calculation: data file read, report appended (renewed each
// time), result files replaced.
static void BM_WholeCalculation(benchmark::State& state)
{
    fs::path dir = fs::temp_directory_path() / ("kjbench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::copy_file(fs::path(KJ_EXAMPLES_DIR) / "KJ-3.txt", dir / "KJ-3.txt", fs::copy_options::overwrite_existing);
    kj::setWorkingRoot(dir);
    kj::CalcRequest req;
    req.dataName = "\\KJ-3.txt";
    req.renewal = "1";
    for (auto _ : state) {
        kj::CalcResult r = kj::runCalculation(req);
        benchmark::DoNotOptimize(r.forceDiagramText.data());
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_WholeCalculation)->Unit(benchmark::kMicrosecond);

// A regular frame of state.range(0) storeys and state.range(1) spans: 6 m
// spans, 3.6 m storeys, beams 250 x 600 under 20 kN/m, columns 600 x 600
// (700 deep in the ground storey), 15 kN at every level.
static kj::FrameModel regularFrame(const benchmark::State& state)
{
    kjtest::RegularFrame f;
    f.storeys = static_cast<int>(state.range(0));
    f.spans = static_cast<int>(state.range(1));
    f.columnB = f.columnH = 0.6;
    f.groundColumnH = 0.7;
    f.floorForce = 15;
    return kjtest::regularFrameModel(f);
}

static void frameSizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"storeys", "spans"});
    for (int k : {1, 2, 4, 6}) b->Args({5 * k, 2 * k});
}

// The analysis alone: assembly, the sparse solution, every internal force.
static void BM_RegularAnalysis(benchmark::State& state)
{
    const kj::FrameModel model = regularFrame(state);
    for (auto _ : state) {
        kj::InternalForces forces = kj::analyse(model);
        benchmark::DoNotOptimize(forces.N.data());
    }
    state.counters["unknowns"] = model.topo.N;
}
BENCHMARK(BM_RegularAnalysis)->Apply(frameSizes)->Unit(benchmark::kMicrosecond);

// The whole pure calculation: analysis, residuals, design of every member
// and the displacements in mm.
static void BM_RegularCalculation(benchmark::State& state)
{
    const kj::FrameModel model = regularFrame(state);
    for (auto _ : state) {
        kj::CalculationResult r = kj::calculate(model, kj::DesignOptions{});
        benchmark::DoNotOptimize(r.beams.data());
    }
    state.counters["unknowns"] = model.topo.N;
}
BENCHMARK(BM_RegularCalculation)->Apply(frameSizes)->Unit(benchmark::kMicrosecond);
