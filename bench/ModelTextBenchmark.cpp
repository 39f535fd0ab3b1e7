// Reading a model text of about a million lines (a block of nodes and the hexas between them)
// into card text columns, and into the cards of a data controller (resetWithModelText, with card
// classes shaped like Node and Hexa), against a plain split of the same text at line ends and
// commas into trimmed strings (the baseline). Compare the lines-per-second figures of one run;
// peakRSS is the process's peak resident memory after the run, textRSS the same before any
// reading (the generated text alone). ReleaseFullModel times the reset of a full model alone.
// RealCards… read the same text with the application's card classes: argument 0 reads the Node
// lines alone (the text up to the first Hexa), 1 the whole text; us_per_card is the time per
// card, heap_B_per_card the heap the cards hold (malloc's count before and after) and
// rss_B_per_card the growth of the resident memory, both per card. The Hexa figures are the
// differences of the two rows over the Hexa lines.
#include "cardmodel/card/UFemCardAbst.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardColumnArray.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/card/UFemNodeCard.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "foundation/strings/UCLocaleFormat.h"
#include "foundation/strings/UPlatformString.h"
#include "foundation/strings/UUnicharString.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QStringView>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>

#include <memory>
#include <vector>

namespace {

double textResidentMegabytes = 0;

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
            const char16_t stop = line.readModelStringCharactersFromString(
                source, index, UFemColumnSeparatingCharacterTypeComma);
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

// ---- One very long line: reading must stay linear in its number of columns

QString longLine(qint64 columnCount)
{
    QString line = QStringLiteral("Node , N1");
    line.reserve(columnCount * 10);
    for (qint64 i = 2; i < columnCount; ++i)
        line += QStringLiteral(" , ") + QString::number(i * 0.25);
    return line;
}

void LongLineIntoCardTextColumns(benchmark::State& state)
{
    const UUnicharString source(longLine(state.range(0)));
    quint64 columns = 0;
    for (auto _ : state) {
        UFemCardTextColumns line;
        quint64 index = 0;
        line.readModelStringCharactersFromString(
            source, index, UFemColumnSeparatingCharacterTypeComma);
        columns = line.numberOfColumns();
    }
    if (columns != quint64(state.range(0)))
        state.SkipWithError("the long line did not read whole");
    state.SetComplexityN(state.range(0));
}

void LongLineBuiltColumnByColumn(benchmark::State& state)
{
    const QString text = QStringLiteral("12.5");
    for (auto _ : state) {
        UFemCardTextColumns line;
        for (qint64 i = 0; i < state.range(0); ++i)
            UFemRaisesOnFailure(line.setColumnString(text, quint64(i), nullptr));
        benchmark::DoNotOptimize(line.numberOfColumns());
    }
    state.SetComplexityN(state.range(0));
}

// ---- Reading into cards

double peakResidentMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    constexpr double kilobytesPerMegabyte = 1024.0;
    return double(usage.ru_maxrss) / kilobytesPerMegabyte;
}

// The columns after the name: a reference to a card type or a real value.
struct BenchColumn {
    qint32 columnType;
    qint32 cardType = 0;
};

// A card class of the benchmark: label, type and the columns after the name, built in place.
class BenchCard final : public UFemCardAbst, public UFemNodeCard {
public:
    BenchCard(const UFemCardClass& cardClass, qint32 cardType,
        const std::vector<BenchColumn>& columns, UFemCardDataController* dataController)
        : UFemCardAbst(cardClass, dataController)
        , columns_(columns.size() + 1)
    {
        columns_.emplaceBack(this, 1, CARD_COLUMN_TYPE_CARD_NAME, cardType);
        for (std::size_t i = 0; i < columns.size(); ++i)
            columns_.emplaceBack(this, i + 2, columns[i].columnType, columns[i].cardType);
    }
    ~BenchCard() override { BenchCard::invalidiate(); }

    UFemCardColumn* cardColumnAtIndex(quint64 columnIndex) override
    {
        return columns_.at(columnIndex - 1);
    }
    quint64 getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
        quint64 cardColumnTableSize, quint64* nextCardColumnIndex) override
    {
        return columns_.getCardColumnsToCardColumnTable(
            cardColumnTable, cardColumnTableSize, nextCardColumnIndex);
    }
    bool isRelatedToCaseWithCaseCard(const UFemCard&) const override { return false; }
    bool isRelatedToCaseWithCaseCardArray(const std::vector<UFemCard*>&) const override
    {
        return false;
    }
    bool isRotationDisplacementValid() const override { return false; }
    UErrorPtr checkErrorToRegister() const override { return nullptr; }
    UErrorPtr checkErrorToRun() const override { return nullptr; }
    UErrorPtr checkWarningToRun() const override { return nullptr; }
    void getNodeLocation(double nodeLocation[3]) const override
    {
        for (int axis = 0; axis < 3; ++axis)
            nodeLocation[axis] = columns_.at(2 + axis)->doubleValue();
    }
    void invalidiate() override
    {
        if (!columns_.isEmpty())
            resetAllCardColumns();
        columns_.clear();
        UFemCardAbst::invalidiate();
    }

private:
    UFemCardColumnArray columns_;
};

// Node: name, coordinate system, x, y, z. Hexa: name, property, eight nodes.
struct BenchCardClassShape {
    QString label;
    qint32 cardType;
    std::vector<BenchColumn> columns;
};

