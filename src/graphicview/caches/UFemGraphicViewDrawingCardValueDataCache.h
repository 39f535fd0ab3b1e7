#pragma once

#include "cardmodel/data/UFemCardTable.h"
#include "graphicview/caches/UFemDrawingCardValueDataStruct.h"
#include "graphicview/caches/UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData.h"

#include <memory>
#include <vector>

// Per drawn card of the frame: the card and what it draws with, at the same index. The drawn
// card type records fill consecutive ranges of it. Only grows; reset keeps the storage.
class UFemGraphicViewDrawingCardValueDataCache {
public:
    using ExtendStore = UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData;

    UFemGraphicViewDrawingCardValueDataCache();

    // Room for n cards; a larger table replaces the old one (contents not kept) with
    // trunc(n × 1.2 + 256) entries. Allocation failure raises the memory-allocation error.
    void reserve(quint64 count);
    // Counts 0, extension stores dropped, tables kept.
    void reset();
    // Tables freed, counts and capacity 0.
    void free();

    quint64 cardValueDataTableCapacity() const { return capacity_; }
    // The cards are the model's: the cache is cleared before the model changes.
    UFemCard** cardTable() { return cardTable_.get(); }
    UFemDrawingCardValueDataStruct* cardValueDataTable() { return cardValueDataTable_.get(); }
    const UFemDrawingCardValueDataStruct& cardValueData(quint64 index) const
    {
        return cardValueDataTable_[index];
    }

    quint64 cardCount_inBaseImage = 0;
    quint64 cardCount_selectableCard = 0;
    quint64 numberOfCardValidByCardFilter = 0;
    quint64 numberOfCardRespondToValueExpression = 0;
    std::vector<std::unique_ptr<ExtendStore>> extendDrawingCardValueDataTableArray;

private:
    static constexpr quint64 initialExtendStoreArrayCapacity = 20;

    std::unique_ptr<UFemCard*[]> cardTable_;
    std::unique_ptr<UFemDrawingCardValueDataStruct[]> cardValueDataTable_;
    quint64 capacity_ = 0;
};
