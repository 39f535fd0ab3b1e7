// The drawing caches of the 3-D view over a plate of n × n Quad4c elements (10^6 by default,
// `--quads-per-side N` to change) with results of three cases: the card value data drawn with
// displacement, the force and displacement value ranges, and the VonMisesStress colour range and
// colour values, each on 1, 2 and 4 worker threads. The ratios at the end compare each thread
// count with one thread.
#include "../tests/graphicview/GraphicViewTaskSet.h"
#include "RandomResults.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cards/UFemCardClasses.h"
#include "graphicview/caches/UFemGraphicViewDrawingCacheManager.h"
#include "graphicview/caches/UFemGraphicViewDrawingCacheSource.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr quint64 caseCount = 3;
// One Force card every this many nodes.
constexpr quint64 nodesPerForce = 10;
constexpr int maximumThreads = 4;
quint64 quadsPerSide = 1000;

QString plateModelText()
{
    const quint64 side = quadsPerSide + 1;
    QString text
        = QStringLiteral("Material , Steel , 210000 , 0.3 ,\nShellProp , P , Steel , 0.05 ,\n");
    text.reserve(qsizetype(side * side * 80));
    for (quint64 y = 0; y < side; ++y)
        for (quint64 x = 0; x < side; ++x)
            text += QStringLiteral("Node , N%1 ,  , %2 , %3 , 0 ,\n")
                        .arg(y * side + x)
                        .arg(x)
                        .arg(y);
    for (quint64 y = 0; y < quadsPerSide; ++y)
        for (quint64 x = 0; x < quadsPerSide; ++x) {
            const quint64 n = y * side + x;
            text += QStringLiteral("Quad , Q%1 , P , N%2 , N%3 , N%4 , N%5 ,\n")
                        .arg(y * quadsPerSide + x)
                        .arg(n)
                        .arg(n + 1)
                        .arg(n + side + 1)
                        .arg(n + side);
        }
    for (quint64 n = 0; n < side * side; n += nodesPerForce)
        text += QStringLiteral("Force , F%1 , N%2 ,  , 0 , 0 , %3 , 0 , 0 , 0 ,\n")
                    .arg(n % caseCount + 1)
                    .arg(n)
                    .arg(double(n % 97));
    for (quint64 c = 1; c <= caseCount; ++c)
        text += QStringLiteral("Case , C%1 , LINEAR_STATIC , RS , F%1 ,\n").arg(c);
    return text;
}

// The plate, a view's settings on it and the view's tasks and caches.
class PlateView : public UFemGraphicViewDrawingCacheSource, public GraphicViewTaskSet {
public:
    PlateView()
    {
        UFemInstallCardClasses();
        UFemDataControllerServices services;
        UFemInstallGraphicViewValueRangeServices(services);
        model = std::make_unique<UFemDataController>(services);
        UErrorPtr error;
        if (!model->resetWithModelText(plateModelText(), true, &error))
            throw std::runtime_error(error->localizedDescription().toStdString());
        attachRandomResults(*model, caseCount, true);
        cases = { model->caseCardArray().toVector().front() };
        settings.isNodeDraw = settings.isElementDraw = settings.isForceDraw = true;
        settings.isDrawWithDisplacement = settings.isDisplacementScaleFactorAuto = true;
        settings.isForceScaleFactorAuto = true;
        settings.autoForceArrowLength = 100;
        settings.autoDisplacementPerObjectLengthFactor = 0.12;
        caches = std::make_unique<UFemGraphicViewDrawingCacheManager>(*this, drawingCacheTasks());
        // A first frame outside the timings: it allocates the cache tables and settles the
        // model's ranges, as the first frame of a view does once.
        drawCardValueData(maximumThreads);
    }
    ~PlateView() override { caches.reset(); }

    void colorByVonMisesStress(bool isOn)
    {
        settings.isDrawWithColorByValue = isOn;
        auto expression = std::make_shared<UFemCardValueExpression>();
        if (!expression->setCardValueExpressionString(QStringLiteral("VonMisesStress"), nullptr))
            throw std::runtime_error("VonMisesStress");
        settings.colorByValueCardValueExpression = expression;
        settings.colorByValueColorScale = UFemColorScale::defaultUnitColorScale();
    }
    // A new frame: the view's caches dropped (the model's value ranges kept).
    void clearView()
    {
        caches->quitCardValueDataCalcThreadIfCalculating();
        caches->clearColorScaleRangeCache();
        caches->clearGraphicViewDrawingCache();
    }
    void drawCardValueData(quint64 threadCount)
    {
        threads = threadCount;
        caches->updateDrawingPreferenceCacheIfNeeded();
        caches->startCardValueDataCalcThreadIfNeededWithThreadCountToRun(threadCount);
        bool isCanceled = false;
        if (!caches->waitCardValueDataCalcThreadFinished_isCanceled(&isCanceled))
            throw std::runtime_error("card value data failed");
    }

    const UFemGraphicViewSettings& viewSettings() const override { return settings; }
    UFemDataController& dataController() const override { return *model; }
    UFemCardVector currentCaseCardArray() const override { return cases; }
    UFemCardPtr currentCaseCard() const override { return cases.front(); }
    UFemDrawingCardTypeCardArrays windowCardTypeCardArrays() const override
    {
        return { &model->elementCardArray(), &model->nodeCardArray(), &model->restraintCardArray(),
            &model->forceCardArray(), &model->coordCardArray() };
    }
    double objectLength() const override { return double(quadsPerSide) * std::sqrt(2.0); }
    quint64 foregroundTaskThreadCount() const override { return threads; }
    void cardValueDataDidFinish() override { }

