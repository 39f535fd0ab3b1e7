#pragma once

#include "cardmodel/card/UFemCardColumn.h"

#include <cstddef>
#include <memory>

// The fixed columns of a card, built in place in one block: a card of ten columns costs one
// allocation instead of ten, which a model of a million cards feels both in reading and in
// letting go. Columns never move, so the names they are registered with may point at them.
class UFemCardColumnArray {
public:
    UFemCardColumnArray() = default;
    explicit UFemCardColumnArray(std::size_t capacity);
    ~UFemCardColumnArray() { clear(); }
    UFemCardColumnArray(const UFemCardColumnArray&) = delete;
    UFemCardColumnArray& operator=(const UFemCardColumnArray&) = delete;

    // Raises a program error beyond the capacity given at construction.
    UFemCardColumn& emplaceBack(
        UFemCard* ownerCard, quint64 columnIndex, qint32 columnType, qint32 cardNameCardType = 0);
    // Destroys the columns, last first; the block is kept until the array goes.
    void clear();

    std::size_t size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    // Raises a program error out of range.
    UFemCardColumn* at(std::size_t position) const;

    // The batch contract of UFemCard::getCardColumnsToCardColumnTable, the columns being 1..size.
    quint64 getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
        quint64 cardColumnTableSize, quint64* nextCardColumnIndex) const;

private:
    struct Deallocate {
        std::size_t capacity;
        void operator()(UFemCardColumn* columns) const
        {
            std::allocator<UFemCardColumn>().deallocate(columns, capacity);
        }
    };

    std::unique_ptr<UFemCardColumn, Deallocate> columns_ { nullptr, Deallocate { 0 } };
    std::size_t size_ = 0;
};
