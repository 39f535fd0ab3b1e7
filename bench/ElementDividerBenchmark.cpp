// Dividing 10^4 Hexas (a 100 x 100 x 1 slab sharing its faces) by 4 with the element divider:
// 6.4 x 10^5 element lines and about 7 x 10^5 new Node lines of model text. The target is 5 s.
// The counters give the lines written and the peak resident memory of the process.
#include "OffscreenBenchmarkMain.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "tools/divider/UFemToolElementDivider.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <sys/resource.h>

#include <stdexcept>

namespace {

constexpr int HexasPerSide = 100;
constexpr int NodesPerSide = HexasPerSide + 1;
constexpr quint64 NumberOfDivide = 4;

QString nodeName(int i, int j, int k)
{
    return QStringLiteral("N%1").arg((k * NodesPerSide + j) * NodesPerSide + i);
}

QString slabModelText()
{
    QString text = QStringLiteral("Material , Steel , 210000 , 0.3 ,\nSolidProp , P , Steel ,\n");
    for (int k = 0; k < 2; ++k) {
        for (int j = 0; j < NodesPerSide; ++j) {
            for (int i = 0; i < NodesPerSide; ++i)
                text += QStringLiteral("Node , %1 ,  , %2 , %3 , %4 ,\n")
                            .arg(nodeName(i, j, k))
                            .arg(i * 0.5)
                            .arg(j * 0.5)
                            .arg(k * 0.5);
        }
    }
    for (int j = 0; j < HexasPerSide; ++j) {
        for (int i = 0; i < HexasPerSide; ++i) {
            text += QStringLiteral("Hexa , H%1 , P").arg(j * HexasPerSide + i);
            for (int k = 0; k < 2; ++k) {
                for (const auto& [di, dj] : { std::pair { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 } })
                    text += QStringLiteral(" , ") + nodeName(i + di, j + dj, k);
            }
            text += QStringLiteral(" ,\n");
        }
    }
    return text;
}

double peakResidentMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_DivideHexasByFour(benchmark::State& state)
{
    UFemDataController model;
    UErrorPtr error;
    if (!model.resetWithModelText(slabModelText(), false, &error))
        throw std::runtime_error("benchmark model does not read");
    UFemCardVector hexas;
    for (const UFemCardPtr& card : model.cardArray()) {
        if (card->cardLabelString() == QStringLiteral("Hexa"))
            hexas.push_back(card);
    }
    QString written;
    for (auto _ : state) {
        bool didExistWarning = false;
        const std::optional<QString> text = UFemToolElementDivider::modelTextToAddByDividingElement(
            hexas, NumberOfDivide, 0, nullptr, &didExistWarning, &error);
        if (!text || didExistWarning)
            throw std::runtime_error("the division failed");
        state.PauseTiming();
        written = *text;
        state.ResumeTiming();
    }
    state.counters["nodeLines"] = double(written.count(QStringLiteral("\nNode , ")));
    state.counters["elementLines"] = double(written.count(QStringLiteral("\nHexa , ")));
    state.counters["textMB"] = double(written.size()) * 2.0 / (1024.0 * 1024.0);
    state.counters["peakRSS_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_DivideHexasByFour)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, &UFemInstallCardClasses);
}
