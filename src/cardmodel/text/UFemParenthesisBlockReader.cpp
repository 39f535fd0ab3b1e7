#include "cardmodel/text/UFemParenthesisBlockReader.h"

#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsParsingString.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UUnicharString.h"

#include <array>

namespace {

constexpr quint64 BlockChunkLength = 64;
constexpr char16_t Quote = u'"';

bool isOpener(char16_t unit)
{
    return unit == u'(' || unit == u'{' || unit == u'[' || unit == u'<';
}

char16_t closerOf(char16_t opener)
{
    switch (opener) {
    case u'(':
        return u')';
    case u'{':
        return u'}';
    case u'[':
        return u']';
    default:
        return u'>';
    }
}

bool isCloser(char16_t unit)
{
    return unit == u')' || unit == u'}' || unit == u']' || unit == u'>';
}

struct OpenBracket {
    char16_t character;
    quint64 location;
};

enum class BlockFailure { None, TooDeep, Mismatch, Unclosed };

// The state of one scan: the open brackets, an open quoted string, the content seen at depth one.
struct BlockScan {
    std::array<OpenBracket, UFemMaxNestedParenthesisCount> stack {};
    quint64 depth = 0;
    quint64 quoteLocation = UFemNotFound;
    quint64 contentFirst = UFemNotFound;
    quint64 contentLast = 0;
    quint64 closerLocation = UFemNotFound;
    BlockFailure failure = BlockFailure::None;
    quint64 failureLocation = 0;
    char16_t failureCharacter = 0;

    void content(quint64 at)
    {
        if (contentFirst == UFemNotFound)
            contentFirst = at;
        contentLast = at;
    }
    bool fail(BlockFailure kind, quint64 at, char16_t unit)
    {
        failure = kind;
        failureLocation = at;
        failureCharacter = unit;
        return false;
    }

    // Takes one unit after the outer opener; false when the block closed or failed.
    bool step(char16_t unit, quint64 at, bool isQuotedBlock)
    {
        if (quoteLocation != UFemNotFound) {
            if (unit != Quote)
                return true;
            quoteLocation = UFemNotFound;
            if (isQuotedBlock) {
                closerLocation = at;
                return false;
            }
            if (depth == 1)
                content(at);
            return true;
        }
        if (unit == Quote) {
            quoteLocation = at;
        } else if (isOpener(unit)) {
            if (depth == UFemMaxNestedParenthesisCount)
                return fail(BlockFailure::TooDeep, at, unit);
            stack[depth++] = { unit, at };
        } else if (isCloser(unit)) {
            const OpenBracket open = stack[depth - 1];
            if (closerOf(open.character) != unit)
                return fail(BlockFailure::Mismatch, at, unit);
            if (--depth == 0) {
                closerLocation = at;
                return false;
            }
        } else if (unit == UFemBlankCharacter) {
            return true;
        }
        if (depth == 1 || (depth == 2 && isOpener(unit) && stack[1].location == at))
            content(at);
        return true;
    }
};

UErrorPtr blockError(const BlockScan& scan, const UStringGettingCharactersProtocol& source,
    quint64 blockStart, quint64 end)
{
    switch (scan.failure) {
    case BlockFailure::TooDeep:
        return UFemFewChanceError_withDescription(
            ULocalizedFormattedString(
                "Nested parenthesis count is over %lu.", UFemMaxNestedParenthesisCount),
            ULocalizedFormattedString(
                "Number of nested parenthesis is limited by %lu. or Parenthesis might be not "
                "close correct. Check parenthesis or reduce nested count.",
                UFemMaxNestedParenthesisCount));
    case BlockFailure::Mismatch: {
        const OpenBracket open = scan.stack[scan.depth - 1];
        return UFemReadingCharacterError_withDescription(
            ULocalizedFormattedString(
                "Parenthesis doesn't close correctly. Character '%C' appeared while parenthesis "
                "of '%C' is not closed yet.",
                scan.failureCharacter, open.character),
            QString(),
            UFemModelTextExcerpt(
                source, blockStart, end, open.location, scan.failureLocation + 1 - open.location));
    }
    case BlockFailure::Unclosed:
    case BlockFailure::None:
        break;
    }
    return UFemReadingCharacterError_withDescription(
        ULocalizedFormattedString(
            "Parenthesis doesn't close correctly. String reached to the end while parenthesis "
            "of '%C' is not closed yet.",
            scan.failureCharacter),
        QString(),
        UFemModelTextExcerpt(
            source, blockStart, end, scan.failureLocation, end - scan.failureLocation));
}

URange failBlock(UErrorPtr* error, UErrorPtr failure, URange& innerRange)
{
    innerRange = {};
    UFemSetError(error, std::move(failure));
    return {};
}

} // namespace

