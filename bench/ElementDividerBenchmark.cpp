// Dividing 10^4 Hexas (a 100 x 100 x 1 slab sharing its faces) by 4 with the element divider:
// 6.4 x 10^5 element lines and about 7 x 10^5 new Node lines of model text. The target is 5 s.
// The counters give the lines written and the peak resident memory of the process.
// `BM_DivideOneHexa/N` measures the memory of one Hexa divided N times against its estimate; run
// each N alone (N = 120 takes about 2 GB).
#include "OffscreenBenchmarkMain.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "tools/divider/UFemToolElementDivider.h"
#include "tools/divider/UFemToolElementDividerMemoryEstimate.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>

#include <sys/resource.h>

#include <algorithm>
#include <cstring>
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

// One Hexa divided N times, with the UTF-8 copy a paste from the clipboard makes: the memory the
// run takes at its fullest (the peak resident memory over the resident memory before it) against
// the divider's estimate, which must be no less than the peak / 1.2.
const QString OneHexaModelText = QStringLiteral(
    "Material , Steel , 210000 , 0.3 ,\nSolidProp , P , Steel ,\n"
    "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1 , 0 , 0 ,\nNode , N3 ,  , 1 , 1 , 0 ,\n"
    "Node , N4 ,  , 0 , 1 , 0 ,\nNode , N5 ,  , 0 , 0 , 1 ,\nNode , N6 ,  , 1 , 0 , 1 ,\n"
    "Node , N7 ,  , 1 , 1 , 1 ,\nNode , N8 ,  , 0 , 1 , 1 ,\n"
    "Hexa , H1 , P , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n");

// "VmRSS" or "VmHWM" of /proc/self/status, in bytes.
double statusBytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key)) + 1).trimmed().split(' ').front().toDouble()
                * 1024.0;
    }
    return 0.0;
}

// Lets the peak resident memory start again from the resident memory now.
void resetPeakResidentMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1)
        throw std::runtime_error("the peak resident memory cannot be reset");
}

void BM_DivideOneHexa(benchmark::State& state)
{
    constexpr double megabyte = 1024.0 * 1024.0;
    UFemDataController model;
    UErrorPtr error;
    if (!model.resetWithModelText(OneHexaModelText, false, &error))
        throw std::runtime_error("benchmark model does not read");
    UFemCardVector hexas;
    for (const UFemCardPtr& card : model.cardArray()) {
        if (card->cardLabelString() == QStringLiteral("Hexa"))
            hexas.push_back(card);
    }
    const quint64 n = quint64(state.range(0));
    const auto estimate = UFemToolElementDividerMemoryEstimate::forDivision(hexas, n);
    double peak = 0.0;
    double characters = 0.0;
    for (auto _ : state) {
        resetPeakResidentMemory();
        const double before = statusBytes("VmRSS:");
        bool didExistWarning = false;
        std::optional<QString> text = UFemToolElementDivider::modelTextToAddByDividingElement(
            hexas, n, 0, nullptr, &didExistWarning, &error);
        if (!text || didExistWarning)
            throw std::runtime_error("the division failed");
        const QByteArray clipboardCopy = text->toUtf8();
        characters = double(text->size());
        text.reset();
        peak = std::max(peak, statusBytes("VmHWM:") - before);
    }
    state.counters["textMchars"] = characters / 1e6;
    state.counters["estimateMB"] = double(estimate.peakBytes) / megabyte;
    state.counters["peakMB"] = peak / megabyte;
    state.counters["peakPerEstimate"] = peak / double(estimate.peakBytes);
}
BENCHMARK(BM_DivideOneHexa)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Arg(30)
    ->Arg(60)
    ->Arg(120);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, &UFemInstallCardClasses);
}
