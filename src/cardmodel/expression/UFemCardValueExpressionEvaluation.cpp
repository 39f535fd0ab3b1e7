// Sizes and values of card value expressions: value nodes ask the first card, compound nodes
// broadcast their operands per axis and fold them into the caller's buffer.
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"

#include <algorithm>
#include <memory>

namespace {

quint64 numberOfValues(_UFemCardValueArraySize size)
{
    return quint64(size.numberOfPoints) * size.numberOfSectionPoints * size.numberOfVectorValues;
}

// Null, special and error cards have no name to report.
QString cardNameForError(const UFemCard& card)
{
    const qint32 type = card.cardType();
    if (type == UFemNullCardType || type == UFemSpecialCardType || type == UFemErrorCardType)
        return QString();
    return card.cardNameString().value_or(QString());
}

UErrorPtr notSupportedError(const UFemCard& card, _UFemCardValueType cardValueType)
{
    return UFemCardNotSupportCardValueTypeError_withCardNameString(cardNameForError(card),
        UFemCardClassManager::sharedCardClassManager().cardValueTypeStringWithCardValueType(
            cardValueType));
}

UErrorPtr noCardError()
{
    return UFemUnexpectedError_withDescription(
        ULocalizedFormattedString("No card is given to get value with Card Value Expression."));
}

// Broadcasting on one axis: a count of 1 fits any other; two counts other than 1 must agree.
bool broadcast(quint16& running, quint16 operand)
{
    if (operand == 1)
        return true;
    if (running == 1)
        running = operand;
    return running == operand;
}

// Whether an operand of size `operand` can be folded into a node of size `node`.
bool fitsInto(_UFemCardValueArraySize operand, _UFemCardValueArraySize node)
{
    const auto fits = [](quint16 a, quint16 b) { return a == 1 || a == b; };
    return fits(operand.numberOfPoints, node.numberOfPoints)
        && fits(operand.numberOfSectionPoints, node.numberOfSectionPoints)
        && fits(operand.numberOfVectorValues, node.numberOfVectorValues);
}

// out[(p*S+s)*V+k] = apply(out[...], in[(p'*S'+s')*V'+k']), where an operand axis of count 1 is
// read at index 0 for every index of the node.
template <typename Apply>
void foldOperand(double* out, _UFemCardValueArraySize size, const double* in,
    _UFemCardValueArraySize inSize, Apply apply)
{
    const quint64 sectionPoints = size.numberOfSectionPoints;
    const quint64 vectorValues = size.numberOfVectorValues;
    const quint64 inSectionPoints = inSize.numberOfSectionPoints;
    const quint64 inVectorValues = inSize.numberOfVectorValues;
    for (quint64 p = 0; p < size.numberOfPoints; ++p) {
        const quint64 inP = inSize.numberOfPoints == 1 ? 0 : p;
        for (quint64 s = 0; s < sectionPoints; ++s) {
            const quint64 inS = inSectionPoints == 1 ? 0 : s;
            const double* source = in + (inP * inSectionPoints + inS) * inVectorValues;
            double* target = out + (p * sectionPoints + s) * vectorValues;
            if (inVectorValues == 1) {
                for (quint64 k = 0; k < vectorValues; ++k)
                    target[k] = apply(target[k], source[0]);
            } else {
                for (quint64 k = 0; k < vectorValues; ++k)
                    target[k] = apply(target[k], source[k]);
            }
        }
    }
}

void foldWithOperator(double* out, _UFemCardValueArraySize size, const double* in,
    _UFemCardValueArraySize inSize, char16_t operation)
{
    switch (operation) {
    case u'+':
        return foldOperand(out, size, in, inSize, [](double a, double b) { return a + b; });
    case u'-':
        return foldOperand(out, size, in, inSize, [](double a, double b) { return a - b; });
    case u'*':
        return foldOperand(out, size, in, inSize, [](double a, double b) { return a * b; });
    case u'/':
        return foldOperand(out, size, in, inSize, [](double a, double b) { return a / b; });
    default:
        return foldOperand(out, size, in, inSize, [](double, double b) { return b; });
    }
}

} // namespace

bool UFemCardValueExpression::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, UFemCard* card, UErrorPtr* error) const
{
    UFemCard* const cardArray[] = { card };
    return getCardValueArraySize(cardValueArraySize,
        card ? std::span<UFemCard* const>(cardArray) : std::span<UFemCard* const>(), error);
}

