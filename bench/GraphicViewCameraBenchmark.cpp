// The 3-D view's camera and settings: fitting a model of 10^6 nodes into the view (beside the
// node walk of the model's bounding box, for scale) and applying a built-in view setting to the
// 3-D view of a real document window. Targets: a fit within 0.1 s, a setting within 10 ms.
#include "BenchmarkRatioReporter.h"

#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "appkit/FileDialogPanels.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/data/UFemCardTable.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "documents/document/UFemDocumentTypeRegistration.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowController.h"
#include "graphicview/UFemGraphicViewCamera.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/UFemGraphicViewPreferences.h"
#include "tables/UFemTableViewPreferences.h"

#include <QApplication>
#include <QTemporaryDir>

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

// A model document opened in a window switched to the 3-D view.
struct GraphicWindow {
    GraphicWindow()
        : panels(sheets)
        , controller(sheets, panels, tracker)
    {
        UFemRegisterDocumentTypes(controller, UFemDataControllerServices::shared(), nullptr);
        const QString path = folder.filePath(QStringLiteral("plate.vtmodel"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the benchmark model");
        file.write("Node , A ,  , 0 , 0 , 0 ,\nNode , B ,  , 2 , 0 , 1 ,\n");
        file.close();
        UErrorPtr error;
        Document* document = controller.openDocument(path, true, &error);
        if (document == nullptr || document->windowControllers().empty())
            throw std::runtime_error("benchmark document does not open");
        auto* window
            = dynamic_cast<UFemWindowController*>(document->windowControllers().front().get());
        window->setViewType(UFemViewTypeGraphic);
        graphic = dynamic_cast<UFemGraphicViewController*>(window->mainViewController());
    }

    QTemporaryDir folder;
    WindowTracker tracker;
    SheetPresenter sheets;
    FileDialogPanels panels;
    DocumentController controller;
    UFemGraphicViewController* graphic = nullptr;
};

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
    static GraphicWindow window;
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
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays(
        UFemTableViewPreferences::defaultTableViewPreferencesFolderArray(),
        UFemGraphicViewPreferences::defaultGraphicViewPreferencesFolderArray());
    UFemWindowController::setRegisteredMainViewControllerMaker(
        &UFemGraphicViewController::makeMainViewController);
    benchmark::Initialize(&argc, argv);
    BenchmarkRatioReporter reporter(
        { std::pair<std::string, std::string> { "BM_FitMillionNodes", "BM_NodeBoundingBox" } });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
