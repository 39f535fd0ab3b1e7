#pragma once

#include <QtGlobal>

#include <limits>

// What separates the columns of a model-text line. The numbers are part of every reader's and
// writer's interface.
enum UFemColumnSeparatingCharacterType : int {
    UFemColumnSeparatingCharacterTypeComma = 1,
    UFemColumnSeparatingCharacterTypeTab = 2,
    UFemColumnSeparatingCharacterTypeCommaOrTab = 3,
    // The whole text is one column.
    UFemColumnSeparatingCharacterTypeNone = 4,
};

inline bool UFemIsCommaSeparator(UFemColumnSeparatingCharacterType type)
{
    return type == UFemColumnSeparatingCharacterTypeComma
        || type == UFemColumnSeparatingCharacterTypeCommaOrTab;
}

inline bool UFemIsTabSeparator(UFemColumnSeparatingCharacterType type)
{
    return type == UFemColumnSeparatingCharacterTypeTab
        || type == UFemColumnSeparatingCharacterTypeCommaOrTab;
}

// The location of a range that was not found (the largest signed value), as the column locator and
// the block reader report it. Not to be confused with the all-ones "none" of rows and identifiers.
inline constexpr quint64 UFemRangeNotFound = quint64(std::numeric_limits<qint64>::max());

// The characters the line grammar gives a meaning to.
inline constexpr char16_t UFemLineFeedCharacter = u'\n';
inline constexpr char16_t UFemCarriageReturnCharacter = u'\r';
inline constexpr char16_t UFemTabCharacter = u'\t';
inline constexpr char16_t UFemBlankCharacter = u' ';
inline constexpr char16_t UFemCommaCharacter = u',';
inline constexpr char16_t UFemCommentCharacter = u'\\';
// Starts the error tail of a line, which every reader ignores.
inline constexpr char16_t UFemErrorTailCharacter = u'\u00A1';
inline constexpr char16_t UFemByteOrderMark = u'\uFEFF';

inline bool UFemIsLineEnd(char16_t unit)
{
    return unit == UFemLineFeedCharacter || unit == UFemCarriageReturnCharacter;
}
