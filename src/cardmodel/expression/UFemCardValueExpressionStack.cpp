#include "cardmodel/expression/UFemCardValueExpressionStack.h"

#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/strings/UFormattedString.h"

namespace {

UErrorPtr makeSyntaxError(const UUnicharString& base, URange context, const char* description,
    quint64 location, quint64 length)
{
    return UFemCardValueExpressionStringSyntaxError_withDescription(
        ULocalizedFormattedString(description), QString(),
        UFemModelTextExcerpt(
            base, context.location, context.location + context.length, location, length));
}

URange elementRange(const UFemCardValueExpressionStackElement& element)
{
    return element.isOperand() ? element.operand->cardValueExpressionStringRange()
                               : URange { element.location, 1 };
}

} // namespace

UFemCardValueExpressionStack::UFemCardValueExpressionStack(
    UUnicharStringPtr baseUnicharString, URange parsedRange)
    : baseUnicharString_(std::move(baseUnicharString))
    , parsedRange_(parsedRange)
{
    elements_.reserve(initialCapacity);
}

UErrorPtr UFemCardValueExpressionStack::syntaxError(
    const char* description, quint64 location, quint64 length) const
{
    return makeSyntaxError(*baseUnicharString_, parsedRange_, description, location, length);
}

bool UFemCardValueExpressionStack::appendOperand(
    std::shared_ptr<const UFemCardValueExpression> operand, UErrorPtr* error)
{
    if (!elements_.empty() && elements_.back().isOperand()) {
        const URange range = operand->cardValueExpressionStringRange();
        UFemSetError(error,
            syntaxError("(Unexpected Error) Value objects are continued without operator ( '+', "
                        "'-', '*', or '/' ).",
                range.location, range.length));
        return false;
    }
    elements_.push_back({ std::move(operand), 0, 0 });
    return true;
}

bool UFemCardValueExpressionStack::appendAdditiveOperator(
    char16_t character, quint64 location, UErrorPtr* error)
{
    const char* failure = nullptr;
    if (character != u'+' && character != u'-')
        failure = "(Unexpected Error) An error occurred at '+' or '-'.";
    else if (elements_.empty() || elements_.back().isOperand())
        failure = nullptr;
    else if (elements_.back().isMultiplicative())
        failure = "(Unexpected Error) Operator ( '+' or '-' ) are continued after '*' or '/' "
                  "without Operand ( Value ).";
    else if (elements_.back().isAdditive())
        failure = "Operators ( '+', '-' ) are continued without Operand ( Value ).";
    else
        failure = "(Unexpected Error) An error occurred at '+' or '-'.";
    if (failure) {
        UFemSetError(error, syntaxError(failure, location, 1));
        return false;
    }
    elements_.push_back({ nullptr, character, location });
    return true;
}

bool UFemCardValueExpressionStack::appendMultiplicativeOperator(
    char16_t character, quint64 location, UErrorPtr* error)
{
    const char* failure = nullptr;
    if (character != u'*' && character != u'/')
        failure = "( Unexpected Error ) An error occurred at '*' or '/'.";
    else if (elements_.empty())
        failure = "Card Value Expression begins with Operator '*' or '/'.";
    else if (elements_.back().isOperand())
        failure = nullptr;
    else if (elements_.back().isAdditive())
        failure
            = "Operator ( '*' or '/' ) are continued after '+' or '-' without Operand ( Value ).";
    else if (elements_.back().isMultiplicative())
        failure
            = "Operator ( '*' or '/' ) are continued after '*' or '/' without Operand ( Value ).";
    else
        failure = "( Unexpected Error ) An error occurred at '*' or '/'.";
    if (failure) {
        UFemSetError(error, syntaxError(failure, location, 1));
        return false;
    }
    elements_.push_back({ nullptr, character, location });
    return true;
}

std::shared_ptr<const UFemCardValueExpression> UFemCardValueExpressionStack::takeLastOperand()
{
    if (elements_.empty() || !elements_.back().isOperand())
        return nullptr;
    std::shared_ptr<const UFemCardValueExpression> operand = std::move(elements_.back().operand);
    elements_.pop_back();
    return operand;
}

UErrorPtr UFemCardValueExpressionStack::checkMultiplicationDivisionStack(
    const UUnicharString& baseUnicharString, const UFemCardValueExpressionStackArray& stack)
{
    const URange whole { 0, baseUnicharString.length() };
    if (stack.empty() || !stack.front().isOperand()) {
        const URange at = stack.empty() ? whole : elementRange(stack.front());
        return makeSyntaxError(baseUnicharString, whole,
            "(Unexpected Error) Card Value Expression begins with Operator '*' or '/'.",
            at.location, at.length);
    }
    for (std::size_t i = 1; i < stack.size(); ++i) {
        const bool operandExpected = i % 2 == 0;
        const UFemCardValueExpressionStackElement& element = stack[i];
        const bool fits = operandExpected ? element.isOperand() : element.isMultiplicative();
        const bool endsWithOperator = !operandExpected && i + 1 == stack.size();
        if (fits && !endsWithOperator)
            continue;
        const URange at = elementRange(element);
        const char* description = element.isOperand()
            ? "(Unexpected Error) Value objects are continued without operator ( '+', '-', '*' or "
              "'/' )."
            : "(Unexpected Error) Operators ( '*', '/' ) are continued without Operand ( Value ).";
        return makeSyntaxError(baseUnicharString, whole, description, at.location, at.length);
    }
    return nullptr;
}
