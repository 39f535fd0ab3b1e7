#pragma once

#include "cardmodel/card/UFemCardValueType.h"
#include "cardmodel/expression/UFemCardValueExpressionStack.h"
#include "foundation/UFemCardValueArraySize.h"
#include "foundation/containers/URange.h"
#include "foundation/errors/UError.h"
#include "foundation/strings/UUnicharString.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <span>

class UFemCard;
class UFemNumberFormatter;

// The kinds of node of a parsed card value expression.
enum UFemCardValueExpressionTypeValue : quint64 {
    UFemNoneCardValueExpressionType = 0,
    UFemAdditionSubtractionCardValueExpressionType = 1,
    UFemMultiplicationDivisionCardValueExpressionType = 2,
    UFemParenthesisBlockCardValueExpressionType = 3,
    UFemCardValueTypeCardValueExpressionType = 4,
    UFemConstValueCardValueExpressionType = 5,
    UFemCardValueFunctionCardValueExpressionType = 6,
};

class UFemCardValueExpression;
using UFemCardValueExpressionPtr = std::shared_ptr<UFemCardValueExpression>;

// A short arithmetic text over named card values ("Displacement",
// "(VonMisesStress - VonMisesStress@shellFace) / YoungsModulus"), parsed once into a tree of
// nodes and then evaluated for one card and case at a time. A value array holds points x section
// points x vector values doubles at (point * sectionPoints + sectionPoint) * vectorValues + k.
// After parsing the object is immutable, so several threads may evaluate it at once.
class UFemCardValueExpression {
public:
    UFemCardValueExpression() = default;
    UFemCardValueExpression(const UFemCardValueExpression&) = delete;
    UFemCardValueExpression& operator=(const UFemCardValueExpression&) = delete;
    ~UFemCardValueExpression();

    // A new expression parsed from this one's text; a parse error of the copy is dropped.
    UFemCardValueExpressionPtr copy() const;

    // Parses the text (trimmed of blanks and tabs at both ends). A blank text leaves the object
    // empty and gives false without an error.
    [[nodiscard]] bool setCardValueExpressionString(const QString& string, UErrorPtr* error);
    // The parser over a range of `baseUnicharString`; on success the node is an
    // addition/subtraction node. false without an error for an empty range.
    [[nodiscard]] bool setCardValueExpressionWithBaseUnicharString(
        UUnicharStringPtr baseUnicharString, URange cardValueExpressionStringRange,
        UErrorPtr* error);
    void reset();

    // The node constructors the parser uses.
    [[nodiscard]] static UFemCardValueExpressionPtr multiplicationDivisionTypeCardValueExpression(
        UUnicharStringPtr baseUnicharString,
        const UFemCardValueExpressionStackArray& multiplicationDivisionStackArray,
        UErrorPtr* error);
    [[nodiscard]] static UFemCardValueExpressionPtr parenthesisBlockTypeCardValueExpression(
        UUnicharStringPtr baseUnicharString, URange parenthesisBlockCardValueExpressionStringRange,
        URange insideParenthesisCardValueExpressionStringRange, UErrorPtr* error);
    // `minorCardValueLabelStringRange` of length 0 means no minor name.
    [[nodiscard]] static UFemCardValueExpressionPtr cardValueTypeCardValueExpression(
        UUnicharStringPtr baseUnicharString, URange majorCardValueLabelStringRange,
        URange minorCardValueLabelStringRange, UErrorPtr* error);
    // Card value functions are not supported: always fails.
    [[nodiscard]] static UFemCardValueExpressionPtr cardValueFunctionTypeCardValueExpression(
        UUnicharStringPtr baseUnicharString,
        const std::shared_ptr<const UFemCardValueExpression>& targetCardValueExpression,
        URange functionLabelStringRange, UErrorPtr* error);

