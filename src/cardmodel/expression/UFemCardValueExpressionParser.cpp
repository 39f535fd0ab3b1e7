#include "cardmodel/expression/UFemCardValueExpressionParser.h"

#include "cardmodel/text/UFemModelTextScanning.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/strings/UCharacterSet.h"
#include "foundation/strings/UFormattedString.h"

namespace {

constexpr char16_t Space = u' ';
constexpr char16_t MinorNameMark = u'@';
constexpr char16_t FunctionMark = u'.';
constexpr char16_t OpenParenthesis = u'(';

bool isNameDelimiter(char16_t character)
{
    return UFemNameDelimiterCharacterSet().containsUnit(character);
}

} // namespace

bool UFemCardValueExpressionIsNameStartCharacter(char16_t character)
{
    return !isNameDelimiter(character) && !(character >= u'0' && character <= u'9');
}

UFemCardValueExpressionParser::UFemCardValueExpressionParser(
    UUnicharStringPtr baseUnicharString, URange range)
    : baseUnicharString_(std::move(baseUnicharString))
    , range_(range)
    , end_(range.location + range.length)
    , position_(range.location)
    , topStack_(baseUnicharString_, range)
{
}

char16_t UFemCardValueExpressionParser::current() const
{
    return baseUnicharString_->unicharPtr()[position_];
}

void UFemCardValueExpressionParser::skipSpaces()
{
    while (!atEnd() && current() == Space)
        ++position_;
}

void UFemCardValueExpressionParser::skipName()
{
    while (!atEnd() && !isNameDelimiter(current()))
        ++position_;
}

bool UFemCardValueExpressionParser::parse(UErrorPtr* error)
{
    for (;;) {
        skipSpaces();
        const bool isEnd = atEnd();
        const char16_t character = isEnd ? 0 : current();
        const bool expectsOperand = state_ != State::AfterOperand;
        if (expectsOperand && !isEnd && UFemCardValueExpressionIsNameStartCharacter(character)) {
            if (!readValue(error))
                return false;
        } else if (expectsOperand && !isEnd && character == OpenParenthesis) {
            if (!readParenthesisBlock(error))
                return false;
        } else if (!expectsOperand && character == FunctionMark && position_ + 1 < end_
            && UFemCardValueExpressionIsNameStartCharacter(
                baseUnicharString_->unicharPtr()[position_ + 1])) {
            return failCardValueFunction(error);
        } else if (state_ == State::AfterOperator) {
            if (isEnd)
                return failCharacter(
                    "Card Value Expression ends with operator ( '+', '-', '*', '/' ).", end_ - 1,
                    error);
            return failCharacter("Unexpected character '%C' exist.", position_, error);
        } else if (state_ == State::AfterOperand && (character == u'*' || character == u'/')) {
            if (!readMultiplicativeOperator(character, error))
                return false;
        } else if (isEnd || character == u'+' || character == u'-') {
            if (!completeOperand(error))
                return false;
            if (isEnd)
                return !topStack_.isEmpty();
            if (!topStack_.appendAdditiveOperator(character, position_, error))
                return false;
            ++position_;
            state_ = State::AfterOperator;
        } else {
            return failCharacter("Unexpected character '%C' exist.", position_, error);
        }
    }
}

bool UFemCardValueExpressionParser::readValue(UErrorPtr* error)
{
    const quint64 majorStart = position_;
    skipName();
    const URange majorRange { majorStart, position_ - majorStart };
    skipSpaces();
    URange minorRange;
    if (!atEnd() && current() == MinorNameMark && !readMinorName(minorRange, error))
        return false;
    UFemCardValueExpressionPtr value = UFemCardValueExpression::cardValueTypeCardValueExpression(
        baseUnicharString_, majorRange, minorRange, error);
    if (!value || !currentStack().appendOperand(std::move(value), error))
        return false;
    state_ = State::AfterOperand;
    return true;
}

bool UFemCardValueExpressionParser::readMinorName(URange& minorRange, UErrorPtr* error)
{
    ++position_;
    if (atEnd()) {
        UFemSetError(error,
            syntaxError(ULocalizedFormattedString(
                            "Card Value Expression ends with '@'. No Minor Card Value Type."),
                QString(), end_, 0));
        return false;
    }
    const char16_t character = current();
    if (character == Space) {
        UFemSetError(error,
            syntaxError(
                ULocalizedFormattedString(
                    "Space character ' ' exists after '@'. It is not Minor Card Value Type."),
                ULocalizedFormattedString("Minor Card Value Type String must continue just after "
                                          "'@' without Space character."),
                position_, 1));
        return false;
    }
    if (!UFemCardValueExpressionIsNameStartCharacter(character))
        return failCharacter(
            "Unexpected character '%C' exists after '@'. It is not Minor Card Value Type.",
            position_, error);
    const quint64 minorStart = position_;
    skipName();
    minorRange = { minorStart, position_ - minorStart };
    return true;
}

