// Reading a model text of about a million lines (a block of nodes and the hexas between them)
// into card text columns, against a plain split of the same text at line ends and commas into
// trimmed strings (the baseline). Compare the lines-per-second figures of one run.
#include "cardmodel/UFemCardTextColumns.h"
#include "foundation/UCLocaleFormat.h"
#include "foundation/UPlatformString.h"
#include "foundation/UUnicharString.h"

#include <benchmark/benchmark.h>

#include <QStringView>

namespace {

// 80^3 nodes and 79^3 hexas: 1,005,039 lines.
constexpr int NodesPerEdge = 80;
constexpr double Spacing = 0.125;

QString nodeName(int i, int j, int k)
{
    return QStringLiteral("N%1").arg((k * NodesPerEdge + j) * NodesPerEdge + i);
}

QString generatedModelText(quint64& lineCount)
{
    QString text;
    text.reserve(80 * 1024 * 1024);
    lineCount = 0;
    for (int k = 0; k < NodesPerEdge; ++k) {
        text += QStringLiteral("\\ nodes of layer %1\n").arg(k);
        ++lineCount;
        for (int j = 0; j < NodesPerEdge; ++j) {
            for (int i = 0; i < NodesPerEdge; ++i, ++lineCount) {
                text += QStringLiteral("Node , %1 ,  , ").arg(nodeName(i, j, k));
                text += QString::fromLatin1(UCLocaleFormat("%.12g , %.12g , %.12g ,\n", i * Spacing,
                    j * Spacing * 1.5, -k * Spacing * 0.75));
            }
        }
    }
    for (int k = 0; k + 1 < NodesPerEdge; ++k) {
        for (int j = 0; j + 1 < NodesPerEdge; ++j) {
            for (int i = 0; i + 1 < NodesPerEdge; ++i, ++lineCount) {
                text += QStringLiteral("Hexa , H%1 , SP1")
                            .arg((k * NodesPerEdge + j) * NodesPerEdge + i);
                const int corners[8][3] = { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 0 }, { 0, 1, 0 },
                    { 0, 0, 1 }, { 1, 0, 1 }, { 1, 1, 1 }, { 0, 1, 1 } };
                for (const auto& c : corners)
                    text += QStringLiteral(" , ") + nodeName(i + c[0], j + c[1], k + c[2]);
                text += QStringLiteral(" ,\n");
            }
        }
    }
    return text;
}

struct ModelText {
    quint64 lineCount = 0;
    QString text = generatedModelText(lineCount);
};

const ModelText& modelText()
{
    static const ModelText text;
    return text;
}

void finish(benchmark::State& state, quint64 columns)
{
    benchmark::DoNotOptimize(columns);
    state.SetItemsProcessed(qint64(state.iterations() * modelText().lineCount));
    state.counters["lines"] = double(modelText().lineCount);
}

void BaselinePlainSplit(benchmark::State& state)
{
    quint64 columns = 0;
    for (auto _ : state) {
        for (const QStringView line : QStringView(modelText().text).tokenize(u'\n')) {
            const QStringView content
                = line.left(line.indexOf(u'\\') < 0 ? line.size() : line.indexOf(u'\\'));
            QStringList list;
            for (const QStringView column : content.tokenize(u','))
                list.append(column.trimmed().toString());
            columns += quint64(list.size());
        }
    }
    finish(state, columns);
}

void readAllLines(benchmark::State& state, const UStringGettingCharactersProtocol& source)
{
    quint64 columns = 0;
    for (auto _ : state) {
        quint64 index = 0;
        for (;;) {
            UFemCardTextColumns line;
            UErrorPtr error;
            const char16_t stop = line.readModelStringCharactersFromString(
                source, index, UFemColumnSeparatingCharacterTypeComma, &error);
            if (error)
                state.SkipWithError("a generated line failed to read");
            columns += line.numberOfColumns();
            if (stop == 0)
                break;
            ++index;
        }
    }
    finish(state, columns);
}

void CardTextColumnsFromUnicharString(benchmark::State& state)
{
    const UUnicharString source(modelText().text);
    readAllLines(state, source);
}

void CardTextColumnsFromPlatformString(benchmark::State& state)
{
    const UPlatformString source(modelText().text);
    readAllLines(state, source);
}

} // namespace

BENCHMARK(BaselinePlainSplit)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(CardTextColumnsFromUnicharString)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(CardTextColumnsFromPlatformString)->Unit(benchmark::kMillisecond)->MinTime(2);
int main(int argc, char** argv)
{
    // Generated before any timing starts.
    modelText();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
