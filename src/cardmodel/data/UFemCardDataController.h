#pragma once

#include <QtGlobal>

class UFemCard;
class UFemCardNameTable;
class UFemClipboardCardValueManager;

// What a card asks of the model that owns it. The data controller implements it; cards hold it
// without owning it.
class UFemCardDataController {
public:
    virtual ~UFemCardDataController() = default;

    virtual UFemCardNameTable& cardNameTable() = 0;
    // The model's cards in row order.
    virtual quint64 numberOfCards() const = 0;
    virtual UFemCard* cardAtRowIndex(quint64 rowIndex) const = 0;
    // The pasted card values shown like results; nullptr when none are attached.
    virtual const UFemClipboardCardValueManager* clipboardCardValueManager() const = 0;
    // Whether calculation results are attached, so that result values can be asked of cards.
    virtual bool hasResultData() const = 0;
};