bool UFemCardValueExpression::getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
    std::span<UFemCard* const> cardArray, UErrorPtr* error) const
{
    *cardValueArraySize = {};
    if (cardArray.empty() || cardArray.front() == nullptr) {
        UFemSetError(error, noCardError());
        return false;
    }
    switch (cardValueExpressionType_) {
    case UFemCardValueTypeCardValueExpressionType:
        return getValueTypeCardValueArraySize(cardValueArraySize, *cardArray.front(), error);
    case UFemAdditionSubtractionCardValueExpressionType:
    case UFemMultiplicationDivisionCardValueExpressionType:
    case UFemParenthesisBlockCardValueExpressionType:
        return getCompoundCardValueArraySize(cardValueArraySize, cardArray, error);
    case UFemConstValueCardValueExpressionType:
    case UFemCardValueFunctionCardValueExpressionType:
        UFemSetError(error,
            UFemCardValueExpressionGettingValueError_withDescription(
                ULocalizedFormattedString("( Card Value Expression ) Const Value Type and Card "
                                          "Value Function are not supported yet."),
                QString(),
                UFemModelTextExcerpt(*baseUnicharString_, cardValueExpressionStringRange_.location,
                    cardValueExpressionStringRange_.location
                        + cardValueExpressionStringRange_.length,
                    cardValueExpressionStringRange_.location,
                    cardValueExpressionStringRange_.length)));
        return false;
    default:
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                ULocalizedFormattedString("Unexpected CardValueExpression type.")));
        return false;
    }
}

bool UFemCardValueExpression::getValueTypeCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, const UFemCard& card, UErrorPtr* error) const
{
    if (card.getCardValueArraySize(cardValueArraySize, cardValueType_))
        return true;
    *cardValueArraySize = {};
    UFemSetError(error, notSupportedError(card, cardValueType_));
    return false;
}

bool UFemCardValueExpression::getCompoundCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, std::span<UFemCard* const> cardArray,
    UErrorPtr* error) const
{
    _UFemCardValueArraySize size { 0, 1, 1, 1 };
    for (const UFemCardValueExpressionStackElement& element : cardValueExpressionStackArray_) {
        if (!element.isOperand())
            continue;
        _UFemCardValueArraySize operandSize;
        if (!element.operand->getCardValueArraySize(&operandSize, cardArray, error))
            return false;
        const char* mismatch = nullptr;
        if (!broadcast(size.numberOfPoints, operandSize.numberOfPoints))
            mismatch
                = "Number of points of Card Value Expressions in %@ expression does not match.";
        else if (!broadcast(size.numberOfSectionPoints, operandSize.numberOfSectionPoints))
            mismatch = "Number of section points of Card Value Expressions in %@ expression does "
                       "not match.";
        else if (!broadcast(size.numberOfVectorValues, operandSize.numberOfVectorValues))
            mismatch = "'Number of Vector Values' of Card Value Expressions in %@ expression does "
                       "not match.";
        if (mismatch) {
            const QString word = ULocalizedString(
                cardValueExpressionType_ == UFemMultiplicationDivisionCardValueExpressionType
                    ? "multiplication/division"
                    : "addition/subtraction");
            const URange node = cardValueExpressionStringRange_;
            const URange operand = element.operand->cardValueExpressionStringRange();
            UFemSetError(error,
                UFemCardValueExpressionGettingValueError_withDescription(
                    ULocalizedFormattedString(mismatch, word), QString(),
                    UFemModelTextExcerpt(*baseUnicharString_, node.location,
                        node.location + node.length, operand.location, operand.length)));
            return false;
        }
    }
    *cardValueArraySize = size;
    return true;
}

bool UFemCardValueExpression::getCardValue(double* cardValue,
    _UFemCardValueArraySize cardValueArraySize, UFemCard* card,
    std::span<UFemCard* const> caseCardArray, UErrorPtr* error) const
{
    UFemCard* const cardArray[] = { card };
    return getCardValue(cardValue, cardValueArraySize,
        card ? std::span<UFemCard* const>(cardArray) : std::span<UFemCard* const>(), caseCardArray,
        error);
}

bool UFemCardValueExpression::getCardValue(double* cardValue,
    _UFemCardValueArraySize cardValueArraySize, std::span<UFemCard* const> cardArray,
    UFemCard* caseCard, UErrorPtr* error) const
{
    UFemCard* const caseCardArray[] = { caseCard };
    return getCardValue(cardValue, cardValueArraySize, cardArray,
        caseCard ? std::span<UFemCard* const>(caseCardArray) : std::span<UFemCard* const>(), error);
}

bool UFemCardValueExpression::getCardValue(double* cardValue,
    _UFemCardValueArraySize cardValueArraySize, UFemCard* card, UFemCard* caseCard,
    UErrorPtr* error) const
{
    UFemCard* const cardArray[] = { card };
    return getCardValue(cardValue, cardValueArraySize,
        card ? std::span<UFemCard* const>(cardArray) : std::span<UFemCard* const>(), caseCard,
        error);
}

