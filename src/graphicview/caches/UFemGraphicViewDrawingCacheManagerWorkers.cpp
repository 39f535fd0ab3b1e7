#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "cards/Node.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "foundation/strings/UFormattedString.h"
#include "graphicview/caches/UFemGraphicViewDrawingCacheManager.h"
#include "graphicview/ranges/UFemValueRangeChunks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr quint64 chunkCardCount = 256;
constexpr quint64 nodeNameTableSize = 16;
constexpr quint64 localColorValueCount = 32;

using Record = UFemDrawingCardTypeInfoRecord;
using Entry = UFemDrawingCardValueDataStruct;

quint64 valueCountOf(const _UFemCardValueArraySize& size)
{
    return quint64(size.numberOfPoints) * size.numberOfSectionPoints * size.numberOfVectorValues;
}

void extendRange(double* minimum, double* maximum, double value)
{
    if (std::isnan(*minimum) || value < *minimum)
        *minimum = value;
    if (std::isnan(*maximum) || value > *maximum)
        *maximum = value;
}

std::vector<UFemCard*> rawCards(const UFemCardVector& cards)
{
    std::vector<UFemCard*> raw;
    raw.reserve(cards.size());
    for (const UFemCardPtr& card : cards)
        raw.push_back(card.get());
    return raw;
}

} // namespace

struct UFemGraphicViewDrawingCacheManager::ColorRangeCounts {
    double minimum = notANumber;
    double maximum = notANumber;
    quint64 numberOfCardValidByCardFilter = 0;
    quint64 numberOfCardRespondToValueExpression = 0;
    UErrorPtr error;
};

// One worker's share of the card value data: its counts and the extension stores it filled.
struct UFemGraphicViewDrawingCacheManager::CardValueDataThreadState {
    quint64 numberOfCardValidByCardFilter = 0;
    quint64 numberOfCardRespondToValueExpression = 0;
    // The section point count of a value no card can draw (every card takes one), 0 when none.
    quint64 undrawableSectionPointCount = 0;
    std::vector<std::unique_ptr<UFemGraphicViewDrawingCardValueDataCache::ExtendStore>> stores;

    // Never null: a store too full for the request is followed by one made for it.
    double* allocate(quint64 count)
    {
        double* storeSlots
            = stores.empty() ? nullptr : stores.back()->doubleDataPtrWithNumberOfDouble(count);
        if (storeSlots != nullptr)
            return storeSlots;
        stores.push_back(
            std::make_unique<UFemGraphicViewDrawingCardValueDataCache::ExtendStore>(count));
        return stores.back()->doubleDataPtrWithNumberOfDouble(count);
    }
};

// ---- Colour range

bool UFemGraphicViewDrawingCacheManager::calculateColorScaleRangeWithThreadContext(
    UThreadContext& threadContext)
{
    UFemColorScaleRangeCalcThreadTaskContext& task = tasks_.colorScaleRange;
    ColorRangeCounts counts;
    bool finished = true;
    if (const UFemCardArray* cards = task.cardArray())
        finished = UFemForEachValueRangeChunk(threadContext, cards->count(),
            UFemValueRangeFetchFromCardArray(*cards), [&](std::span<const UFemCardPtr> chunk) {
                return calculateColorScaleRangeWithCardRange(chunk, counts, threadContext);
            });
    if (counts.error) {
        task.addCalculationError(counts.error);
        return false;
    }
    if (!finished)
        return false;
    std::lock_guard lock(task);
    task.mergeCardValueRange(counts.minimum, counts.maximum, counts.numberOfCardValidByCardFilter,
        counts.numberOfCardRespondToValueExpression);
    task.broadcast();
    return true;
}

