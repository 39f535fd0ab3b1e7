// Picking in the 3-D view at 1200 x 800 on 4 threads (llvmpipe) over a Hexa cantilever of
// 250 x 20 x 20 = 10^5 elements: the first pick after new settings dropped every cache (select
// display lists compiled while replaying), a repeated pick over valid display lists, and a
// rubber band over the whole view that adds every card under it to an empty selection. Targets:
// a repeated pick within 0.3 s, the rubber band within 1 s.
#include "GraphicViewBenchmarkWindow.h"
#include "OffscreenBenchmarkMain.h"
#include "solve/ModelTextGenerator.h"

#include "cards/UFemCardClasses.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr quint64 frameThreadCount = 4;

// Closed before the application ends, which its widgets need.
std::unique_ptr<GraphicViewBenchmarkWindow> window;

GraphicViewBenchmarkWindow& hexaWindow()
{
    if (window == nullptr)
        window = std::make_unique<GraphicViewBenchmarkWindow>(hexaCantileverModelText(250, 20, 20));
    return *window;
}

// The middle of the view in view points.
QPointF viewCentre(const UFemGraphicViewController& graphic)
{
    return { graphic.viewSize().width() / 2, graphic.viewSize().height() / 2 };
}

void pick(benchmark::State& state, UFemGraphicViewController& graphic,
    quint64 pickMask = UFemGraphicViewController::allPickMaskCardTypeIndexes)
{
    if (graphic.cardAtViewPoint(viewCentre(graphic), pickMask) == nullptr)
        state.SkipWithError("nothing picked");
}

void BM_FirstPickHexa100k(benchmark::State& state)
{
    UFemGraphicViewController& graphic = *hexaWindow().graphic;
    const QVariantMap base = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    for (auto _ : state) {
        state.PauseTiming();
        UErrorPtr error;
        if (!graphic.setViewPreferences(base, &error))
            state.SkipWithError("the base settings were refused");
        graphic.renderToImage(UGLDrawingOutputTypeScreen);
        state.ResumeTiming();
        pick(state, graphic);
    }
}
BENCHMARK(BM_FirstPickHexa100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// A new direction (turning between two), its frame, then the first pick: the element faces'
// select geometry is kept, the eye-facing node markers are drawn again.
void BM_FirstPickAfterCameraChangeHexa100k(benchmark::State& state)
{
    UFemGraphicViewController& graphic = *hexaWindow().graphic;
    graphic.renderToImage(UGLDrawingOutputTypeScreen);
    pick(state, graphic);
    bool isTurned = false;
    for (auto _ : state) {
        state.PauseTiming();
        isTurned = !isTurned;
        if (isTurned)
            graphic.setDirection_X_Right_Y_Up();
        else
            graphic.setDirection_X_Right_Z_Up();
        graphic.renderToImage(UGLDrawingOutputTypeScreen);
        state.ResumeTiming();
        pick(state, graphic);
    }
}
BENCHMARK(BM_FirstPickAfterCameraChangeHexa100k)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_RepeatedPickHexa100k(benchmark::State& state)
{
    UFemGraphicViewController& graphic = *hexaWindow().graphic;
    graphic.renderToImage(UGLDrawingOutputTypeScreen);
    pick(state, graphic);
    for (auto _ : state)
        pick(state, graphic);
}
BENCHMARK(BM_RepeatedPickHexa100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// The "e" key held: the node balls stay out of the pass.
void BM_RepeatedElementPickHexa100k(benchmark::State& state)
{
    constexpr quint64 elementsOnly = 1;
    UFemGraphicViewController& graphic = *hexaWindow().graphic;
    graphic.renderToImage(UGLDrawingOutputTypeScreen);
    pick(state, graphic, elementsOnly);
    for (auto _ : state)
        pick(state, graphic, elementsOnly);
}
BENCHMARK(BM_RepeatedElementPickHexa100k)->Unit(benchmark::kMillisecond)->Iterations(5);

// A drag from corner to corner and its release, then the frame that adds the band's cards.
void BM_RubberBandOverEverythingHexa100k(benchmark::State& state)
{
    UFemGraphicViewController& graphic = *hexaWindow().graphic;
    UFemGraphicView& view = *graphic.graphicView();
    const QSizeF size = graphic.viewSize();
    const QPointF from { 0, 0 };
    const QPointF to { size.width() - 1, size.height() - 1 };
    graphic.renderToImage(UGLDrawingOutputTypeScreen);
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        graphic.windowController()->clearSelectedCardArray();
        graphic.renderToImage(UGLDrawingOutputTypeScreen);
        state.ResumeTiming();
        graphic.ufemGraphicViewMouseDown(view, { from, Qt::NoModifier, 1 });
        graphic.ufemGraphicViewMouseDragged(view, { to, Qt::NoModifier, 1 });
        graphic.ufemGraphicViewMouseUp(view, { to, Qt::NoModifier, 1 });
        if (graphic.renderToImage(UGLDrawingOutputTypeScreen).isNull())
            state.SkipWithError("no picture");
        added = graphic.windowController()->selectedCardArray().size();
    }
    state.counters["cards_added"] = double(added);
    if (added < 100000)
        state.SkipWithError("the band added fewer than 10^5 cards");
}
BENCHMARK(BM_RubberBandOverEverythingHexa100k)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(
        argc, argv,
        [] {
            UFemInstallCardClasses();
            GraphicViewBenchmarkWindow::setUpProgram(frameThreadCount);
        },
        [] { window.reset(); });
}