bool UFemCardValueExpression::getCardValue(double* cardValue,
    _UFemCardValueArraySize cardValueArraySize, std::span<UFemCard* const> cardArray,
    std::span<UFemCard* const> caseCardArray, UErrorPtr* error) const
{
    if (cardArray.empty() || cardArray.front() == nullptr) {
        UFemSetError(error, noCardError());
        return false;
    }
    if (UErrorPtr failure = checkBeforeGettingValue(cardArray, caseCardArray)) {
        UFemSetError(error, failure);
        return false;
    }
    switch (cardValueExpressionType_) {
    case UFemCardValueTypeCardValueExpressionType:
        return getValueTypeCardValue(
            cardValue, cardValueArraySize, *cardArray.front(), caseCardArray, error);
    case UFemAdditionSubtractionCardValueExpressionType:
    case UFemMultiplicationDivisionCardValueExpressionType:
    case UFemParenthesisBlockCardValueExpressionType:
        return getCompoundCardValue(cardValue, cardValueArraySize, cardArray, caseCardArray, error);
    case UFemConstValueCardValueExpressionType:
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                ULocalizedString("ConstValue is not implemented yet.")));
        return false;
    case UFemCardValueFunctionCardValueExpressionType:
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                ULocalizedString("CardValueFunction is not implemented yet.")));
        return false;
    default:
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                ULocalizedString("Unexpected CardValueExpressionType.")));
        return false;
    }
}

UErrorPtr UFemCardValueExpression::checkBeforeGettingValue(
    std::span<UFemCard* const> cardArray, std::span<UFemCard* const> caseCardArray) const
{
    if (isCalcResultRelated()) {
        const UFemCardDataController* dataController = cardArray.front()->dataController();
        if (dataController == nullptr || !dataController->hasResultData())
            return UFemCardValueExpressionResultDataNotExistError_withCardValueExpressionString(
                nodeText());
    }
    if (isCaseRelated() && caseCardArray.empty())
        return UFemCardValueExpressionNoCaseSelectedError_withCardValueExpressionString(nodeText());
    if (!doesMergeCards() && cardArray.size() > 1)
        return UFemCardValueExpressionSeveralCardSelectedError_withCardValueExpressionString(
            nodeText());
    if (!doesMergeCases() && caseCardArray.size() > 1)
        return UFemCardValueExpressionSeveralCaseSelectedError_withCaseValueExpressionString(
            nodeText());
    return nullptr;
}

bool UFemCardValueExpression::getValueTypeCardValue(double* cardValue,
    _UFemCardValueArraySize cardValueArraySize, const UFemCard& card,
    std::span<UFemCard* const> caseCardArray, UErrorPtr* error) const
{
    _UFemCardValueArraySize size;
    if (!card.getCardValueArraySize(&size, cardValueType_)) {
        UFemSetError(error, notSupportedError(card, cardValueType_));
        return false;
    }
    if (size.numberOfPoints != cardValueArraySize.numberOfPoints
        || size.numberOfSectionPoints != cardValueArraySize.numberOfSectionPoints
        || size.numberOfVectorValues != cardValueArraySize.numberOfVectorValues) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(ULocalizedString(
                "CardValueArraySize doesn't match. ( CardValueTypeCardValueExpression )")));
        return false;
    }
    const UFemCard* caseCard = caseCardArray.empty() ? nullptr : caseCardArray.front();
    return card.getCardValue(cardValue, cardValueType_, caseCard, error);
}

bool UFemCardValueExpression::getCompoundCardValue(double* cardValue,
    _UFemCardValueArraySize cardValueArraySize, std::span<UFemCard* const> cardArray,
    std::span<UFemCard* const> caseCardArray, UErrorPtr* error) const
{
    const quint64 count = numberOfValues(cardValueArraySize);
    const bool isProduct
        = cardValueExpressionType_ == UFemMultiplicationDivisionCardValueExpressionType;
    std::fill(cardValue, cardValue + count, 0.0);
    // One temporary buffer per call, never shared: several threads may evaluate one expression.
    const std::unique_ptr<double[]> operandValue
        = std::make_unique_for_overwrite<double[]>(std::max<quint64>(count, 1));
    char16_t operation = isProduct ? char16_t(0) : u'+';
    for (const UFemCardValueExpressionStackElement& element : cardValueExpressionStackArray_) {
        if (!element.isOperand()) {
            operation = element.operatorCharacter;
            continue;
        }
        _UFemCardValueArraySize operandSize;
        if (!element.operand->getCardValueArraySize(&operandSize, cardArray, error))
            return false;
        if (!fitsInto(operandSize, cardValueArraySize)) {
            UFemSetError(error,
                UFemUnexpectedError_withDescription(
                    ULocalizedString("CardValueArraySize doesn't match. ( CardValueExpression )")));
            return false;
        }
        if (!element.operand->getCardValue(
                operandValue.get(), operandSize, cardArray, caseCardArray, error))
            return false;
        foldWithOperator(cardValue, cardValueArraySize, operandValue.get(), operandSize, operation);
    }
    return true;
}
