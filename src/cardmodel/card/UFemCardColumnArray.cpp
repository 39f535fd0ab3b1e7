#include "cardmodel/card/UFemCardColumnArray.h"

#include "foundation/errors/UException.h"

#include <algorithm>

UFemCardColumnArray::UFemCardColumnArray(std::size_t capacity)
    : columns_(capacity == 0 ? nullptr : std::allocator<UFemCardColumn>().allocate(capacity),
        Deallocate { capacity })
{
}

UFemCardColumn& UFemCardColumnArray::emplaceBack(
    UFemCard* ownerCard, quint64 columnIndex, qint32 columnType, qint32 cardNameCardType)
{
    if (size_ == columns_.get_deleter().capacity)
        UFemRaiseProgramError(QStringLiteral("The column array is full."));
    UFemCardColumn* column = std::construct_at(
        columns_.get() + size_, ownerCard, columnIndex, columnType, cardNameCardType);
    ++size_;
    return *column;
}

void UFemCardColumnArray::clear()
{
    while (size_ > 0)
        std::destroy_at(columns_.get() + --size_);
}

UFemCardColumn* UFemCardColumnArray::at(std::size_t position) const
{
    if (position >= size_)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    return columns_.get() + position;
}

quint64 UFemCardColumnArray::getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
    quint64 cardColumnTableSize, quint64* nextCardColumnIndex) const
{
    const quint64 numberOfColumns = size_ + 1;
    const quint64 start = *nextCardColumnIndex;
    const quint64 end = std::min(numberOfColumns, start + cardColumnTableSize);
    for (quint64 index = start; index < end; ++index)
        cardColumnTable[index - start] = index == 0 ? nullptr : columns_.get() + (index - 1);
    *nextCardColumnIndex = end < numberOfColumns ? end : 0;
    return end > start ? end - start : 0;
}
