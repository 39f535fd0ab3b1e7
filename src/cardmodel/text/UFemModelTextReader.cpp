#include "cardmodel/text/UFemModelTextReader.h"

#include "cardmodel/text/UFemModelTextScanning.h"
#include "cardmodel/text/UFemStringViewSource.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsParsingString.h"
#include "foundation/strings/UFormattedString.h"

namespace {
constexpr quint64 ColumnChunkLength = 32;
constexpr quint64 CommentChunkLength = 64;
constexpr quint64 LineChunkLength = 128;

// What a column, comment or line reader does with TABs and separators.
enum class ScanMode { Column, Comment, Line };

enum class Failure { None, Comma, Illegal, TabBetweenBlocks, LineEndAfterErrorTail };

struct ScanResult {
    quint64 first = UFemNotFound;
    quint64 last = 0;
    quint64 stopIndex = 0;
    char16_t stop = 0;
    Failure failure = Failure::None;
    quint64 failureIndex = 0;
};

bool isIllegal(char16_t unit)
{
    if (unit < UFemBlankCharacter)
        return unit != UFemTabCharacter && !UFemIsLineEnd(unit);
    return unit > 0x7E && UFemIsIllegalUnitAboveAscii(unit);
}

// Half of a surrogate pair without its other half: no text encoding can write it.
bool isLoneSurrogate(const UStringGettingCharactersProtocol& source, quint64 at)
{
    const char16_t unit = source.characterAtIndex(at);
    if (QChar::isHighSurrogate(unit))
        return at + 1 >= source.length() || !QChar::isLowSurrogate(source.characterAtIndex(at + 1));
    if (QChar::isLowSurrogate(unit))
        return at == 0 || !QChar::isHighSurrogate(source.characterAtIndex(at - 1));
    return false;
}

// One pass over a column, comment or line. Builds no string and no error: the caller does that
// from the result, so the common path allocates nothing.
// Letters, digits and most punctuation: what nearly every character of a line is, and what means
// the same to every reader (part of the token, unless inside an error tail).
bool isOrdinary(char16_t unit)
{
    return unit > UFemCommaCharacter && unit < 0x7F && unit != UFemCommentCharacter;
}

// The state of one pass over a column, comment or line. Builds no string and no error: the caller
// does that from the result, so the common path allocates nothing.
template <ScanMode Mode> class LineScanner {
public:
    explicit LineScanner(UFemColumnSeparatingCharacterType type)
        : type_(type)
        , commaSeparates_(Mode == ScanMode::Column && UFemIsCommaSeparator(type))
        , tabSeparates_(Mode == ScanMode::Column && UFemIsTabSeparator(type))
    {
    }

    bool inErrorTail() const { return inErrorTail_; }
    ScanResult& result() { return result_; }

    // Takes the ordinary characters [first, last]; false when the reader fails there.
    bool takeRun(quint64 first, quint64 last)
    {
        if (tab_ != UFemNotFound)
            return fail(Failure::TabBetweenBlocks, tab_);
        if (result_.first == UFemNotFound)
            result_.first = first;
        result_.last = last;
        return true;
    }

    // Takes any other character; false when the reader stops or fails there.
    bool take(char16_t unit, quint64 at)
    {
        if (UFemIsLineEnd(unit)) {
            if (inErrorTail_ && Mode == ScanMode::Column
                && type_ == UFemColumnSeparatingCharacterTypeNone)
                return fail(Failure::LineEndAfterErrorTail, at);
            result_.stop = unit;
            return false;
        }
        if (inErrorTail_)
            return true;
        if (Mode == ScanMode::Column
            && (unit == UFemCommentCharacter || (unit == UFemCommaCharacter && commaSeparates_)
                || (unit == UFemTabCharacter && tabSeparates_))) {
            result_.stop = unit;
            return false;
        }
        if (unit == UFemErrorTailCharacter) {
            inErrorTail_ = true;
            return true;
        }
        if (unit == UFemBlankCharacter)
            return true;
        if (unit == UFemTabCharacter) {
            if (Mode != ScanMode::Line && result_.first != UFemNotFound && tab_ == UFemNotFound)
                tab_ = at;
            return true;
        }
        if (unit == UFemCommaCharacter && Mode == ScanMode::Column)
            return fail(Failure::Comma, at);
        if (isIllegal(unit))
            return fail(Failure::Illegal, at);
        return takeRun(at, at);
    }

    // A character no reader takes, whatever the mode.
    bool refuse(quint64 at) { return fail(Failure::Illegal, at); }

private:
    bool fail(Failure failure, quint64 at)
    {
        result_.failure = failure;
        result_.failureIndex = at;
        return false;
    }

    const UFemColumnSeparatingCharacterType type_;
    const bool commaSeparates_;
    const bool tabSeparates_;
    ScanResult result_;
    bool inErrorTail_ = false;
    quint64 tab_ = UFemNotFound;
};

template <ScanMode Mode, quint64 ChunkLength>
ScanResult scan(const UStringGettingCharactersProtocol& source, quint64 index, quint64 end,
    UFemColumnSeparatingCharacterType type)
{
    LineScanner<Mode> scanner(type);
    char16_t buffer[ChunkLength];
    quint64 at = index;
    while (at < end) {
        const char16_t* units = nullptr;
        const quint64 count = source.getCharacterAndSetValidCharacterBufferPtr(
            &units, at, end, buffer, ChunkLength);
        for (quint64 k = 0; k < count;) {
            bool goesOn;
            if (isOrdinary(units[k]) && !scanner.inErrorTail()) {
                quint64 runEnd = k + 1;
                while (runEnd < count && isOrdinary(units[runEnd]))
                    ++runEnd;
                goesOn = scanner.takeRun(at + k, at + runEnd - 1);
                if (goesOn)
                    k = runEnd;
            } else if (!scanner.inErrorTail()
                && ((units[k] == UFemErrorTailCharacter
                        && !UFemIsWrittenErrorTail(source, at + k, end))
                    || (QChar::isSurrogate(units[k]) && isLoneSurrogate(source, at + k)))) {
                goesOn = scanner.refuse(at + k);
            } else {
                goesOn = scanner.take(units[k], at + k);
                if (goesOn)
                    ++k;
            }
            if (!goesOn) {
                scanner.result().stopIndex = at + k;
                return scanner.result();
            }
        }
        at += count;
    }
    scanner.result().stopIndex = end;
    return scanner.result();
}

UErrorPtr scanError(ScanMode mode, const ScanResult& result,
    const UStringGettingCharactersProtocol& source, quint64 start, quint64 end)
{
    const quint64 at = result.failureIndex;
    const char16_t unit = source.characterAtIndex(at);
    const QString excerpt
        = UFemModelTextExcerpt(source, start, UFemLineEndIndex(source, at + 1, end), at, 1);
    const bool isColumn = mode == ScanMode::Column;
    switch (result.failure) {
    case Failure::Comma:
        return UFemReadingCharacterError_withDescription(
            ULocalizedFormattedString("Character ',' found while reading as Tab-Separated Text."),
            ULocalizedFormattedString("Check if this is 'Tab-Separated Text'."), excerpt);
    case Failure::Illegal:
        return UFemReadingCharacterError_withDescription(isColumn
                ? ULocalizedFormattedString(
                    "Illegal character or control character exists. ( Character code: %lu )",
                    quint64(unit))
                : ULocalizedFormattedString("Character '%C' (char code: %lu) exists in comment "
                                            "string. (control char or illegal char)",
                    unit, quint64(unit)),
            QString(), excerpt);
    case Failure::TabBetweenBlocks:
        return isColumn
            ? UFemReadingCharacterError_withDescription(
                ULocalizedFormattedString("'Tab' character exists between string blocks."),
                ULocalizedFormattedString("Can't use 'Tab' character in a column."), excerpt)
            : UFemReadingCharacterError_withDescription(
                ULocalizedFormattedString("'Tab' character exists in column string."),
                ULocalizedFormattedString(
                    "Can't use 'Tab' character between valid strings in a column string."),
                excerpt);
    case Failure::LineEndAfterErrorTail:
    case Failure::None:
        break;
    }
    return UFemReadingCharacterError_withDescription(
        ULocalizedFormattedString("Character LF or CR exist."), QString(), excerpt);
}

template <ScanMode Mode, quint64 ChunkLength>
char16_t readScanned(const UStringGettingCharactersProtocol& source, quint64& index, quint64 end,
    URange& range, UFemColumnSeparatingCharacterType type, UErrorPtr* error)
{
    const quint64 start = index;
    if (start >= end) {
        range = { start, 0 };
        return 0;
    }
    const ScanResult result = scan<Mode, ChunkLength>(source, start, end, type);
    if (result.failure != Failure::None) {
        if (!error)
            UFemRaiseProgramError(QStringLiteral("An error occurred though 'aErrorPtr==nil'."));
        *error = scanError(Mode, result, source, start, end);
        range = {};
        index = result.failureIndex;
        return 0;
    }
    range = result.first == UFemNotFound ? URange { start, 0 }
                                         : URange { result.first, result.last - result.first + 1 };
    index = result.stopIndex;
    return result.stop;
}

// Reads the whole string with `read`; a stop before its end is the unexpected error `message`.
// An error tail is refused: the reader would silently drop what follows it, and written back the
// text would turn its card into an error line.
template <ScanMode Mode, typename Read>
char16_t readWholeString(
    const QString& string, URange& range, UErrorPtr* error, const char* message, Read read)
{
    const UFemStringViewSource source(string);
    quint64 index = 0;
    UErrorPtr readError;
    const char16_t stop = read(source, index, source.length(), range, &readError);
    if (!readError) {
        const qsizetype tail = string.indexOf(QChar(UFemErrorTailCharacter));
        if (tail >= 0) {
            ScanResult result;
            result.failure = Failure::Illegal;
            result.failureIndex = quint64(tail);
            readError = scanError(Mode, result, source, 0, source.length());
        }
    }
    if (readError) {
        range = {};
        UFemSetError(error, readError);
        return 0;
    }
    if (index < source.length()) {
        range = {};
        UFemSetError(
            error, UFemUnexpectedError_withDescription(ULocalizedFormattedString(message)));
        return 0;
    }
    return stop;
}

} // namespace

