#pragma once

#include "foundation/strings/UStringGettingCharactersProtocol.h"

#include <QString>

// Shared by the model-text readers; not part of their interface.

// Calls step(unit, index) for the units of [index, end) in order, through the bulk read with a
// buffer of BufferLength units, until step returns false. Returns the index it stopped at (end
// when every unit was taken).
template <quint64 BufferLength, typename Step>
quint64 UFemScanUnits(
    const UStringGettingCharactersProtocol& source, quint64 index, quint64 end, Step&& step)
{
    char16_t buffer[BufferLength];
    while (index < end) {
        const char16_t* units = nullptr;
        const quint64 count = source.getCharacterAndSetValidCharacterBufferPtr(
            &units, index, end, buffer, BufferLength);
        for (quint64 k = 0; k < count; ++k) {
            if (!step(units[k], index + k))
                return index + k;
        }
        index += count;
    }
    return end;
}

// The index of the first LF or CR in [from, end), or end.
quint64 UFemLineEndIndex(const UStringGettingCharactersProtocol& source, quint64 from, quint64 end);
// The index after the line end at `lineEnd`: CR LF is one line end, as are LF and CR alone.
quint64 UFemIndexAfterLineEnd(
    const UStringGettingCharactersProtocol& source, quint64 lineEnd, quint64 end);

// The error excerpt of [contextLocation, contextEnd) around [errorLocation, errorLocation +
// errorLength), as UMakeErrorRangeHighlightedString makes it, fetching only the characters the
// excerpt shows (the stretch may be a whole model text).
QString UFemModelTextExcerpt(const UStringGettingCharactersProtocol& source,
    quint64 contextLocation, quint64 contextEnd, quint64 errorLocation, quint64 errorLength);

// The excerpt of the whole source with the one unit at `location` highlighted (nothing at the end).
QString UFemModelTextCharacterExcerpt(
    const UStringGettingCharactersProtocol& source, quint64 location);

// A token as an error text quotes it: at most UFemQuotedTokenLength units of it, then "…" when it
// is longer, so that a vast token is never copied into the texts of its error.
inline constexpr quint64 UFemQuotedTokenLength = 64;
QString UFemQuotedToken(const UStringGettingCharactersProtocol& source);
// Whether a unit above U+007E is illegal in model text (the two illegal sets agree there).
bool UFemIsIllegalUnitAboveAscii(char16_t unit);
// A name character: A-Z, a-z, 0-9, '_', or above U+007E and no name delimiter.
bool UFemIsNameCharacter(char16_t unit);
