// Speed of the envelope of load cases on regular frames up to 30 storeys
// and 12 spans (390 joints, 420 unknowns), with and without live-load
// patterns (one analysis of each loaded beam's Q, one factorisation).
#include "calc/combinations.h"
#include "calc/envelope.h"
#include "calc/load_cases.h"
#include "regular_frame.h"

#include <benchmark/benchmark.h>

namespace {

// 6 m spans, 3.6 m storeys, beams 250x600, columns 500x500; G 25 kN/m with
// the columns' own weight, Q 10 kN/m on every beam, W 20 kN at every level.
kj::LoadCaseInput regularCase(kj::LoadCaseKind kind, int storeys, int spans)
{
    kjtest::RegularFrame f;
    f.storeys = storeys;
    f.spans = spans;
    f.q = kind == kj::LoadCaseKind::G ? 25 : kind == kj::LoadCaseKind::Q ? 10 : 0;
    f.floorForce = kind == kj::LoadCaseKind::W ? 20 : 0;
    return kjtest::regularFrameCase(kind, f);
}

std::vector<kj::LoadCaseInput> regularCases(int storeys, int spans)
{
    std::vector<kj::LoadCaseInput> cases;
    for (kj::LoadCaseKind kind : {kj::LoadCaseKind::G, kj::LoadCaseKind::Q, kj::LoadCaseKind::W})
        cases.push_back(regularCase(kind, storeys, spans));
    return cases;
}

void envelope(benchmark::State& state, bool patterns, const kj::DesignRules& rules = kj::defaultRules())
{
    const int storeys = static_cast<int>(state.range(0)), spans = static_cast<int>(state.range(1));
    const std::vector<kj::LoadCaseInput> cases = regularCases(storeys, spans);
    const kj::CombinationSet& set = kj::combinationSet("GB55001");
    const std::vector<kj::Combination> combinations = kj::combinationsFor(set, {true, true, true});
    kj::EnvelopeOptions options;
    options.liveLoadPatterns = patterns;
    kj::DesignOptions design;
    if (&rules == &kj::gb50010_2010Rules()) design.code = kj::DesignCode::Gb50010_2010;
    for (auto _ : state) {
        const kj::EnvelopeResult r = kj::calculateEnvelope(cases, combinations, set.title, design, rules, options);
        benchmark::DoNotOptimize(r.envelope.beams.data());
    }
}

// The envelope of the 16 combinations of GB 55001-2021.
void BM_Envelope(benchmark::State& state) { envelope(state, false); }
// The same with the live load patterned.
void BM_EnvelopeWithPatterns(benchmark::State& state) { envelope(state, true); }
// GB 50010-2010: each combination's storey magnifiers etaS as well.
void BM_EnvelopeGb2010WithPatterns(benchmark::State& state) { envelope(state, true, kj::gb50010_2010Rules()); }

// The M and V envelope curves of every member over every combination and
// every layout of Q, as the drawing of the envelope asks for them.
void BM_EnvelopeCurves(benchmark::State& state)
{
    const std::vector<kj::LoadCaseInput> cases = regularCases(static_cast<int>(state.range(0)),
                                                              static_cast<int>(state.range(1)));
    const kj::CombinationSet& set = kj::combinationSet("GB55001");
    kj::EnvelopeOptions options;
    options.liveLoadPatterns = true;
    const kj::EnvelopeResult r = kj::calculateEnvelope(cases, kj::combinationsFor(set, {true, true, true}), set.title,
                                                       kj::DesignOptions{}, kj::defaultRules(), options);
    for (auto _ : state)
        for (int i = 1; i <= r.envelope.topo().memberCount(); ++i)
            benchmark::DoNotOptimize(kj::memberEnvelope(r, i, 12).data());
}

} // namespace

BENCHMARK(BM_Envelope)->Args({1, 2})->Args({10, 4})->Args({30, 12})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnvelopeWithPatterns)->Args({1, 2})->Args({10, 4})->Args({30, 12})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnvelopeGb2010WithPatterns)->Args({10, 4})->Args({30, 12})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnvelopeCurves)->Args({10, 4})->Args({30, 12})->Unit(benchmark::kMillisecond);