const std::vector<BenchCardClassShape>& benchCardClassShapes()
{
    const BenchColumn real { CARD_COLUMN_TYPE_FLOAT_VALUE };
    const BenchColumn node { CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType };
    static const std::vector<BenchCardClassShape> shapes {
        { QStringLiteral("Node"), UFemNodeCardType,
            { { CARD_COLUMN_TYPE_REF_CARD_NAME, UFemCoordCardType }, real, real, real } },
        { QStringLiteral("Hexa"), UFemElementCardType,
            { { CARD_COLUMN_TYPE_REF_CARD_NAME, UFemElementPropCardType }, node, node, node, node,
                node, node, node, node } },
    };
    return shapes;
}

const std::vector<const UFemCardClass*>& benchCardClasses()
{
    static std::vector<std::unique_ptr<UFemCardClass>> classes;
    static std::vector<const UFemCardClass*> pointers;
    if (!pointers.empty())
        return pointers;
    for (const BenchCardClassShape& shape : benchCardClassShapes()) {
        const std::size_t index = classes.size();
        classes.push_back(std::make_unique<UFemCardClass>(UFemCardClassDescription {
            .cardLabelString = shape.label,
            .cardType = shape.cardType,
            .cardFormViewControllerClass = QString(),
            .cardMenuOrderHintNo = 100,
            .numberOfColumns = shape.columns.size() + 2,
            .dontCallReason = QString(),
            .columnLabelStringAtIndex = {},
            .makeCard
            = [index, &shape](UFemCardDataController* dataController) -> std::shared_ptr<UFemCard> {
                return std::make_shared<BenchCard>(
                    *classes[index], shape.cardType, shape.columns, dataController);
            },
            .registerCardValueTypes = {},
        }));
        pointers.push_back(classes.back().get());
    }
    return pointers;
}

// A class replaces the registered one of its label, so the two sets take turns.
void installBenchCardClasses()
{
    UFemCardClassManager::sharedCardClassManager().installCardClass(benchCardClasses());
}

void installRealCardClasses()
{
    UFemCardClassManager::sharedCardClassManager().installCardClass(
        UFemCardClassesInRegistryOrder());
}

void finishReading(benchmark::State& state, UFemDataController& controller)
{
    finish(state, controller.cardCount());
    state.counters["textRSS_MB"] = textResidentMegabytes;
    state.counters["peakRSS_MB"] = peakResidentMegabytes();
}

// Reading into an empty model, as opening a model file does.
void ResetWithModelText(benchmark::State& state)
{
    UFemDataController controller;
    for (auto _ : state) {
        state.PauseTiming();
        controller.reset();
        state.ResumeTiming();
        UErrorPtr error;
        if (!controller.resetWithModelText(modelText().text, false, &error))
            state.SkipWithError("the generated model text failed to read");
    }
    finishReading(state, controller);
}

// Reading over a model of a million cards, which the reset first lets go of, as re-reading does.
void ResetWithModelTextOverFullModel(benchmark::State& state)
{
    UFemDataController controller;
    UFemRaisesOnFailure(controller.resetWithModelText(modelText().text, false, nullptr));
    for (auto _ : state) {
        UErrorPtr error;
        if (!controller.resetWithModelText(modelText().text, false, &error))
            state.SkipWithError("the generated model text failed to read");
    }
    finishReading(state, controller);
}

// Letting go of a model of a million cards, as closing or re-reading it does.
void ReleaseFullModel(benchmark::State& state)
{
    UFemDataController controller;
    for (auto _ : state) {
        state.PauseTiming();
        UFemRaisesOnFailure(controller.resetWithModelText(modelText().text, false, nullptr));
        state.ResumeTiming();
        controller.reset();
    }
    finishReading(state, controller);
}

// ---- Reading into the application's cards

double heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

double residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    double size = 0;
    double resident = 0;
    statm >> size >> resident;
    return resident * double(sysconf(_SC_PAGESIZE));
}

// The Node lines: the text up to the first Hexa line.
const QString& nodeLinesText()
{
    static const QString text
        = modelText().text.left(modelText().text.indexOf(QStringLiteral("\nHexa")) + 1);
    return text;
}

void RealCardsResetWithModelText(benchmark::State& state)
{
    const QString& text = state.range(0) == 0 ? nodeLinesText() : modelText().text;
    installRealCardClasses();
    double heap = 0;
    double resident = 0;
    quint64 cards = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const double heapBefore = heapBytes();
        const double residentBefore = residentBytes();
        auto controller = std::make_unique<UFemDataController>();
        state.ResumeTiming();
        UErrorPtr error;
        if (!controller->resetWithModelText(text, false, &error))
            state.SkipWithError("the generated model text failed to read");
        state.PauseTiming();
        heap = heapBytes() - heapBefore;
        resident = residentBytes() - residentBefore;
        cards = controller->cardCount();
        controller.reset();
        state.ResumeTiming();
    }
    installBenchCardClasses();
    state.SetItemsProcessed(qint64(state.iterations() * cards));
    state.counters["cards"] = double(cards);
    state.counters["us_per_card"] = benchmark::Counter(double(cards) * 1e-6,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["heap_B_per_card"] = heap / double(cards);
    state.counters["rss_B_per_card"] = resident / double(cards);
}

} // namespace

BENCHMARK(BaselinePlainSplit)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(CardTextColumnsFromUnicharString)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(CardTextColumnsFromPlatformString)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(LongLineIntoCardTextColumns)
    ->RangeMultiplier(10)
    ->Range(100000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(LongLineBuiltColumnByColumn)
    ->RangeMultiplier(10)
    ->Range(100000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(ResetWithModelText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ResetWithModelTextOverFullModel)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(ReleaseFullModel)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(RealCardsResetWithModelText)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
int main(int argc, char** argv)
{
    // The data controller's deferred warnings need an application object.
    QCoreApplication application(argc, argv);
    // Generated before any timing starts.
    modelText();
    textResidentMegabytes = peakResidentMegabytes();
    installBenchCardClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