// Values of a model without Case cards are read once without a case, so that values that need
// no case still colour it.
bool UFemGraphicViewDrawingCacheManager::calculateColorScaleRangeWithCardRange(
    std::span<const UFemCardPtr> cards, ColorRangeCounts& counts, UThreadContext& threadContext)
{
    const UFemColorScaleRangeCalcThreadTaskContext& task = tasks_.colorScaleRange;
    const UFemCardFilter* filter = task.cardFilter();
    const UFemCardValueExpression& expression = *task.cardValueExpression();
    std::vector<UFemCard*> cases = rawCards(task.caseCardArray());
    if (cases.empty())
        cases.push_back(nullptr);
    ColorRangeCounts local;
    std::array<double, localColorValueCount> localValues;
    std::vector<double> largeValues;
    for (const UFemCardPtr& card : cards) {
        if (threadContext.cancelFlag())
            return false;
        if (filter != nullptr && !filter->isCardValid(*card))
            continue;
        ++local.numberOfCardValidByCardFilter;
        _UFemCardValueArraySize size;
        UErrorPtr ignored;
        if (!expression.getCardValueArraySize(&size, card.get(), &ignored))
            continue;
        ++local.numberOfCardRespondToValueExpression;
        const quint64 count = valueCountOf(size);
        double* values = localValues.data();
        if (count > localColorValueCount) {
            largeValues.resize(count);
            values = largeValues.data();
        }
        for (UFemCard* caseCard : cases) {
            if (!expression.getCardValue(values, size, card.get(), caseCard, &ignored))
                break;
            for (quint64 i = 0; i < count; ++i) {
                if (std::isnan(values[i])) {
                    counts.error = UFemGraphicDrawingError_withDescription(QStringLiteral(
                        "( Error - Calculating auto ColorScale value range...) Value contains "
                        "'NaN'."));
                    return false;
                }
                extendRange(&local.minimum, &local.maximum, values[i]);
            }
        }
    }
    if (!std::isnan(local.minimum))
        extendRange(&counts.minimum, &counts.maximum, local.minimum);
    if (!std::isnan(local.maximum))
        extendRange(&counts.minimum, &counts.maximum, local.maximum);
    counts.numberOfCardValidByCardFilter += local.numberOfCardValidByCardFilter;
    counts.numberOfCardRespondToValueExpression += local.numberOfCardRespondToValueExpression;
    return true;
}

// ---- Card value data

bool UFemGraphicViewDrawingCacheManager::calculateCardValueDataCacheWithThreadContext(
    UThreadContext& threadContext)
{
    bool isCanceled = false;
    if (!waitAndUpdateDrawingLayerImageInfoRecordTableIfNeeded_cancelFlagPtr(&isCanceled)
        || !waitAndUpdateDrawingCardTypeInfoRecordTableIfNeeded_cancelFlagPtr(&isCanceled))
        return false;
    CardValueDataThreadState state;
    quint64 recordIndex = 0;
    quint64 location = 0;
    quint64 length = 0;
    while (nextCardValueDataChunk(&recordIndex, &location, &length)) {
        if (threadContext.cancelFlag())
            return false;
        // The table stays as it is while a worker runs: only clearing changes it.
        calculateCardValueDataTableWithDrawingCardTypeInfoRecord(
            drawingCardTypeInfoRecordTable_[recordIndex], location, length, state);
        if (threadContext.cancelFlag())
            return false;
    }
    UFemCardValueDataCalcThreadTaskContext& task = tasks_.cardValueData;
    std::unique_lock lock(task);
    UFemGraphicViewDrawingCardValueDataCache& cache = drawingCardValueDataCache_;
    cache.numberOfCardValidByCardFilter += state.numberOfCardValidByCardFilter;
    cache.numberOfCardRespondToValueExpression += state.numberOfCardRespondToValueExpression;
    for (auto& store : state.stores)
        cache.extendDrawingCardValueDataTableArray.push_back(std::move(store));
    task.broadcast();
    lock.unlock();
    if (state.undrawableSectionPointCount != 0)
        addSectionPointDrawingError(state.undrawableSectionPointCount);
    return true;
}

// Told once however many workers met such values: the cards are drawn in the invalid-value
// colour instead of vanishing.
void UFemGraphicViewDrawingCacheManager::addSectionPointDrawingError(quint64 sectionPointCount)
{
    std::lock_guard lock(drawingPreferenceCacheLockCondition_);
    if (!isDrawingPreferenceCacheValid_ || !drawingPreferenceCache_.cardValueExpressionForColor)
        return;
    const QString description = UFormattedString(
        "( Error - Drawing Color by Value...) Card Value Expression does not return one value "
        "per point. ( Value '%@' returns %lu section points. )",
        drawingPreferenceCache_.cardValueExpressionForColor->cardValueExpressionString().value_or(
            QString()),
        sectionPointCount);
    std::vector<UErrorPtr>& errors = drawingPreferenceCache_.drawingErrorArray;
    if (std::any_of(errors.begin(), errors.end(),
            [&](const UErrorPtr& e) { return e->localizedDescription() == description; }))
        return;
    errors.push_back(UFemGraphicDrawingError_withDescription(description));
    drawingPreferenceCacheLockCondition_.broadcast();
}

// The dispenser hands out (target position, card position) pairs; a position past its record's
// cards moves the pair on to the next record.
bool UFemGraphicViewDrawingCacheManager::nextCardValueDataChunk(
    quint64* recordIndex, quint64* location, quint64* length)
{
    UFemCardValueDataCalcThreadTaskContext& task = tasks_.cardValueData;
    UThreadTaskNextTargetIndexesManager& dispenser = task.nextTargetIndexesManager();
    const UFemGraphicViewTargetRecordIndexes& targets = task.targetRecordIndexes();
    for (;;) {
        quint64 target = 0;
        quint64 position = 0;
        dispenser.getNextTargetIndexesOf2ToIndex1Ptr(&target, &position, chunkCardCount);
        if (target == UFemNotFound || target >= targets.count) {
            dispenser.forwardNextTargetIndexesToFinished();
            return false;
        }
        const Record& record = drawingCardTypeInfoRecordTable_[targets.table[target]];
        const quint64 cardCount
            = record.doesCardTypeDraw && record.cardArray != nullptr ? record.cardRangeLength : 0;
        if (position >= cardCount) {
            dispenser.forwardNextTargetIndexesOf2WithIndexe1(target + 1, 0);
            continue;
        }
        *recordIndex = targets.table[target];
        *location = position;
        *length = std::min(chunkCardCount, cardCount - position);
        return true;
    }
}