char16_t UFemReadModelColumnString(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& tokenRange, UFemColumnSeparatingCharacterType type, UErrorPtr* error)
{
    return readScanned<ScanMode::Column, ColumnChunkLength>(
        source, index, end, tokenRange, type, error);
}

char16_t UFemReadModelCommentString(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, UErrorPtr* error)
{
    return readScanned<ScanMode::Comment, CommentChunkLength>(
        source, index, end, range, UFemColumnSeparatingCharacterTypeNone, error);
}

char16_t UFemReadModelLineString(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& range, UErrorPtr* error)
{
    return readScanned<ScanMode::Line, LineChunkLength>(
        source, index, end, range, UFemColumnSeparatingCharacterTypeNone, error);
}

bool UFemIsWrittenErrorTail(const UStringGettingCharactersProtocol& source, quint64 at, quint64 end)
{
    static const QString afterMark = QStringLiteral(" Error : ");
    const quint64 markLength = quint64(afterMark.size());
    if (at == 0 || at + 1 + markLength > end)
        return false;
    const char16_t before = source.characterAtIndex(at - 1);
    return (before == UFemBlankCharacter || before == UFemTabCharacter)
        && source.substringWithRange({ at + 1, markLength }) == afterMark;
}

quint64 UFemWrittenErrorTailIndex(
    const UStringGettingCharactersProtocol& source, quint64 from, quint64 end)
{
    return UFemScanUnits<LineChunkLength>(source, from, end, [&](char16_t unit, quint64 at) {
        return unit != UFemErrorTailCharacter || !UFemIsWrittenErrorTail(source, at, end);
    });
}

