// One picture of the 3-D view at 1200 x 800 on 4 threads: the first frame of 10^5 Hexa elements
// (card value data, tessellation on both contexts, layer read-back and composition), the next
// frame over the kept base image, a selection change over it, and the first frame of 10^6 Quad
// elements. Targets: the first Hexa frame within 1 s, a frame over the base image within 0.1 s.
#include "GraphicViewBenchmarkWindow.h"
#include "OffscreenBenchmarkMain.h"
#include "solve/ModelTextGenerator.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "cards/UFemCardClasses.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <array>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr quint64 frameThreadCount = 4;

// Closed before the application ends, which their widgets need.
std::map<QString, std::unique_ptr<GraphicViewBenchmarkWindow>> windows;

GraphicViewBenchmarkWindow& windowOf(const QString& name, const std::function<QString()>& text)
{
    auto& window = windows[name];
    if (window == nullptr)
        window = std::make_unique<GraphicViewBenchmarkWindow>(text());
    return *window;
}

GraphicViewBenchmarkWindow& hexaWindow()
{
    return windowOf(QStringLiteral("hexa"), [] { return hexaCantileverModelText(250, 20, 20); });
}

GraphicViewBenchmarkWindow& quadWindow()
{
    return windowOf(QStringLiteral("quad"), [] { return quadPlateModelText(1000, 1000); });
}

// New settings drop every cache, so each frame starts from the model.
void firstFrame(benchmark::State& state, GraphicViewBenchmarkWindow& window)
{
    const QVariantMap base = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    for (auto _ : state) {
        state.PauseTiming();
        UErrorPtr error;
        if (!window.graphic->setViewPreferences(base, &error))
            state.SkipWithError("the base settings were refused");
        state.ResumeTiming();
        if (window.graphic->renderToImage(UGLDrawingOutputTypeScreen).isNull())
            state.SkipWithError("no picture");
    }
}

void BM_FirstFrameHexa100k(benchmark::State& state)
{
    firstFrame(state, hexaWindow());
}
BENCHMARK(BM_FirstFrameHexa100k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FrameOverBaseImageHexa100k(benchmark::State& state)
{
    GraphicViewBenchmarkWindow& window = hexaWindow();
    window.graphic->renderToImage(UGLDrawingOutputTypeScreen);
    for (auto _ : state)
        if (window.graphic->renderToImage(UGLDrawingOutputTypeScreen).isNull())
            state.SkipWithError("no picture");
}
BENCHMARK(BM_FrameOverBaseImageHexa100k)->Unit(benchmark::kMillisecond);

// Alternates between two selections of 1,000 Hexas each: the base image stays, the selection
// layer is drawn anew.
void BM_SelectionChangeHexa100k(benchmark::State& state)
{
    constexpr quint64 selectedCount = 1000;
    GraphicViewBenchmarkWindow& window = hexaWindow();
    UFemWindowController& document = *window.graphic->windowController();
    UFemWindowCardTable& cards = document.windowCardTable();
    std::array<UFemCardVector, 2> selections;
    for (quint64 row = 0; row < cards.count() && selections[1].size() < selectedCount; ++row) {
        const UFemCardPtr card = cards.cardAtIndex(row);
        if (card->isNormalCard() && card->cardLabelString() == QStringLiteral("Hexa"))
            selections[selections[0].size() < selectedCount ? 0 : 1].push_back(card);
    }
    window.graphic->renderToImage(UGLDrawingOutputTypeScreen);
    quint64 turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        document.setSelectedCardArray(selections[turn++ % 2]);
        state.ResumeTiming();
        if (window.graphic->renderToImage(UGLDrawingOutputTypeScreen).isNull()
            || !window.graphic->isBaseImageValid())
            state.SkipWithError("no picture over the base image");
    }
    document.clearSelectedCardArray();
}
BENCHMARK(BM_SelectionChangeHexa100k)->Unit(benchmark::kMillisecond);

void BM_FirstFrameQuad1M(benchmark::State& state)
{
    firstFrame(state, quadWindow());
}
BENCHMARK(BM_FirstFrameQuad1M)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(
        argc, argv,
        [] {
            UFemInstallCardClasses();
            GraphicViewBenchmarkWindow::setUpProgram(frameThreadCount);
        },
        [] { windows.clear(); });
}
