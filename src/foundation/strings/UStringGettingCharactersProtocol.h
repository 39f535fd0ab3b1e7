#pragma once

#include "foundation/containers/URange.h"

#include <QString>

// The character-reading interface through which every parser reads text, in UTF-16 code units.
// Two classes serve it: UPlatformString (a QString) and UUnicharString (an immutable copy that
// hands out pointers into its own buffer).
class UStringGettingCharactersProtocol {
public:
    virtual ~UStringGettingCharactersProtocol() = default;

    virtual QString string() const = 0;
    virtual quint64 length() const = 0;
    // Raises URangeException when index >= length().
    virtual char16_t characterAtIndex(quint64 index) const = 0;
    // Raises URangeException when the range does not lie inside the text.
    virtual QString substringWithRange(URange range) const = 0;

    // Bulk read of [fromStartIndex, toEndIndex): sets *validCharacterBufferPtr to `count` valid
    // units and returns count (at least 1). The count may be smaller than the range (a QString
    // fills at most the caller's buffer) or larger than the caller's buffer (a UUnicharString
    // answers the whole range from its own storage), so readers examine exactly `count` units and
    // ask again from there. An empty or out-of-range request raises URangeException.
    virtual quint64 getCharacterAndSetValidCharacterBufferPtr(
        const char16_t** validCharacterBufferPtr, quint64 fromStartIndex, quint64 toEndIndex,
        char16_t* withCharacterBuffer, quint64 characterBufferLength) const = 0;
};
