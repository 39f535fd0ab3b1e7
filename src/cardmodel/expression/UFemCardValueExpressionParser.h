#pragma once

#include "cardmodel/expression/UFemCardValueExpression.h"

#include <optional>

// The parser of one range of a card value expression text: an optional sign, terms joined by
// '+' and '-', factors joined by '*' and '/', a factor being a value name (with "@minor") or a
// parenthesised expression. Only U+0020 is white space; there are no numeric constants.
class UFemCardValueExpressionParser {
public:
    UFemCardValueExpressionParser(UUnicharStringPtr baseUnicharString, URange range);

    // true with the top stack and flags ready; false with an error, or without one for a blank
    // range.
    [[nodiscard]] bool parse(UErrorPtr* error);
    UFemCardValueExpressionStackArray takeStack() { return topStack_.elements(); }
    const UFemCardValueExpression::Flags& flags() const { return flags_; }

private:
    enum class State { Start, AfterOperand, AfterOperator };

    bool atEnd() const { return position_ >= end_; }
    char16_t current() const;
    void skipSpaces();
    void skipName();
    UFemCardValueExpressionStack& currentStack() { return termStack_ ? *termStack_ : topStack_; }

    [[nodiscard]] bool readValue(UErrorPtr* error);
    [[nodiscard]] bool readMinorName(URange& minorRange, UErrorPtr* error);
    [[nodiscard]] bool readParenthesisBlock(UErrorPtr* error);
    [[nodiscard]] bool failCardValueFunction(UErrorPtr* error);
    [[nodiscard]] bool readMultiplicativeOperator(char16_t character, UErrorPtr* error);
    [[nodiscard]] bool completeOperand(UErrorPtr* error);
    [[nodiscard]] bool failCharacter(const char* format, quint64 location, UErrorPtr* error) const;
    UErrorPtr syntaxError(const QString& description, const QString& recoverySuggestion,
        quint64 errorLocation, quint64 errorLength) const;

    UUnicharStringPtr baseUnicharString_;
    URange range_;
    quint64 end_;
    quint64 position_;
    State state_ = State::Start;
    UFemCardValueExpressionStack topStack_;
    std::optional<UFemCardValueExpressionStack> termStack_;
    UFemCardValueExpression::Flags flags_;
};

// Whether a character may begin a value name (not a delimiter, not a digit).
bool UFemCardValueExpressionIsNameStartCharacter(char16_t character);
