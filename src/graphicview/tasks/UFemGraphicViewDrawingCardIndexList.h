#pragma once

#include "foundation/threads/UCondition.h"

#include <QtGlobal>

#include <vector>

// Indexes into the card value data cache's card table that one task produces and drawing workers
// read; complete once isValid. Its condition guards every field.
class UFemGraphicViewDrawingCardIndexList {
public:
    UCondition& lockCondition() { return lockCondition_; }

    // Under the lock.
    bool isValid() const { return isValid_; }
    void setValid(bool isValid) { isValid_ = isValid; }
    quint64 cardIndexCount() const { return cardIndexCount_; }
    void setCardIndexCount(quint64 count) { cardIndexCount_ = count; }
    quint64* cardIndexTable() { return cardIndexTable_.data(); }
    quint64 cardIndexTableCapacity() const { return cardIndexTable_.size(); }
    // Past the capacity: a new table of n × 5 / 4 + 256 entries, the old contents dropped.
    void growToCapacity(quint64 capacity);
    // Not valid and empty; the table is kept.
    void clear();

private:
    UCondition lockCondition_;
    bool isValid_ = false;
    std::vector<quint64> cardIndexTable_;
    quint64 cardIndexCount_ = 0;
};
