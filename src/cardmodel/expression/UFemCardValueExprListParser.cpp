#include "cardmodel/expression/UFemCardValueExprListParser.h"

#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/strings/UFormattedString.h"

namespace {

const char* const FilterFormSuggestion
    = "Card Value Expression List with Card Filter is like "
      "'#(<CardFilter>):<CardValueExpression-1>,<CardValueExpression-2>;'.";
const char* const MissingSemicolon = "Card Value Expression List ends without character ';'.";
const char* const MissingSemicolonSuggestion
    = "Character ';' required on the end of Card Value Expression List.";

bool isWhiteSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}
bool isLineEndOrTab(char16_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r';
}
bool isBlockOpener(char16_t c)
{
    return c == u'(' || c == u'{' || c == u'[' || c == u'<' || c == u'"';
}

QString formSuggestion(const char* before = "", const char* after = "")
{
    return ULocalizedString(before) + ULocalizedString(FilterFormSuggestion)
        + ULocalizedString(after);
}

} // namespace

UFemCardValueExprListParser::UFemCardValueExprListParser(const QString& text)
    : text_(text)
    , end_(text_.length())
{
}

void UFemCardValueExprListParser::skipWhiteSpace()
{
    while (!atEnd() && isWhiteSpace(current()))
        ++position_;
}

bool UFemCardValueExprListParser::fail(
    const QString& description, const QString& recoverySuggestion, UErrorPtr* error) const
{
    UFemSetError(error,
        UFemCardValueExprListStringSyntaxError_withDescription(description, recoverySuggestion));
    return false;
}

bool UFemCardValueExprListParser::parse(
    UFemCardValueExprList::ComponentArray& components, UErrorPtr* error)
{
    for (;;) {
        skipWhiteSpace();
        if (atEnd())
            return true;
        std::shared_ptr<const UFemCardFilter> cardFilter;
        if (current() == u'#' && !readCardFilter(cardFilter, error))
            return false;
        CardValueExprListComponent::CardValueExpressionArray expressions;
        if (!readExpressions(expressions, error))
            return false;
        if (!expressions.empty()) {
            components.push_back(
                CardValueExprListComponent::cardValueExprListComponentWithCardFilter(
                    cardFilter, std::move(expressions)));
        }
        ++position_;
    }
}

bool UFemCardValueExprListParser::readCardFilter(
    std::shared_ptr<const UFemCardFilter>& cardFilter, UErrorPtr* error)
{
    ++position_;
    skipWhiteSpace();
    if (atEnd())
        return fail(ULocalizedString("Card Value Expression List ends with character '#'."),
            formSuggestion(), error);
    if (current() != u'(') {
        return fail(ULocalizedString("No '(' after '#'."),
            formSuggestion("Card Filter should be in parenthesis '(...)' after '#'. ( ", " )"),
            error);
    }
    URange inside;
    UErrorPtr readError;
    UFemReadParenthesisBlock(text_, position_, end_, inside, &readError);
    if (readError) {
        UFemSetError(error, readError);
        return false;
    }
    if (inside.location == UFemRangeNotFound || inside.length == 0)
        return fail(ULocalizedString("No Card Filter String in '#(...)'"), formSuggestion(), error);
    auto filter = std::make_shared<UFemCardFilter>();
    UErrorPtr filterError;
    if (!filter->setCardFilterString(text_.substringWithRange(inside), &filterError)
        || !filter->isCardFilterValid()) {
        if (filterError) {
            UFemSetError(error, filterError);
            return false;
        }
        return fail(ULocalizedString("Card Filter is not valid in '#(...)'"), QString(), error);
    }
    skipWhiteSpace();
    if (atEnd()) {
        return fail(
            ULocalizedString(
                "Card Value Expression List ends with '#(...)'. Character ':' and Card Value "
                "Expressions don't exist after '#(...)'."),
            formSuggestion(), error);
    }
    if (current() != u':') {
        return fail(
            ULocalizedFormattedString("Unexpected character '%C' exist after '#(...)'.", current()),
            formSuggestion(
                "Character ':' and Card Value Expressions should exist after '#(...)'. ( ", " )"),
            error);
    }
    ++position_;
    cardFilter = std::move(filter);
    return true;
}

bool UFemCardValueExprListParser::readExpressions(
    CardValueExprListComponent::CardValueExpressionArray& expressions, UErrorPtr* error)
{
    for (;;) {
        if (atEnd())
            return fail(ULocalizedString(MissingSemicolon),
                ULocalizedString(MissingSemicolonSuggestion), error);
        const char16_t c = current();
        if (isWhiteSpace(c) || c == u',') {
            ++position_;
            continue;
        }
        if (c == u';')
            return true;
        URange expressionRange;
        if (!readExpressionText(expressionRange, error))
            return false;
        auto expression = std::make_shared<UFemCardValueExpression>();
        UErrorPtr expressionError;
        if (expression->setCardValueExpressionString(
                text_.substringWithRange(expressionRange), &expressionError))
            expressions.push_back(std::move(expression));
        else if (expressionError) {
            UFemSetError(error, expressionError);
            return false;
        }
        if (current() == u';')
            return true;
        ++position_;
    }
}

bool UFemCardValueExprListParser::readExpressionText(URange& expressionRange, UErrorPtr* error)
{
    const quint64 start = position_++;
    for (;;) {
        if (atEnd())
            return fail(ULocalizedString(MissingSemicolon),
                ULocalizedString(MissingSemicolonSuggestion), error);
        const char16_t c = current();
        if (isBlockOpener(c)) {
            URange inside;
            UErrorPtr readError;
            UFemReadParenthesisBlock(text_, position_, end_, inside, &readError);
            if (readError) {
                UFemSetError(error, readError);
                return false;
            }
        } else if (c == u'#') {
            return fail(
                ULocalizedString("Character '#' exist while reading Card Value Expression."),
                ULocalizedString("Check if character ';' is not forgotten."), error);
        } else if (c == u',' || c == u';') {
            expressionRange = { start, position_ - start };
            return true;
        } else if (isLineEndOrTab(c)) {
            expressionRange = { start, position_ - start };
            return skipToTerminatorAfterLineEnd(error);
        } else {
            ++position_;
        }
    }
}

bool UFemCardValueExprListParser::skipToTerminatorAfterLineEnd(UErrorPtr* error)
{
    skipWhiteSpace();
    if (atEnd())
        return fail(ULocalizedString(MissingSemicolon),
            ULocalizedString(MissingSemicolonSuggestion), error);
    const char16_t c = current();
    if (c == u',' || c == u';')
        return true;
    if (c == u'#') {
        return fail(ULocalizedString("Character '#' exist while reading Card Value Expression."),
            ULocalizedString("Check if character ';' is not forgotten."), error);
    }
    // Not skipped into the next component: a "," or ";" was most likely forgotten.
    return fail(ULocalizedFormattedString(
                    "Unexpected character '%C' exist after the end of Card Value Expression.", c),
        ULocalizedString("Card Value Expressions are separated by ',' and end with ';'. Check if "
                         "character ',' or ';' "
                         "is not forgotten."),
        error);
}
