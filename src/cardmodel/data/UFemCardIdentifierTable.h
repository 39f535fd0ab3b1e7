#pragma once

#include "foundation/containers/UPointerHashMap.h"

#include <QtGlobal>

class UFemCard;

// The cards of a model by identifier number, in one open-addressing table: a node per card
// would cost a model of a million cards an allocation and some 50 bytes a card.
class UFemCardIdentifierTable {
public:
    UFemCard* find(quint64 number) const
    {
        const auto entry = cards_.find(keyOf(number));
        return entry == cards_.end() ? nullptr : entry->second;
    }
    bool contains(quint64 number) const { return cards_.contains(keyOf(number)); }
    void insertOrAssign(quint64 number, UFemCard* card) { cards_[keyOf(number)] = card; }
    void erase(quint64 number) { cards_.erase(keyOf(number)); }
    void reserve(quint64 count) { cards_.reserve(count); }
    void clear() { cards_.clear(); }
    // Whether a held number is `number` or above.
    bool holdsNumberFrom(quint64 number) const;

private:
    // Numbers stay below all-ones (the identifier limit), so one more is never the empty key 0.
    static quint64 keyOf(quint64 number) { return number + 1; }

    UOpenHashMap<quint64, UFemCard*> cards_;
};
