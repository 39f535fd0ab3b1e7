#pragma once

#include "foundation/strings/UStringGettingCharactersProtocol.h"

// Reads [startIndex, endIndex) of a character source forwards through the interface's bulk read:
// it keeps a small buffer of its own, examines exactly the units each request gives, and asks
// again from where they ran out (a UUnicharString answers the whole rest in one request).
class UCharacterReader {
public:
    static constexpr quint64 bufferLength = 64;

    UCharacterReader(
        const UStringGettingCharactersProtocol& source, quint64 startIndex, quint64 endIndex);
    explicit UCharacterReader(const UStringGettingCharactersProtocol& source)
        : UCharacterReader(source, 0, source.length())
    {
    }

    // The index of the unit that peek() and next() answer.
    quint64 index() const { return chunkStart_ + position_; }
    bool atEnd() const { return index() >= end_; }

    // The unit at index(), or 0 at the end.
    char16_t peek()
    {
        if (position_ == chunkCount_ && !refill())
            return 0;
        return chunk_[position_];
    }

    // The unit at index(), moving past it; 0 at the end.
    char16_t next()
    {
        const char16_t unit = peek();
        if (unit != 0 || !atEnd())
            ++position_;
        return unit;
    }

private:
    bool refill();

    const UStringGettingCharactersProtocol& source_;
    quint64 chunkStart_;
    quint64 end_;
    const char16_t* chunk_ = nullptr;
    quint64 chunkCount_ = 0;
    quint64 position_ = 0;
    // Written before it is read: a reader is made per column of a model text, so it is not
    // cleared.
    char16_t buffer_[bufferLength];
};
