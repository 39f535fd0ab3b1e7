#include "cardmodel/filter/UFemCardFilterFunctionBlock.h"

#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/errors/UErrorRangeHighlightedString.h"
#include "foundation/errors/UFemErrorsCardFilter.h"
#include "foundation/strings/UCharacterSet.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UUnicharString.h"

namespace {

constexpr char16_t Space = u' ';
constexpr char16_t Colon = u':';
constexpr char16_t Quote = u'"';

bool isArgumentNameCharacter(char16_t unit)
{
    return !UFemNameDelimiterCharacterSet().containsUnit(unit);
}

bool isBracketOpener(char16_t unit)
{
    return unit == Quote || unit == u'(' || unit == u'{' || unit == u'[' || unit == u'<';
}

// Reads one block; the level's end and source stay fixed while the index moves.
class BlockReader {
public:
    BlockReader(const UUnicharString& source, quint64& index, URange level,
        UFemCardFilterFunctionBlock& block)
        : source_(source)
        , index_(index)
        , level_(level)
        , end_(level.location + level.length)
        , block_(block)
    {
    }

    UErrorPtr read()
    {
        block_ = {};
        block_.range.location = index_;
        for (;;) {
            skipSpaces();
            if (index_ >= end_ || !UFemIsCardFilterLetter(at(index_)))
                break;
            bool hasEnded = false;
            if (UErrorPtr failure = readNameAndArgument(hasEnded))
                return failure;
            if (hasEnded)
                break;
        }
        block_.range.length = blockEnd_ - block_.range.location;
        return nullptr;
    }

private:
    char16_t at(quint64 index) const { return source_.characterAtIndex(index); }
    void skipSpaces()
    {
        while (index_ < end_ && at(index_) == Space)
            ++index_;
    }
    URange fromFirstNameToHere() const
    {
        return { block_.range.location, index_ - block_.range.location };
    }
    UErrorPtr fail(
        URange range, const QString& description, const std::optional<QString>& suggestion)
    {
        return UFemCardFilterSyntaxErrorInLevel(source_, level_, range, description, suggestion);
    }

    UErrorPtr readNameAndArgument(bool& hasEnded)
    {
        if (block_.functionNames.size() >= UFemCardFilterMaxFunctionNameCount) {
            return fail(fromFirstNameToHere(),
                ULocalizedFormattedString(
                    "Too many Card Filter Function block. ( Card Filter Function: '%@...' )",
                    block_.joinedFunctionNames()),
                ULocalizedFormattedString("Check if not forget '&' or '|'."));
        }
        const quint64 nameStart = index_;
        while (index_ < end_ && UFemIsCardFilterLetter(at(index_)))
            ++index_;
        const QString name = source_.substringWithRange({ nameStart, index_ - nameStart });
        if (index_ >= end_ || at(index_) != Colon)
            return endWithBareName(name, hasEnded);
        ++index_;
        block_.functionNames.append(name + QChar(Colon));
        skipSpaces();
        if (UErrorPtr failure = readArgument())
            return failure;
        blockEnd_ = index_;
        if (index_ < end_ && at(index_) == Space)
            ++index_;
        else
            hasEnded = true;
        return nullptr;
    }

    UErrorPtr endWithBareName(const QString& name, bool& hasEnded)
    {
        if (block_.functionNames.isEmpty()) {
            block_.functionNames.append(name);
            blockEnd_ = index_;
            hasEnded = true;
            return nullptr;
        }
        const QString description = index_ >= end_
            ? ULocalizedFormattedString("Card Filter Expression ends without ':'.")
            : ULocalizedFormattedString("Character '%C' exists without ':'.", at(index_));
        return fail({ index_, 0 }, description,
            ULocalizedFormattedString(
                "Check Card Filter Function. Card Filter Function with arguments "
                "contains character ':' before arguments."));
    }

    UErrorPtr readArgument()
    {
        if (index_ < end_ && isBracketOpener(at(index_)))
            return readBracketedArgument();
        const quint64 start = index_;
        while (index_ < end_ && isArgumentNameCharacter(at(index_)))
            ++index_;
        if (index_ == start) {
            return fail(fromFirstNameToHere(),
                ULocalizedFormattedString("No %luth argument for Card Filter Function '%@'.",
                    quint64(block_.functionNames.size()), block_.joinedFunctionNames()),
                ULocalizedFormattedString("If the argument contains special character, you might "
                                          "need to put it in \"•••\"."));
        }
        block_.arguments.append(source_.substringWithRange({ start, index_ - start }));
        return nullptr;
    }

    UErrorPtr readBracketedArgument()
    {
        const bool isQuoted = at(index_) == Quote;
        URange innerRange;
        UErrorPtr blockError;
        const URange whole
            = UFemReadParenthesisBlock(source_, index_, end_, innerRange, &blockError);
        if (blockError)
            return UFemCardFilterStringSyntaxError_withBaseError(blockError);
        if (!isQuoted)
            block_.arguments.append(source_.substringWithRange(whole));
        else if (innerRange.length == 0)
            block_.arguments.append(QString());
        else
            block_.arguments.append(source_.substringWithRange(innerRange));
        return nullptr;
    }

    const UUnicharString& source_;
    quint64& index_;
    const URange level_;
    const quint64 end_;
    UFemCardFilterFunctionBlock& block_;
    quint64 blockEnd_ = 0;
};

} // namespace

bool UFemReadCardFilterFunctionBlock(const UUnicharString& source, quint64& index, URange level,
    UFemCardFilterFunctionBlock& block, UErrorPtr* error)
{
    if (UErrorPtr failure = BlockReader(source, index, level, block).read()) {
        UFemSetError(error, std::move(failure));
        return false;
    }
    return true;
}

UErrorPtr UFemCardFilterSyntaxErrorInLevel(const UUnicharString& source, URange level,
    URange errorRange, const QString& description, const std::optional<QString>& recoverySuggestion)
{
    const QString excerpt = UMakeErrorRangeHighlightedString(
        source.string(), level.location, level.length, errorRange.location, errorRange.length);
    if (recoverySuggestion)
        return UFemCardFilterStringSyntaxError_withDescription(
            description, *recoverySuggestion, excerpt);
    return UFemCardFilterStringSyntaxError_withDescription(description, excerpt);
}