    // The stored text; on inner nodes the text of the node's range; nullopt without a base text.
    std::optional<QString> cardValueExpressionString() const;
    const UUnicharStringPtr& baseUnicharString() const { return baseUnicharString_; }
    URange cardValueExpressionStringRange() const { return cardValueExpressionStringRange_; }
    quint64 cardValueExpressionType() const { return cardValueExpressionType_; }
    URange refStringRange1() const { return refStringRange1_; }
    URange refStringRange2() const { return refStringRange2_; }
    _UFemCardValueType cardValueType() const { return cardValueType_; }
    const UFemCardValueExpressionStackArray& cardValueExpressionStackArray() const
    {
        return cardValueExpressionStackArray_;
    }
    quint64 cardValueFunctionType() const { return cardValueFunctionType_; }
    quint64 numberOfVectorValues() const { return flags_.numberOfVectorValues; }
    bool doesMergePoints() const { return flags_.doesMergePoints; }
    bool doesMergeSectionPoints() const { return flags_.doesMergeSectionPoints; }
    bool doesMergeCases() const { return flags_.doesMergeCases; }
    bool doesMergeCards() const { return flags_.doesMergeCards; }
    bool isPointRelated() const { return flags_.isPointRelated; }
    bool isCaseRelated() const { return flags_.isCaseRelated; }
    bool isCalcResultRelated() const { return flags_.isCalcResultRelated; }
    const UErrorPtr& errorOnDecoding() const { return errorOnDecoding_; }

    // The formatter the values of every expression are shown with.
    UFemNumberFormatter numberFormatter() const;
    // One label per vector component.
    QStringList cardValueVectorValueLabelStringArray() const;

    // Evaluation: ask the size, provide that many doubles, ask the values with the same size.
    // Value nodes read the first card (and the first case); the card array must not be empty.
    [[nodiscard]] bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        std::span<UFemCard* const> cardArray, UErrorPtr* error) const;
    [[nodiscard]] bool getCardValueArraySize(
        _UFemCardValueArraySize* cardValueArraySize, UFemCard* card, UErrorPtr* error) const;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueArraySize cardValueArraySize,
        std::span<UFemCard* const> cardArray, std::span<UFemCard* const> caseCardArray,
        UErrorPtr* error) const;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueArraySize cardValueArraySize,
        UFemCard* card, std::span<UFemCard* const> caseCardArray, UErrorPtr* error) const;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueArraySize cardValueArraySize,
        std::span<UFemCard* const> cardArray, UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueArraySize cardValueArraySize,
        UFemCard* card, UFemCard* caseCard, UErrorPtr* error) const;

    // Merge flags hold while every operand has them, related flags when any operand has one;
    // the vector count is 1 or the one count other than 1 of all operands.
    struct Flags {
        bool doesMergePoints = true;
        bool doesMergeSectionPoints = true;
        bool doesMergeCases = true;
        bool doesMergeCards = true;
        bool isPointRelated = false;
        bool isCaseRelated = false;
        bool isCalcResultRelated = false;
        quint64 numberOfVectorValues = 1;

        // false when the operand's vector count does not fit.
        bool fold(const UFemCardValueExpression& operand);
    };

private:
    UErrorPtr decodingError(UErrorPtr error);
    QString nodeText() const;
    void setParsedNode(quint64 type, UFemCardValueExpressionStackArray stack, const Flags& flags);

    [[nodiscard]] bool getCompoundCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        std::span<UFemCard* const> cardArray, UErrorPtr* error) const;
    [[nodiscard]] bool getValueTypeCardValueArraySize(
        _UFemCardValueArraySize* cardValueArraySize, const UFemCard& card, UErrorPtr* error) const;
    UErrorPtr checkBeforeGettingValue(
        std::span<UFemCard* const> cardArray, std::span<UFemCard* const> caseCardArray) const;
    [[nodiscard]] bool getValueTypeCardValue(double* cardValue,
        _UFemCardValueArraySize cardValueArraySize, const UFemCard& card,
        std::span<UFemCard* const> caseCardArray, UErrorPtr* error) const;
    [[nodiscard]] bool getCompoundCardValue(double* cardValue,
        _UFemCardValueArraySize cardValueArraySize, std::span<UFemCard* const> cardArray,
        std::span<UFemCard* const> caseCardArray, UErrorPtr* error) const;

    std::optional<QString> cardValueExpressionString_;
    UUnicharStringPtr baseUnicharString_;
    URange cardValueExpressionStringRange_;
    quint64 cardValueExpressionType_ = UFemNoneCardValueExpressionType;
    URange refStringRange1_;
    URange refStringRange2_;
    _UFemCardValueType cardValueType_;
    UFemCardValueExpressionStackArray cardValueExpressionStackArray_;
    quint64 cardValueFunctionType_ = 0;
    Flags flags_ { false, false, false, false, false, false, false, 0 };
    UErrorPtr errorOnDecoding_;
};
