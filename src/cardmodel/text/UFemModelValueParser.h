#pragma once

#include "foundation/errors/UError.h"
#include "foundation/strings/UStringGettingCharactersProtocol.h"

// The parsers of typed column values. The number readers follow the readers' rules (index by
// reference, the stop character as result, 0 at the end); the column parsers read a whole column
// string as one value and fail when anything but blanks follows it.

// An unsigned real number: digits, an optional point and digits, an optional exponent; at most
// 32 characters. Blanks before and after it are skipped. A blank range is an empty number, 0.
char16_t UFemParseRealNumber(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, double& value, UErrorPtr* error);

// An unsigned integer of at most 9 digits (leading zeros count), read as a name token.
char16_t UFemParseIntegerNumber(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, qint64& value, UErrorPtr* error);

// "YES", "NO" or an integer (non-zero is YES). A blank range is NO.
char16_t UFemParseBoolValue(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, bool& value, UErrorPtr* error);

// A whole column as one signed value: blanks, an optional '+' or '-', blanks, the number. The range
// runs from the sign to the end of the number; an empty range is an empty column. A sign alone is
// a one-character range and the value zero.
[[nodiscard]] bool UFemParseRealColumnString(
    QStringView string, URange& range, double& value, UErrorPtr* error);
[[nodiscard]] bool UFemParseIntegerColumnString(
    QStringView string, URange& range, qint64& value, UErrorPtr* error);
// A leading '+' or '-' is skipped and has no effect.
[[nodiscard]] bool UFemParseBoolColumnString(
    QStringView string, URange& range, bool& value, UErrorPtr* error);

// One name with blanks around it; the range is empty for a blank string.
char16_t UFemParseCardNameColumnString(QStringView string, URange& range, UErrorPtr* error);

// A node name, '@' and a direction "TX" .. "RZ" (index 0 .. 5), blanks around each. A blank string
// gives empty ranges and index 0.
[[nodiscard]] bool UFemParseDegreeOfFreedomColumnString(QStringView string, URange& nodeNameRange,
    URange& directionRange, int& directionIndex, UErrorPtr* error);