namespace {

// Six doubles per node: the deformed position and the scaled rotations; false leaves the card
// without node data (a node that cannot be read, or one missing where the card needs it).
bool fillNodeTable(double* nodeTable, const UFemCard& card, UFemCardName* const* names,
    quint64 nameCount, const Record& record)
{
    for (quint64 j = 0; j < nameCount; ++j) {
        double* six = nodeTable + j * Entry::doublesPerNode;
        const UFemCardName* name = names[j];
        const auto* node = name != nullptr ? dynamic_cast<const Node*>(name->card()) : nullptr;
        if (node == nullptr) {
            if (!card.doesDrawWhenNotAllNodeValid())
                return false;
            std::fill_n(six, Entry::doublesPerNode, notANumber);
            continue;
        }
        double location[3];
        node->getNodeLocation(location);
        double displacement[6] = {};
        UErrorPtr error;
        if (record.doesDrawWithDisplacement
            && !node->getNodeDisplacement(displacement, nullptr,
                UFemRotationIndexSetTranslation | UFemRotationIndexSetRotation,
                record.caseCardForDisplacement.get(), &error))
            return false;
        const double factor
            = record.doesDrawWithDisplacement ? record.displacementScaleFactor : 0.0;
        for (int k = 0; k < 3; ++k) {
            six[k] = location[k] + factor * displacement[k];
            six[3 + k] = factor * displacement[3 + k];
        }
    }
    return true;
}

} // namespace

void UFemGraphicViewDrawingCacheManager::calculateCardValueDataTableWithDrawingCardTypeInfoRecord(
    const Record& record, quint64 location, quint64 length, CardValueDataThreadState& state)
{
    UFemGraphicViewDrawingCardValueDataCache& cache = drawingCardValueDataCache_;
    const std::vector<UFemCard*> colorCases = rawCards(record.caseCardArrayForColor);
    const UFemCardFilter* filter = record.cardFilterForColor.get();
    const UFemCardValueExpression* expression = record.cardValueExpressionForColor.get();
    std::array<UFemCardName*, nodeNameTableSize> names;
    std::vector<UFemCardName*> overflowNames;
    for (quint64 i = 0; i < length; ++i) {
        const quint64 index = record.cardRangeLocation + location + i;
        UFemCard& card = *cache.cardTable()[index];
        Entry& entry = cache.cardValueDataTable()[index];
        entry.reset(&card);
        overflowNames.clear();
        const quint64 nameCount = card.getNodeCardNamesForDrawingToNodeCardNameTable(
            names.data(), names.size(), &overflowNames);
        UFemCardName* const* nameTable
            = nameCount <= names.size() ? names.data() : overflowNames.data();
        double* nodeTable = nameCount <= Entry::inlineNodeCount
            ? entry.inlineNodeTable.data()
            : state.allocate(nameCount * Entry::doublesPerNode);
        if (!fillNodeTable(nodeTable, card, nameTable, nameCount, record))
            continue;
        entry.nodeTable = nodeTable;
        entry.isNodeDataValid = true;
        if (!record.doesDrawWithColor || (filter != nullptr && !filter->isCardValid(card)))
            continue;
        ++state.numberOfCardValidByCardFilter;
        _UFemCardValueArraySize size;
        UErrorPtr error;
        if (!expression->getCardValueArraySize(&size, &card, &error)) {
            entry.colorValueStatus = Entry::GettingValueFailed;
            continue;
        }
        ++state.numberOfCardRespondToValueExpression;
        if (size.numberOfSectionPoints > 1) {
            entry.colorValueStatus = Entry::GettingValueFailed;
            state.undrawableSectionPointCount = size.numberOfSectionPoints;
            continue;
        }
        const quint64 count = valueCountOf(size);
        double* values = count <= Entry::inlineValueCount ? entry.inlineColorValues.data()
                                                          : state.allocate(count);
        if (expression->getCardValue(values, size, &card, colorCases, &error)) {
            entry.colorValueStatus = Entry::ValueValid;
            entry.colorValueArraySize = size;
            entry.colorValues = values;
        } else {
            entry.colorValueStatus = Entry::GettingValueFailed;
        }
    }
}
