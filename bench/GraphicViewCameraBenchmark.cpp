// The 3-D view's camera and settings: fitting a model of 10^6 nodes into the view (beside the
// node walk of the model's bounding box, for scale) and applying a built-in view setting to the
// 3-D view of a real document window. Targets: a fit within 0.1 s, a setting within 10 ms.
#include "BenchmarkRatioReporter.h"
#include "GraphicViewBenchmarkWindow.h"

#include "cardmodel/data/UFemCardTable.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "graphicview/UFemGraphicViewCamera.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace {

constexpr quint64 nodeCount = 1000000;
constexpr double directionXRightZUp[9] = { 1, 0, 0, 0, 0, -1, 0, 1, 0 };

// 10^6 nodes on a slightly warped 1000 x 1000 grid.
UFemDataController& nodeModel()
{
    static std::unique_ptr<UFemDataController> model;
    if (model == nullptr) {
        QString text;
        text.reserve(qsizetype(nodeCount) * 48);
        const auto side = quint64(std::sqrt(double(nodeCount)));
        for (quint64 i = 0; i < nodeCount; ++i)
            text += QStringLiteral("Node , N%1 ,  , %2 , %3 , %4 ,\n")
                        .arg(i)
                        .arg(double(i % side) * 0.01)
                        .arg(double(i / side) * 0.01)
                        .arg(std::sin(double(i) * 1e-3) * 0.1);
        model = std::make_unique<UFemDataController>();
        if (!model->resetWithModelText(text, true, nullptr))
            throw std::runtime_error("benchmark model does not read");
    }
    return *model;
}

void BM_NodeBoundingBox(benchmark::State& state)
{
    UFemDataController& model = nodeModel();
    double box[6];
    for (auto _ : state) {
        UFemGetNodeBoundingBox(box, model.nodeCardArray());
        benchmark::DoNotOptimize(box);
    }
}
BENCHMARK(BM_NodeBoundingBox)->Unit(benchmark::kMillisecond);

void BM_FitMillionNodes(benchmark::State& state)
{
    UFemGraphicViewCamera camera(nodeModel());
    camera.setViewSize(QSizeF(1200, 800));
    for (auto _ : state)
        benchmark::DoNotOptimize(camera.fitWithObjectDirection(directionXRightZUp));
}
BENCHMARK(BM_FitMillionNodes)->Unit(benchmark::kMillisecond);

// Closed before the application ends, which its widgets need.
std::unique_ptr<GraphicViewBenchmarkWindow> presetWindow;

QVariantMap presetOverBase(int folderIndex)
{
    QVariantMap preferences = UFemGraphicViewPreferences::baseGraphicViewPreferences();
    preferences.insert(
        UFemGraphicViewPreferences::defaultGraphicViewPreferencesOfFolderIndex(folderIndex));
    return preferences;
}

// "VonMisesStress" and "Model" in turn, so that every application changes the settings.
void BM_ApplyPreset(benchmark::State& state)
{
    if (presetWindow == nullptr)
        presetWindow = std::make_unique<GraphicViewBenchmarkWindow>(
            QStringLiteral("Node , A ,  , 0 , 0 , 0 ,\nNode , B ,  , 2 , 0 , 1 ,\n"));
    GraphicViewBenchmarkWindow& window = *presetWindow;
    const QVariantMap presets[2] = { presetOverBase(3), presetOverBase(1) };
    int turn = 0;
    for (auto _ : state) {
        UErrorPtr error;
        if (!window.graphic->setViewPreferences(presets[turn], &error))
            state.SkipWithError("a built-in setting was refused");
        turn = 1 - turn;
    }
}
BENCHMARK(BM_ApplyPreset)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("EGL_PLATFORM", "surfaceless");
    QApplication application(argc, argv);
    UFemInstallCardClasses();
    GraphicViewBenchmarkWindow::setUpProgram(4);
    benchmark::Initialize(&argc, argv);
    BenchmarkRatioReporter reporter(
        { std::pair<std::string, std::string> { "BM_FitMillionNodes", "BM_NodeBoundingBox" } });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    presetWindow.reset();
    return 0;
}
