// Speed of the envelope of load cases on a frame of 30 storeys and 12
// spans (390 joints, 420 unknowns), with and without live-load patterns.
// The frame is built as a model: the data file holds at most 10 storeys.
#include "analysis/frame_model.h"
#include "calc/combinations.h"
#include "calc/envelope.h"
#include "calc/load_cases.h"

#include <benchmark/benchmark.h>

namespace {

// Spans of 6.0 and 2.4 m in turn, storeys of 3.6 m (4.5 m at the ground),
// beams 250x600, columns 500x500; G 25 kN/m, Q 10 kN/m on every beam, W a
// storey shear of 20 kN per storey.
kj::LoadCaseInput largeCase(kj::LoadCaseKind kind, int spans, int storeys)
{
    kj::LoadCaseInput c;
    c.kind = kind;
    c.fileName = std::string("\\") + kj::caseLetter(kind) + ".txt";
    kj::FrameModel& m = c.model;
    m.fileName = c.fileName;
    m.name = "BENCH";
    m.topo = kj::FrameTopology::of(spans, storeys);
    const kj::FrameTopology& t = m.topo;
    m.x.assign(static_cast<std::size_t>(spans) + 1, 0.0);
    for (int j = 1; j <= spans; ++j) m.x[static_cast<std::size_t>(j)] = m.x[static_cast<std::size_t>(j - 1)] + (j % 2 ? 6.0 : 2.4);
    m.y.assign(static_cast<std::size_t>(storeys) + 2, 0.0);
    for (int J = storeys; J >= 1; --J)
        m.y[static_cast<std::size_t>(J)] = m.y[static_cast<std::size_t>(J + 1)] + (J == storeys ? 4.5 : 3.6);
    m.members.assign(static_cast<std::size_t>(t.memberCount()) + 1, kj::Member{});
    m.loads.assign(static_cast<std::size_t>(t.NB) + 1, {});
    m.spanItems.assign(static_cast<std::size_t>(t.NB) + 1, "");
    for (int i = 1; i <= t.NB; ++i) {
        const double len = t.beamSpan(i) % 2 ? 6.0 : 2.4;
        m.members[static_cast<std::size_t>(i)] = {len, 0.25, 0.6};
        if (kind != kj::LoadCaseKind::W)
            m.loads[static_cast<std::size_t>(i)] = {{kind == kj::LoadCaseKind::G ? 25.0 : 10.0, len, len / 2}};
    }
    for (int col = 1; col <= t.NC; ++col)
        m.members[static_cast<std::size_t>(t.columnMember(col))] = {t.bottomStorey(col) ? 4.5 : 3.6, 0.5, 0.5};
    if (kind == kj::LoadCaseKind::W)
        for (int J = 1; J <= storeys; ++J) m.jointGroups.push_back({{t.NC + J}, 20.0 * J, 0});
    m.columnWeight = kind == kj::LoadCaseKind::G;
    m.materials = kj::Materials{300, 25};
    return c;
}

void envelope(benchmark::State& state, bool patterns)
{
    const int spans = static_cast<int>(state.range(0)), storeys = static_cast<int>(state.range(1));
    const std::vector<kj::LoadCaseInput> cases{largeCase(kj::LoadCaseKind::G, spans, storeys),
                                               largeCase(kj::LoadCaseKind::Q, spans, storeys),
                                               largeCase(kj::LoadCaseKind::W, spans, storeys)};
    const kj::CombinationSet& set = kj::combinationSet("GB55001");
    const std::vector<kj::Combination> combinations = kj::combinationsFor(set, {true, true, true});
    kj::EnvelopeOptions options;
    options.liveLoadPatterns = patterns;
    for (auto _ : state) {
        const kj::EnvelopeResult r =
            kj::calculateEnvelope(cases, combinations, set.title, kj::DesignOptions{}, kj::defaultRules(), options);
        benchmark::DoNotOptimize(r.envelope.beams.data());
    }
}

// The envelope of the 16 combinations of GB 55001-2021.
void BM_Envelope(benchmark::State& state) { envelope(state, false); }
// The same with the live load patterned: one analysis per loaded beam.
void BM_EnvelopeWithPatterns(benchmark::State& state) { envelope(state, true); }

} // namespace

BENCHMARK(BM_Envelope)->Args({2, 1})->Args({12, 30})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnvelopeWithPatterns)->Args({2, 1})->Args({4, 10})->Args({12, 30})->Unit(benchmark::kMillisecond);
