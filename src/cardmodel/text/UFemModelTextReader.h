#pragma once

#include "cardmodel/text/UFemModelTextTypes.h"
#include "foundation/errors/UError.h"
#include "foundation/strings/UStringGettingCharactersProtocol.h"

#include <optional>

// The lexer of model text. Every reader reads [index, end) of a source, leaves `index` on the
// character it stopped at and returns that character, or 0 when it reached `end`. A reader that
// fails stores its error, zeroes its ranges and returns 0; with no error out-parameter it raises a
// program error instead.

// One column token: the range from its first to its last non-blank character (empty at the
// starting index when there is none). Stops at a separator of `type`, a backslash, LF or CR.
char16_t UFemReadModelColumnString(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& tokenRange, UFemColumnSeparatingCharacterType type, UErrorPtr* error);

// A comment (after its backslash) up to the line end, trimmed.
char16_t UFemReadModelCommentString(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, UErrorPtr* error);

// The rest of a line as one trimmed string; TABs are blanks anywhere.
char16_t UFemReadModelLineString(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, UErrorPtr* error);

// Whether the U+00A1 at `at` opens an error tail as the writer writes it: after a blank or TAB and
// followed by " Error : ". Any other U+00A1 is refused like an illegal character, so that no text
// after it is lost.
bool UFemIsWrittenErrorTail(
    const UStringGettingCharactersProtocol& source, quint64 at, quint64 end);

// The index of the first written error tail's U+00A1 in [from, end), or end.
quint64 UFemWrittenErrorTailIndex(
    const UStringGettingCharactersProtocol& source, quint64 from, quint64 end);

// The index of the first character in [from, end) that no reader takes, or end; a written error
// tail ends the search.
quint64 UFemRefusedCharacterIndex(
    const UStringGettingCharactersProtocol& source, quint64 from, quint64 end);

// Skips U+0020, reads name characters and, after a non-empty name, the blanks after it. When the
// first non-blank character is no name character the range is empty at the starting index and
// the index stays on that character. Never fails.
char16_t UFemReadNameToken(
    const UStringGettingCharactersProtocol& source, quint64& index, quint64 end, URange& nameRange);

// The whole string read as exactly one column (separator type 4) or one comment.
char16_t UFemTrimmedColumnStringRange(const QString& string, URange& range, UErrorPtr* error);
char16_t UFemTrimmedCommentStringRange(const QString& string, URange& range, UErrorPtr* error);

// The trimmed text of `string` read as exactly one column; nullopt when it is empty, and nullopt
// with the error when it is no single column.
[[nodiscard]] std::optional<QString> UFemTrimmedColumnStringOrNil(
    const QString& string, UErrorPtr* error);

// The token range of column `columnIndex` (0 is the label) of a card string; location
// UFemRangeNotFound when the line has fewer columns or cannot be read (then with the error).
URange UFemColumnRangeInCardString(const QString& cardString, quint64 columnIndex,
    UFemColumnSeparatingCharacterType type, UErrorPtr* error);
