#pragma once

#include "foundation/errors/UError.h"
#include "foundation/strings/UUnicharString.h"

#include <memory>
#include <vector>

class UFemCardValueExpression;

// One entry of a compound expression: an operand, or an operator token ('+', '-', '*', '/') with
// where it stands in the parsed text.
struct UFemCardValueExpressionStackElement {
    std::shared_ptr<const UFemCardValueExpression> operand;
    char16_t operatorCharacter = 0;
    quint64 location = 0;

    bool isOperand() const { return operand != nullptr; }
    bool isAdditive() const { return operatorCharacter == u'+' || operatorCharacter == u'-'; }
    bool isMultiplicative() const { return operatorCharacter == u'*' || operatorCharacter == u'/'; }
};

using UFemCardValueExpressionStackArray = std::vector<UFemCardValueExpressionStackElement>;

// The operand/operator sequence the parser builds, refusing every entry that would break the
// alternation of operands and operators. Errors point into `baseUnicharString` within the
// parsed range.
class UFemCardValueExpressionStack {
public:
    static constexpr qsizetype initialCapacity = 4;

    UFemCardValueExpressionStack(UUnicharStringPtr baseUnicharString, URange parsedRange);

    [[nodiscard]] bool appendOperand(
        std::shared_ptr<const UFemCardValueExpression> operand, UErrorPtr* error);
    // A sign may open the stack; otherwise it must follow an operand.
    [[nodiscard]] bool appendAdditiveOperator(
        char16_t character, quint64 location, UErrorPtr* error);
    [[nodiscard]] bool appendMultiplicativeOperator(
        char16_t character, quint64 location, UErrorPtr* error);
    // Takes the last operand away (it opens a term of its own).
    std::shared_ptr<const UFemCardValueExpression> takeLastOperand();

    bool isEmpty() const { return elements_.empty(); }
    const UFemCardValueExpressionStackArray& elements() const { return elements_; }

    // The alternation a multiplication/division stack must show: operand first, then operator and
    // operand pairs. nullptr when it holds.
    static UErrorPtr checkMultiplicationDivisionStack(
        const UUnicharString& baseUnicharString, const UFemCardValueExpressionStackArray& stack);

private:
    UErrorPtr syntaxError(const char* description, quint64 location, quint64 length) const;

    UUnicharStringPtr baseUnicharString_;
    URange parsedRange_;
    UFemCardValueExpressionStackArray elements_;
};