quint64 UFemRefusedCharacterIndex(
    const UStringGettingCharactersProtocol& source, quint64 from, quint64 end)
{
    quint64 refused = end;
    UFemScanUnits<LineChunkLength>(source, from, end, [&](char16_t unit, quint64 at) {
        if (unit == UFemErrorTailCharacter) {
            if (!UFemIsWrittenErrorTail(source, at, end))
                refused = at;
            return false;
        }
        if (UFemIsLineEnd(unit)
            || (!isIllegal(unit) && !(QChar::isSurrogate(unit) && isLoneSurrogate(source, at))))
            return true;
        refused = at;
        return false;
    });
    return refused;
}

char16_t UFemReadNameToken(
    const UStringGettingCharactersProtocol& source, quint64& index, quint64 end, URange& nameRange)
{
    const quint64 start = index;
    quint64 first = UFemNotFound;
    quint64 afterName = start;
    char16_t stop = 0;
    index = UFemScanUnits<ColumnChunkLength>(source, start, end, [&](char16_t unit, quint64 at) {
        if (unit == UFemBlankCharacter)
            return true;
        if (first == UFemNotFound && UFemIsNameCharacter(unit)) {
            first = at;
            afterName = at + 1;
            return true;
        }
        if (first != UFemNotFound && afterName == at && UFemIsNameCharacter(unit)) {
            afterName = at + 1;
            return true;
        }
        stop = unit;
        return false;
    });
    nameRange = first == UFemNotFound ? URange { start, 0 } : URange { first, afterName - first };
    return index < end ? stop : 0;
}

