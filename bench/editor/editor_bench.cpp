// The frame editor: the redraw of its drawing after one edit (10 x 4 and
// 30 x 12 frames), the same edit through the window (the command, the
// tables and the drawing), and opening a 30 x 12 project.
#include "calc/project.h"
#include "editor/editor_form.h"
#include "editor/editor_view.h"
#include "editor/project_edits.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

// A frame of spans x storeys: 6 m spans, 3.6 m storeys, a uniform load on
// every beam in G and Q, a point load on every third, and a floor force at
// every level in W.
kj::Project frame(int spans, int storeys)
{
    kj::Project p = kj::newProject();
    for (int k = 1; k < spans; ++k) p = kj::withSpanAdded(p, 0);
    for (int s = 1; s < storeys; ++s) p = kj::withStoreyAdded(p, 0);
    for (kj::LoadCaseKind kind : {kj::LoadCaseKind::G, kj::LoadCaseKind::Q, kj::LoadCaseKind::W}) kj::caseOf(p, kind);
    for (int s = 0; s < storeys; ++s)
        for (int k = 0; k < spans; ++k) {
            auto& g = p.cases[0].beamLoads[static_cast<std::size_t>(s)][static_cast<std::size_t>(k)];
            g.push_back({kj::BeamLoad::Kind::Uniform, 20, 0, 0, 0});
            if (k % 3 == 0) g.push_back({kj::BeamLoad::Kind::Point, 40, 0, 0, 2.0});
            p.cases[1].beamLoads[static_cast<std::size_t>(s)][static_cast<std::size_t>(k)].push_back(
                {kj::BeamLoad::Kind::Uniform, 8, 0, 0, 0});
        }
    for (int level = 1; level <= storeys; ++level) p.cases[2].floorForces.push_back({level, 10.0 * level});
    return kj::parseProject(kj::projectJson(p), "bench.kjpj");
}

// One edit as the editor makes it: the span changed, the project checked by
// its own reading, the frame model and analysis of the case drawn, and the
// loads layer painted at the drawing's size.
void redrawAfterOneEdit(benchmark::State& state, int spans, int storeys)
{
    kj::Project p = frame(spans, storeys);
    QImage image(700, 600, QImage::Format_ARGB32_Premultiplied);
    int n = 0;
    for (auto _ : state) {
        kj::Project next = p;
        next.spans[0] = (++n % 2) ? 6.1 : 6.0;
        p = kj::parseProject(kj::projectJson(next), next.fileName);
        const kjw::EditorDrawing d = kjw::editorDrawing(p, kj::LoadCaseKind::G);
        kjd::FramePainter painter(d.result);
        QPainter qp(&image);
        painter.paint(qp, QRectF(0, 0, 700, 600), kjd::Layer::Loads);
        benchmark::DoNotOptimize(image.constBits());
    }
}
void BM_EditorRedraw_10x4(benchmark::State& state) { redrawAfterOneEdit(state, 10, 4); }
void BM_EditorRedraw_30x12(benchmark::State& state) { redrawAfterOneEdit(state, 30, 12); }
BENCHMARK(BM_EditorRedraw_10x4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorRedraw_30x12)->Unit(benchmark::kMillisecond);

// The same edit typed into the window: the undoable command, every table
// refreshed and the drawing painted.
void editInTheWindow(benchmark::State& state, int spans, int storeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.kjpj"));
    std::ofstream(path.toStdString()) << kj::projectJson(frame(spans, storeys));
    EditorForm form;
    form.openFile(path);
    form.View1->resize(700, 600);
    int n = 0;
    for (auto _ : state) {
        form.TableSpans->item(0, 0)->setText((++n % 2) ? QStringLiteral("6.1") : QStringLiteral("6"));
        const QPixmap shown = form.View1->grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }
}
void BM_EditorEditInWindow_10x4(benchmark::State& state) { editInTheWindow(state, 10, 4); }
void BM_EditorEditInWindow_30x12(benchmark::State& state) { editInTheWindow(state, 30, 12); }
BENCHMARK(BM_EditorEditInWindow_10x4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorEditInWindow_30x12)->Unit(benchmark::kMillisecond);

// Opening a 30 x 12 project in the window: reading, checking, the tables and the drawing.
void BM_EditorOpen_30x12(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.kjpj"));
    std::ofstream(path.toStdString()) << kj::projectJson(frame(30, 12));
    EditorForm form;
    form.View1->resize(700, 600);
    for (auto _ : state) {
        form.openFile(path);
        const QPixmap shown = form.View1->grab();
        benchmark::DoNotOptimize(shown.cacheKey());
    }
}
BENCHMARK(BM_EditorOpen_30x12)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
