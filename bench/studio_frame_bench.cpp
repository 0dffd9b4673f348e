// Frames of the studio's drawing view, painted into an offscreen image as the view does: the
// 100k-entity drawing (and a 1M one) after a zoom and after a pan (the view's frame reusing the
// last picture, and painted whole), and all of it at once; and
// opening the 100k drawing's file up to its first frame. The median frame is the figure to read
// (the aim: 16 ms at 100k, 100 ms at 1M, and 1 s to the first frame): wall time, with the CPU
// time of the whole process beside it, as a frame may be painted by two threads.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <vantrel/db/DxfFile.h>

#include "bench_drawing.h"
#include "view/DrawingScene.h"
#include "view/ViewFrame.h"
#include "view/ViewTransform.h"

namespace {

using vantrel::studio::DrawingScene;
using vantrel::studio::ViewFrame;
using vantrel::studio::ViewTransform;

constexpr int kWidth = 1280;
constexpr int kHeight = 860;

struct Fixture {
    OdDbDatabasePtr db;
    std::unique_ptr<DrawingScene> scene;
};

Fixture& fixture(int count)
{
    static std::map<int, Fixture> made;
    Fixture& f = made[count];
    if (!f.db) {
        f.db = vantrel::bench::mixedDrawing(count);
        f.scene = std::make_unique<DrawingScene>(*f.db);
        f.scene->refresh();
    }
    return f;
}

ViewTransform extentsView(DrawingScene& scene)
{
    ViewTransform view;
    view.setSize(kWidth, kHeight);
    view.fit(scene.extents(), 0.05);
    return view;
}

void paint(DrawingScene& scene, const ViewTransform& view, QImage& image, benchmark::State& state)
{
    image.fill(0x212830);
    QPainter painter(&image);
    const DrawingScene::PaintCount count = scene.paint(painter, view);
    state.counters["drawn"] = static_cast<double>(count.drawn);
    state.counters["dots"] = static_cast<double>(count.dots);
}

// The whole drawing, then zoomed in four times about a point of it: each frame is one zoom step
// of the wheel in or out, as a user scrolls.
void BM_FrameAfterZoom(benchmark::State& state)
{
    DrawingScene& scene = *fixture(static_cast<int>(state.range(0))).scene;
    ViewTransform view = extentsView(scene);
    view.zoomAbout(kWidth * 0.4, kHeight * 0.6, 4.0);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    bool in = true;
    for (auto _ : state) {
        view.zoomAbout(kWidth * 0.4, kHeight * 0.6, in ? 1.2 : 1.0 / 1.2);
        in = !in;
        paint(scene, view, image, state);
    }
}

// Zoomed in four times, panned by 40 pixels across and 20 down a frame, back and forth, as a
// middle drag does: the view's frame moves the last picture and paints the strips that came in.
void BM_FrameAfterPan(benchmark::State& state)
{
    DrawingScene& scene = *fixture(static_cast<int>(state.range(0))).scene;
    ViewTransform view = extentsView(scene);
    view.zoomAbout(kWidth / 2.0, kHeight / 2.0, 4.0);
    ViewFrame frame(QColor::fromRgb(0x212830));
    (void)frame.render(scene, view);
    int n = 0;
    for (auto _ : state) {
        const double step = (n++ / 10) % 2 == 0 ? 40.0 : -40.0;
        view.panPixels(step, step / 2.0);
        benchmark::DoNotOptimize(frame.render(scene, view).constBits());
        state.counters["drawn"] = static_cast<double>(frame.lastCount().drawn);
        state.counters["dots"] = static_cast<double>(frame.lastCount().dots);
    }
}

// The same pan with every frame painted whole.
void BM_FrameAfterPanWhole(benchmark::State& state)
{
    DrawingScene& scene = *fixture(static_cast<int>(state.range(0))).scene;
    ViewTransform view = extentsView(scene);
    view.zoomAbout(kWidth / 2.0, kHeight / 2.0, 4.0);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    int n = 0;
    for (auto _ : state) {
        const double step = (n++ / 10) % 2 == 0 ? 40.0 : -40.0;
        view.panPixels(step, step / 2.0);
        paint(scene, view, image, state);
    }
}

// Everything in view at once (zoom extents).
void BM_FrameExtents(benchmark::State& state)
{
    DrawingScene& scene = *fixture(static_cast<int>(state.range(0))).scene;
    const ViewTransform view = extentsView(scene);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state)
        paint(scene, view, image, state);
}

// From the file to the first frame of the whole drawing: reading, indexing, painting.
void BM_OpenToFirstPaint(benchmark::State& state)
{
    const std::string path = "/tmp/vantrel_studio_frame_bench.dxf";
    {
        std::ofstream(path, std::ios::binary) << vantrel::dxfText(*fixture(static_cast<int>(state.range(0))).db);
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        vantrel::DxfReadResult read = vantrel::readDxf(path, {});
        DrawingScene scene(*read.database);
        paint(scene, extentsView(scene), image, state);
    }
    std::remove(path.c_str());
}

// The quickest of the repetitions besides the median: on a shared machine it is the figure least
// disturbed by the others' work.
double fastest(const std::vector<double>& v) { return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end()); }

void frames(benchmark::internal::Benchmark* b)
{
    b->Arg(100000)
        ->Arg(1000000)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->UseRealTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", fastest);
}

BENCHMARK(BM_FrameAfterZoom)->Apply(frames);
BENCHMARK(BM_FrameAfterPan)->Apply(frames);
BENCHMARK(BM_FrameAfterPanWhole)->Apply(frames);
BENCHMARK(BM_FrameExtents)->Apply(frames);
BENCHMARK(BM_OpenToFirstPaint)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", fastest);

} // namespace

int main(int argc, char** argv)
{
    // Painting needs a Qt application (fonts), not a screen.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