char16_t UFemTrimmedColumnStringRange(const QString& string, URange& range, UErrorPtr* error)
{
    return readWholeString<ScanMode::Column>(string, range, error,
        "Reading column string didn't reach to the end.",
        [](const auto& source, quint64& index, quint64 end, URange& token, UErrorPtr* readError) {
            return UFemReadModelColumnString(
                source, index, end, token, UFemColumnSeparatingCharacterTypeNone, readError);
        });
}

char16_t UFemTrimmedCommentStringRange(const QString& string, URange& range, UErrorPtr* error)
{
    return readWholeString<ScanMode::Comment>(string, range, error,
        "Reading comment string didn't reach to the end.",
        [](const auto& source, quint64& index, quint64 end, URange& comment, UErrorPtr* readError) {
            return UFemReadModelCommentString(source, index, end, comment, readError);
        });
}

std::optional<QString> UFemTrimmedColumnStringOrNil(const QString& string, UErrorPtr* error)
{
    URange range;
    UErrorPtr readError;
    UFemTrimmedColumnStringRange(string, range, &readError);
    if (readError) {
        UFemSetError(error, readError);
        return std::nullopt;
    }
    if (range.length == 0)
        return std::nullopt;
    return string.mid(qsizetype(range.location), qsizetype(range.length));
}

URange UFemColumnRangeInCardString(const QString& cardString, quint64 columnIndex,
    UFemColumnSeparatingCharacterType type, UErrorPtr* error)
{
    const UFemStringViewSource source(cardString);
    const quint64 end = source.length();
    quint64 index = 0;
    for (quint64 column = 0;; ++column) {
        URange token;
        UErrorPtr readError;
        const char16_t stop
            = UFemReadModelColumnString(source, index, end, token, type, &readError);
        if (readError) {
            UFemSetError(error, readError);
            return { UFemRangeNotFound, 0 };
        }
        if (column == columnIndex)
            return token;
        const bool atSeparator = (stop == UFemCommaCharacter && UFemIsCommaSeparator(type))
            || (stop == UFemTabCharacter && UFemIsTabSeparator(type));
        if (!atSeparator)
            return { UFemRangeNotFound, 0 };
        ++index;
    }
}