    std::unique_ptr<UFemDataController> model;
    UFemGraphicViewSettings settings;
    UFemCardVector cases;
    quint64 threads = 1;
    std::unique_ptr<UFemGraphicViewDrawingCacheManager> caches;
};

std::unique_ptr<PlateView> sharedPlate;

PlateView& plate()
{
    if (!sharedPlate)
        sharedPlate = std::make_unique<PlateView>();
    return *sharedPlate;
}

void BM_CardValueDataWithDisplacement(benchmark::State& state)
{
    PlateView& view = plate();
    view.colorByVonMisesStress(false);
    for (auto _ : state) {
        state.PauseTiming();
        view.clearView();
        state.ResumeTiming();
        view.drawCardValueData(quint64(state.range(0)));
    }
    state.counters["cards"]
        = double(view.caches->drawingCardValueDataCache().cardCount_inBaseImage);
}

// Each iteration measures a range again: `clear` drops the model's cached one, `get` computes it.
template <typename Clear, typename Get>
void measureValueRange(benchmark::State& state, Clear clear, Get get)
{
    PlateView& view = plate();
    for (auto _ : state) {
        state.PauseTiming();
        clear(*view.model);
        state.ResumeTiming();
        std::vector<UErrorPtr> errors;
        if (!get(*view.model, quint64(state.range(0)), &errors))
            throw std::runtime_error("value range failed");
    }
}

void BM_ForceValueRange(benchmark::State& state)
{
    measureValueRange(
        state, [](UFemDataController& model) { model.clearForceValueRangeCache(); },
        [](UFemDataController& model, quint64 threads, std::vector<UErrorPtr>* errors) {
            double force = 0;
            double moment = 0;
            return UFemGetForceValueRangeToMaxForceValuePtr(
                model, &force, &moment, errors, threads, nullptr);
        });
}

void BM_DisplacementValueRange(benchmark::State& state)
{
    measureValueRange(
        state, [](UFemDataController& model) { model.clearDisplacementValueRangeCache(); },
        [](UFemDataController& model, quint64 threads, std::vector<UErrorPtr>* errors) {
            double maximum = 0;
            return UFemGetDisplacementValueRangeToMaxDisplacementValuePtr(
                model, &maximum, errors, threads, nullptr);
        });
}

void BM_VonMisesColorRange(benchmark::State& state)
{
    PlateView& view = plate();
    view.colorByVonMisesStress(true);
    for (auto _ : state) {
        state.PauseTiming();
        view.clearView();
        view.threads = quint64(state.range(0));
        view.caches->updateDrawingPreferenceCacheIfNeeded();
        state.ResumeTiming();
        bool isCanceled = false;
        if (!view.caches->waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(&isCanceled)
            || !view.caches->drawingPreferenceCache().isColorScaleRangeSettled())
            throw std::runtime_error("colour range failed");
    }
}

void BM_VonMisesColorValues(benchmark::State& state)
{
    PlateView& view = plate();
    view.colorByVonMisesStress(true);
    for (auto _ : state) {
        state.PauseTiming();
        view.clearView();
        view.threads = quint64(state.range(0));
        view.caches->updateDrawingPreferenceCacheIfNeeded();
        bool isCanceled = false;
        view.caches->waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(&isCanceled);
        state.ResumeTiming();
        view.drawCardValueData(quint64(state.range(0)));
    }
    state.counters["withValues"]
        = double(view.caches->drawingCardValueDataCache().numberOfCardRespondToValueExpression);
}

void threadArguments(benchmark::internal::Benchmark* benchmark)
{
    for (int threads = 1; threads <= maximumThreads; threads *= 2)
        benchmark->Arg(threads);
    benchmark->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
}

BENCHMARK(BM_CardValueDataWithDisplacement)->Apply(threadArguments);
BENCHMARK(BM_ForceValueRange)->Apply(threadArguments);
BENCHMARK(BM_DisplacementValueRange)->Apply(threadArguments);
BENCHMARK(BM_VonMisesColorRange)->Apply(threadArguments);
BENCHMARK(BM_VonMisesColorValues)->Apply(threadArguments);

// The ratio reporter compares names before the first '/', so each thread count gets a name.
class ThreadRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            times_.push_back({ run.benchmark_name(), run.GetAdjustedRealTime() });
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nratio (time on n threads / time on 1 thread)\n");
        for (const auto& [name, time] : times_) {
            const std::string base = name.substr(0, name.find('/')) + "/1";
            for (const auto& [baseName, baseTime] : times_)
                if (baseName.rfind(base, 0) == 0 && name != baseName)
                    std::printf("  %-48s %8.3f\n", name.c_str(), time / baseTime);
        }
    }

private:
    std::vector<std::pair<std::string, double>> times_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--quads-per-side") == 0)
            quadsPerSide = std::stoull(argv[i + 1]);
    benchmark::Initialize(&argc, argv);
    ThreadRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    sharedPlate.reset();
    return 0;
}
