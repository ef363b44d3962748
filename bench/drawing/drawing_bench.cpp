// The drawings of KJ-3 (4 spans, 10 storeys): all seven layers painted into
// a 1920 x 1080 image, and the whole PDF calculation book, also with a frame
// name of 4000 characters.
#include "calc/data_file_calculation.h"
#include "calc_book.h"
#include "frame_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

const kj::FileCalculation& kj3()
{
    static const kj::FileCalculation fc =
        kj::calculateDataFile(KJ_EXAMPLES_DIR "/KJ-3.txt", "KJ-3.txt", kj::DesignSettings{});
    return fc;
}

void BM_PaintAllLayersKJ3_1920x1080(benchmark::State& state)
{
    const kj::FileCalculation& fc = kj3();
    kjd::FramePainter painter(fc.calculation);
    QImage image(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        for (kjd::Layer layer : kjd::kLayers) {
            QPainter p(&image);
            painter.paint(p, QRectF(0, 0, 1920, 1080), layer);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintAllLayersKJ3_1920x1080)->Unit(benchmark::kMillisecond);

void BM_CalculationBookKJ3(benchmark::State& state)
{
    const kj::FileCalculation& fc = kj3();
    kjd::BookOptions options;
    options.date = "2026/1/1";
    for (auto _ : state) {
        const QByteArray pdf = kjd::calculationBookPdf(fc.calculation, fc.data, options);
        benchmark::DoNotOptimize(pdf.constData());
    }
}
BENCHMARK(BM_CalculationBookKJ3)->Unit(benchmark::kMillisecond);

// The book of KJ-3 named with 4000 characters: as fast as the book above,
// the name being clipped wherever it is shown.
void BM_CalculationBookKJ3LongName(benchmark::State& state)
{
    kj::CalculationResult r = kj3().calculation;
    for (int k = 0; k < 4000; ++k) r.model.name += "框";
    kjd::BookOptions options;
    options.date = "2026/1/1";
    for (auto _ : state) {
        const QByteArray pdf = kjd::calculationBookPdf(r, kj3().data, options);
        benchmark::DoNotOptimize(pdf.constData());
    }
}
BENCHMARK(BM_CalculationBookKJ3LongName)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