URange UFemReadParenthesisBlock(const UStringGettingCharactersProtocol& source, quint64& index,
    quint64 end, URange& innerRange, UErrorPtr* error)
{
    const quint64 start = index;
    if (start >= end) {
        innerRange = { start, 0 };
        return { start, 0 };
    }
    const char16_t first = source.characterAtIndex(start);
    const bool isQuotedBlock = first == Quote;
    if (!isOpener(first) && !isQuotedBlock) {
        return failBlock(error,
            UFemUnexpectedError_withDescription(
                ULocalizedFormattedString("string[firstIndex] is not open-parenthesis-character "
                                          "when reading parenthesis block.")),
            innerRange);
    }
    BlockScan scan;
    if (isQuotedBlock)
        scan.quoteLocation = start;
    else
        scan.stack[scan.depth++] = { first, start };
    UFemScanUnits<BlockChunkLength>(source, start + 1, end,
        [&](char16_t unit, quint64 at) { return scan.step(unit, at, isQuotedBlock); });
    if (scan.failure == BlockFailure::None && scan.closerLocation == UFemNotFound) {
        const bool inQuote = scan.quoteLocation != UFemNotFound;
        const OpenBracket innermost
            = inQuote ? OpenBracket { Quote, scan.quoteLocation } : scan.stack[scan.depth - 1];
        scan.fail(BlockFailure::Unclosed, innermost.location, innermost.character);
    }
    if (scan.failure != BlockFailure::None) {
        index = scan.failure == BlockFailure::Unclosed ? end : scan.failureLocation;
        return failBlock(error, blockError(scan, source, start, end), innerRange);
    }
    if (isQuotedBlock)
        innerRange = { start + 1, scan.closerLocation - start - 1 };
    else if (scan.contentFirst == UFemNotFound)
        innerRange = { UFemRangeNotFound, 0 };
    else
        innerRange = { scan.contentFirst, scan.contentLast - scan.contentFirst + 1 };
    index = scan.closerLocation + 1;
    return { start, scan.closerLocation + 1 - start };
}

std::optional<QStringList> UFemParseCardValueExpressionStringList(
    const UUnicharString& string, UErrorPtr* error)
{
    QStringList list;
    const quint64 end = string.length();
    quint64 index = 0;
    while (index < end) {
        URange token;
        UErrorPtr readError;
        const char16_t stop = UFemReadModelColumnString(
            string, index, end, token, UFemColumnSeparatingCharacterTypeComma, &readError);
        if (readError) {
            UFemSetError(error, readError);
            return std::nullopt;
        }
        if (stop == UFemCommentCharacter) {
            UFemSetError(error,
                UFemCardValueExpressionStringSyntaxError_withDescription(
                    ULocalizedFormattedString("Unexpected character '%C' exist.", stop), QString(),
                    UFemModelTextExcerpt(string, 0, index + 1, index, 1)));
            return std::nullopt;
        }
        if (token.length > 0)
            list.append(string.substringWithRange(token));
        if (index < end)
            ++index;
    }
    return list;
}

std::optional<QStringList> UFemParseCardValueExpressionStringList(
    const QString& string, UErrorPtr* error)
{
    return UFemParseCardValueExpressionStringList(UUnicharString(string), error);
}
