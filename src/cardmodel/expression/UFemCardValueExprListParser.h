#pragma once

#include "cardmodel/expression/UFemCardValueExprList.h"
#include "foundation/strings/UUnicharString.h"

// The reader of the list language: white space is space, tab, line feed and carriage return; a
// component is an optional "#" "(" filter ")" ":", expressions separated by ",", and ";".
// Brackets inside an expression are read whole, so "," and ";" inside them do not split it.
class UFemCardValueExprListParser {
public:
    explicit UFemCardValueExprListParser(const QString& text);

    // The components in text order; false with the error at the first syntax error.
    [[nodiscard]] bool parse(UFemCardValueExprList::ComponentArray& components, UErrorPtr* error);

private:
    bool atEnd() const { return position_ >= end_; }
    char16_t current() const { return text_.unicharPtr()[position_]; }
    void skipWhiteSpace();
    [[nodiscard]] bool readCardFilter(
        std::shared_ptr<const UFemCardFilter>& cardFilter, UErrorPtr* error);
    [[nodiscard]] bool readExpressions(
        CardValueExprListComponent::CardValueExpressionArray& expressions, UErrorPtr* error);
    // Reads one expression up to its "," or ";" and leaves the position on that terminator.
    [[nodiscard]] bool readExpressionText(URange& expressionRange, UErrorPtr* error);
    [[nodiscard]] bool skipToTerminatorAfterLineEnd(UErrorPtr* error);
    [[nodiscard]] bool fail(
        const QString& description, const QString& recoverySuggestion, UErrorPtr* error) const;

    const UUnicharString text_;
    const quint64 end_;
    quint64 position_ = 0;
};