bool UFemCardValueExpressionParser::readParenthesisBlock(UErrorPtr* error)
{
    URange insideRange;
    UErrorPtr readError;
    const URange blockRange
        = UFemReadParenthesisBlock(*baseUnicharString_, position_, end_, insideRange, &readError);
    if (readError) {
        UFemSetError(error, readError);
        return false;
    }
    UFemCardValueExpressionPtr block
        = UFemCardValueExpression::parenthesisBlockTypeCardValueExpression(
            baseUnicharString_, blockRange, insideRange, error);
    if (!block || !currentStack().appendOperand(std::move(block), error))
        return false;
    state_ = State::AfterOperand;
    return true;
}

bool UFemCardValueExpressionParser::failCardValueFunction(UErrorPtr* error)
{
    const quint64 labelStart = ++position_;
    skipName();
    if (!atEnd() && current() == OpenParenthesis) {
        URange insideRange;
        UErrorPtr readError;
        UFemReadParenthesisBlock(*baseUnicharString_, position_, end_, insideRange, &readError);
        if (readError) {
            UFemSetError(error, readError);
            return false;
        }
    }
    const UFemCardValueExpressionStackArray& stack = currentStack().elements();
    // Only for the error it gives.
    static_cast<void>(UFemCardValueExpression::cardValueFunctionTypeCardValueExpression(
        baseUnicharString_, stack.empty() ? nullptr : stack.back().operand,
        URange { labelStart, position_ - labelStart }, error));
    return false;
}

bool UFemCardValueExpressionParser::readMultiplicativeOperator(char16_t character, UErrorPtr* error)
{
    if (!termStack_) {
        std::shared_ptr<const UFemCardValueExpression> firstFactor = topStack_.takeLastOperand();
        termStack_.emplace(baseUnicharString_, range_);
        if (firstFactor && !termStack_->appendOperand(std::move(firstFactor), error))
            return false;
    }
    if (!termStack_->appendMultiplicativeOperator(character, position_, error))
        return false;
    ++position_;
    state_ = State::AfterOperator;
    return true;
}

bool UFemCardValueExpressionParser::completeOperand(UErrorPtr* error)
{
    std::shared_ptr<const UFemCardValueExpression> completed;
    if (termStack_) {
        UFemCardValueExpressionPtr term
            = UFemCardValueExpression::multiplicationDivisionTypeCardValueExpression(
                baseUnicharString_, termStack_->elements(), error);
        termStack_.reset();
        if (!term || !topStack_.appendOperand(term, error))
            return false;
        completed = std::move(term);
    } else if (state_ == State::AfterOperand) {
        completed = topStack_.elements().back().operand;
    }
    if (completed && !flags_.fold(*completed)) {
        const URange at = completed->cardValueExpressionStringRange();
        UFemSetError(error,
            UFemCardValueExpressionCardValueArraySizeNotMatchError_withDescription(
                ULocalizedFormattedString("Number of vector values of Card Value Expressions in "
                                          "addition/subtraction expression does not match."),
                UFemModelTextExcerpt(
                    *baseUnicharString_, range_.location, end_, at.location, at.length)));
        return false;
    }
    return true;
}

bool UFemCardValueExpressionParser::failCharacter(
    const char* format, quint64 location, UErrorPtr* error) const
{
    const char16_t character
        = location < end_ ? baseUnicharString_->unicharPtr()[location] : char16_t(0);
    UFemSetError(
        error, syntaxError(ULocalizedFormattedString(format, character), QString(), location, 1));
    return false;
}

UErrorPtr UFemCardValueExpressionParser::syntaxError(const QString& description,
    const QString& recoverySuggestion, quint64 errorLocation, quint64 errorLength) const
{
    return UFemCardValueExpressionStringSyntaxError_withDescription(description, recoverySuggestion,
        UFemModelTextExcerpt(
            *baseUnicharString_, range_.location, end_, errorLocation, errorLength));
}
