#pragma once

#include "foundation/errors/UError.h"
#include "foundation/strings/UStringGettingCharactersProtocol.h"

#include <QStringList>

#include <optional>

class UUnicharString;

// The deepest nesting of brackets a block may hold.
inline constexpr quint64 UFemMaxNestedParenthesisCount = 32;

// Reads a block opened at `index` by '(', '{', '[', '<' or '"' up to its matching closer and
// returns its whole range; the index moves past the closer. `innerRange` runs from the first to
// the last non-blank character directly inside (location UFemRangeNotFound when there is none); a
// quoted block's inner range is its text between the quotes, untrimmed. At the end: empty ranges.
URange UFemReadParenthesisBlock(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& innerRange, UErrorPtr* error);

// Splits a list of card value expressions at commas and line ends, dropping empty items. nullopt
// and the error when the text cannot be read.
[[nodiscard]] std::optional<QStringList> UFemParseCardValueExpressionStringList(
    const UUnicharString& string, UErrorPtr* error);
[[nodiscard]] std::optional<QStringList> UFemParseCardValueExpressionStringList(
    const QString& string, UErrorPtr* error);
