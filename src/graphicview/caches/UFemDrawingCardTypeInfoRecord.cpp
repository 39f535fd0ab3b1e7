#include "graphicview/caches/UFemDrawingCardTypeInfoRecord.h"

#include "graphicview/caches/UFemGraphicViewDrawingPreferenceCache.h"

namespace {

using Record = UFemDrawingCardTypeInfoRecord;

constexpr double half = 0.5;

void fromCache(Record& record, const UFemGraphicViewDrawingPreferenceCache& cache, bool withColor)
{
    record.doesDrawWithDisplacement = cache.doesDrawWithDisp;
    record.caseCardForDisplacement = cache.currentCaseCard;
    record.displacementScaleFactor = cache.dispScaleFactor;
    // A colour range that never settled leaves the cards in their own colour.
    if (!withColor || !cache.doesDrawWithColor || !cache.isColorScaleRangeSettled())
        return;
    record.doesDrawWithColor = true;
    record.caseCardArrayForColor = cache.currentCaseCardArray;
    record.cardFilterForColor = cache.cardFilterForColor;
    record.cardValueExpressionForColor = cache.cardValueExpressionForColor;
    record.colorByValueColorScale = cache.colorScaleForColor;
}

// Fills a record that draws; the location is the count of cards before it.
quint64 countOf(const UFemCardArray* cards)
{
    return cards ? cards->count() : 0;
}

void setDrawn(Record& record, quint64 layer, const UFemCardArray* cards, quint64 location,
    const _UGLColor& objectColor, const _UGLColor& edgeColor)
{
    record.doesCardTypeDraw = true;
    record.layerIndex = layer;
    record.cardArray = cards;
    record.cardRangeLocation = location;
    record.cardRangeLength = countOf(cards);
    record.objectColor = objectColor;
    record.edgeColor = edgeColor;
}

} // namespace

_UGLColor UFemHalvedColor(const _UGLColor& color)
{
    return { color.red * half, color.green * half, color.blue * half, color.alpha };
}

_UGLColor UFemOpaqueColor(const _UGLColor& color)
{
    return { color.red, color.green, color.blue, 1.0 };
}

UFemDrawingCardTypeInfoRecordTable UFemMakeDrawingCardTypeInfoRecordTable(
    const UFemGraphicViewDrawingPreferenceCache& cache, const UFemDrawingCardTypeCardArrays& cards,
    UFemGraphicViewDrawingCardIndexList* selectedCardIndexList,
    UFemGraphicViewDrawingCardIndexList* rubberbandCardIndexList)
{
    const UFemGraphicViewSettings& settings = cache.settings;
    UFemDrawingCardTypeInfoRecordTable table;
    for (quint64 i = 0; i < Record::Count; ++i)
        table[i].cardTypeIndex = i;

    struct Selectable {
        bool isDrawn;
        quint64 layer;
        const UFemCardArray* cards;
        _UGLColor objectColor;
        _UGLColor edgeColor;
    };
    const Selectable selectable[Record::selectableRecordCount] = {
        { settings.isElementDraw, 0, cards.elementCardArray, settings.elementColor,
            settings.elementEdgeColor },
        { settings.isNodeDraw, 0, cards.nodeCardArray, settings.nodeColor,
            UFemHalvedColor(settings.nodeColor) },
        { settings.isRestraintDraw, 1, cards.restraintCardArray,
            UFemOpaqueColor(settings.restraintColor),
            UFemHalvedColor(UFemOpaqueColor(settings.restraintColor)) },
        { settings.isForceDraw, 2, cards.forceCardArray, UFemOpaqueColor(settings.forceColor),
            UFemHalvedColor(UFemOpaqueColor(settings.forceColor)) },
        { settings.isOtherCoordDraw, 3, cards.coordCardArray,
            UFemOpaqueColor(settings.otherCoordColor),
            UFemHalvedColor(UFemOpaqueColor(settings.otherCoordColor)) },
    };
    quint64 total = 0;
    for (quint64 i = 0; i < Record::selectableRecordCount; ++i) {
        const Selectable& s = selectable[i];
        if (!s.isDrawn || countOf(s.cards) == 0)
            continue;
        setDrawn(table[i], s.layer, s.cards, total, s.objectColor, s.edgeColor);
        table[i].cardNameStartNoForSelectMode = total;
        fromCache(table[i], cache, true);
        total += countOf(s.cards);
    }

    const bool drawsUndeformedElements
        = cache.doesDrawWithNonDisplacementModel && countOf(cards.elementCardArray) > 0;
    quint64 next = total;
    if (drawsUndeformedElements) {
        setDrawn(table[Record::UndeformedElement], 4, cards.elementCardArray, next,
            UFemOpaqueColor(settings.nonDisplacementModelColor), settings.elementEdgeColor);
        next += countOf(cards.elementCardArray);
        if (cache.doesDrawWithNonDisplacementModelNode && countOf(cards.nodeCardArray) > 0)
            setDrawn(table[Record::UndeformedNode], 4, cards.nodeCardArray, next,
                settings.nodeColor, UFemHalvedColor(settings.nodeColor));
    }

    if (settings.isSelectionDraw) {
        UFemGraphicViewDrawingCardIndexList* lists[]
            = { selectedCardIndexList, rubberbandCardIndexList };
        for (quint64 i = 0; i < 2; ++i) {
            Record& record = table[Record::SelectedCards + i];
            setDrawn(record, 5, nullptr, 0, UFemOpaqueColor(settings.selectionColor),
                settings.elementEdgeColor);
            record.cardRangeLength = total;
            record.cardIndexListPtr = lists[i];
            fromCache(record, cache, false);
        }
    }
    return table;
}
