#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "cardmodel/data/UFemCardTable.h"
#include "foundation/UGLColor.h"
#include "graphics/colorscale/UFemColorScale.h"

#include <array>
#include <memory>

class UFemCardFilter;
class UFemCardValueExpression;
class UFemGraphicViewDrawingCardIndexList;
struct UFemGraphicViewDrawingPreferenceCache;

// One kind of drawn card of a frame: which cards, in which layer, where their entries start in
// the card value data cache, and how they are drawn.
struct UFemDrawingCardTypeInfoRecord {
    enum Index : quint64 {
        Element = 0,
        NodeRecord = 1,
        Restraint = 2,
        Force = 3,
        OtherCoord = 4,
        UndeformedElement = 5,
        UndeformedNode = 6,
        SelectedCards = 7,
        RubberbandCards = 8,
        Count = 9,
    };
    // Records 0-4 are pickable and drawn with the frame's displacement and colour.
    static constexpr quint64 selectableRecordCount = 5;

    quint64 cardTypeIndex = 0;
    bool doesCardTypeDraw = false;
    quint64 layerIndex = 0;
    // The window's cards (not owned: the window keeps them while the record is valid).
    const UFemCardArray* cardArray = nullptr;
    quint64 cardRangeLocation = 0;
    quint64 cardRangeLength = 0;
    UFemGraphicViewDrawingCardIndexList* cardIndexListPtr = nullptr; // records 7 and 8; not owned
    bool doesDrawWithDisplacement = false;
    UFemCardPtr caseCardForDisplacement;
    double displacementScaleFactor = 0.0;
    bool doesDrawWithColor = false;
    UFemCardVector caseCardArrayForColor;
    std::shared_ptr<const UFemCardFilter> cardFilterForColor;
    std::shared_ptr<const UFemCardValueExpression> cardValueExpressionForColor;
    _UGLColor objectColor;
    _UGLColor edgeColor;
    UFemColorScalePtr colorByValueColorScale;
    quint64 cardNameStartNoForSelectMode = 0;
};

using UFemDrawingCardTypeInfoRecordTable
    = std::array<UFemDrawingCardTypeInfoRecord, UFemDrawingCardTypeInfoRecord::Count>;

// The card arrays of the window that the records draw; not owned, null for none.
struct UFemDrawingCardTypeCardArrays {
    const UFemCardArray* elementCardArray = nullptr;
    const UFemCardArray* nodeCardArray = nullptr;
    const UFemCardArray* restraintCardArray = nullptr;
    const UFemCardArray* forceCardArray = nullptr;
    const UFemCardArray* coordCardArray = nullptr;
};

// The nine records from the preference cache (settled) and the window's cards; the index lists
// of the selected-card and rubber-band tasks go to records 7 and 8.
UFemDrawingCardTypeInfoRecordTable UFemMakeDrawingCardTypeInfoRecordTable(
    const UFemGraphicViewDrawingPreferenceCache& preferenceCache,
    const UFemDrawingCardTypeCardArrays& cardArrays,
    UFemGraphicViewDrawingCardIndexList* selectedCardIndexList,
    UFemGraphicViewDrawingCardIndexList* rubberbandCardIndexList);

// The colour with red, green and blue halved, the same alpha.
_UGLColor UFemHalvedColor(const _UGLColor& color);
_UGLColor UFemOpaqueColor(const _UGLColor& color);
