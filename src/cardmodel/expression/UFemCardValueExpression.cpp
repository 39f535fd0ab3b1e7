#include "cardmodel/expression/UFemCardValueExpression.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/expression/UFemCardValueExpressionParser.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UStringAddition.h"

namespace {

UErrorPtr multiplicationSizeError(const UUnicharString& base, URange operand)
{
    const QString excerpt = UFemModelTextExcerpt(base, operand.location,
        operand.location + operand.length, operand.location, operand.length);
    return UFemCardValueExpressionCardValueArraySizeNotMatchError_withDescription(
        ULocalizedFormattedString("Number of vector values of Card Value Expressions in "
                                  "multiplication/division expression does not match."),
        excerpt);
}

} // namespace

bool UFemCardValueExpression::Flags::fold(const UFemCardValueExpression& operand)
{
    doesMergePoints = doesMergePoints && operand.doesMergePoints();
    doesMergeSectionPoints = doesMergeSectionPoints && operand.doesMergeSectionPoints();
    doesMergeCases = doesMergeCases && operand.doesMergeCases();
    doesMergeCards = doesMergeCards && operand.doesMergeCards();
    isPointRelated = isPointRelated || operand.isPointRelated();
    isCaseRelated = isCaseRelated || operand.isCaseRelated();
    isCalcResultRelated = isCalcResultRelated || operand.isCalcResultRelated();
    const quint64 count = operand.numberOfVectorValues();
    if (count == 1)
        return true;
    if (numberOfVectorValues == 1)
        numberOfVectorValues = count;
    return numberOfVectorValues == count;
}

UFemCardValueExpression::~UFemCardValueExpression() = default;

UFemCardValueExpressionPtr UFemCardValueExpression::copy() const
{
    auto copied = std::make_shared<UFemCardValueExpression>();
    if (const std::optional<QString> text = cardValueExpressionString()) {
        UErrorPtr dropped;
        // The text parsed when the original took it, so it parses again.
        static_cast<void>(copied->setCardValueExpressionString(*text, &dropped));
    }
    return copied;
}

void UFemCardValueExpression::reset()
{
    cardValueExpressionString_.reset();
    baseUnicharString_.reset();
    cardValueExpressionStringRange_ = {};
    cardValueExpressionType_ = UFemNoneCardValueExpressionType;
    refStringRange1_ = {};
    refStringRange2_ = {};
    cardValueType_ = {};
    cardValueExpressionStackArray_.clear();
    cardValueFunctionType_ = 0;
    flags_ = { false, false, false, false, false, false, false, 0 };
    errorOnDecoding_.reset();
}

bool UFemCardValueExpression::setCardValueExpressionString(const QString& string, UErrorPtr* error)
{
    reset();
    const std::optional<QString> trimmed = UTrimmedStringOrNil(string);
    if (!trimmed)
        return false;
    cardValueExpressionString_ = *trimmed;
    UUnicharStringPtr base = UUnicharString::unicharStringWithString(string);
    const URange whole { 0, base->length() };
    UErrorPtr parseError;
    if (setCardValueExpressionWithBaseUnicharString(std::move(base), whole, &parseError))
        return true;
    if (parseError)
        UFemSetError(error,
            UFemCardValueExpressionStringSyntaxError_withBaseError(decodingError(parseError)));
    return false;
}

bool UFemCardValueExpression::setCardValueExpressionWithBaseUnicharString(
    UUnicharStringPtr baseUnicharString, URange cardValueExpressionStringRange, UErrorPtr* error)
{
    if (!baseUnicharString
        || !URangeIsWithin(cardValueExpressionStringRange, baseUnicharString->length()))
        URaiseRangeException();
    cardValueExpressionType_ = UFemNoneCardValueExpressionType;
    baseUnicharString_ = baseUnicharString;
    cardValueExpressionStringRange_ = cardValueExpressionStringRange;
    UFemCardValueExpressionParser parser(
        std::move(baseUnicharString), cardValueExpressionStringRange);
    UErrorPtr parseError;
    if (!parser.parse(&parseError)) {
        if (parseError)
            UFemSetError(error, decodingError(parseError));
        return false;
    }
    setParsedNode(
        UFemAdditionSubtractionCardValueExpressionType, parser.takeStack(), parser.flags());
    return true;
}

UErrorPtr UFemCardValueExpression::decodingError(UErrorPtr error)
{
    errorOnDecoding_ = error;
    return error;
}

void UFemCardValueExpression::setParsedNode(
    quint64 type, UFemCardValueExpressionStackArray stack, const Flags& flags)
{
    cardValueExpressionType_ = type;
    cardValueExpressionStackArray_ = std::move(stack);
    flags_ = flags;
}

UFemCardValueExpressionPtr UFemCardValueExpression::multiplicationDivisionTypeCardValueExpression(
    UUnicharStringPtr baseUnicharString,
    const UFemCardValueExpressionStackArray& multiplicationDivisionStackArray, UErrorPtr* error)
{
    if (UErrorPtr failure = UFemCardValueExpressionStack::checkMultiplicationDivisionStack(
            *baseUnicharString, multiplicationDivisionStackArray)) {
        UFemSetError(error, failure);
        return nullptr;
    }
    Flags flags;
    for (const UFemCardValueExpressionStackElement& element : multiplicationDivisionStackArray) {
        if (element.isOperand() && !flags.fold(*element.operand)) {
            UFemSetError(error,
                multiplicationSizeError(
                    *baseUnicharString, element.operand->cardValueExpressionStringRange()));
            return nullptr;
        }
    }
    const URange first
        = multiplicationDivisionStackArray.front().operand->cardValueExpressionStringRange();
    const URange last
        = multiplicationDivisionStackArray.back().operand->cardValueExpressionStringRange();
    auto node = std::make_shared<UFemCardValueExpression>();
    node->baseUnicharString_ = std::move(baseUnicharString);
    node->cardValueExpressionStringRange_
        = { first.location, last.location + last.length - first.location };
    node->setParsedNode(
        UFemMultiplicationDivisionCardValueExpressionType, multiplicationDivisionStackArray, flags);
    return node;
}

UFemCardValueExpressionPtr UFemCardValueExpression::parenthesisBlockTypeCardValueExpression(
    UUnicharStringPtr baseUnicharString, URange parenthesisBlockCardValueExpressionStringRange,
    URange insideParenthesisCardValueExpressionStringRange, UErrorPtr* error)
{
    const URange block = parenthesisBlockCardValueExpressionStringRange;
    const URange inside = insideParenthesisCardValueExpressionStringRange;
    auto node = std::make_shared<UFemCardValueExpression>();
    UErrorPtr insideError;
    const bool hasInside = inside.length > 0 && URangeIsWithin(inside, baseUnicharString->length());
    if (!hasInside
        || !node->setCardValueExpressionWithBaseUnicharString(
            baseUnicharString, inside, &insideError)) {
        UFemSetError(error,
            insideError ? insideError
                        : UFemCardValueExpressionStringSyntaxError_withDescription(
                            ULocalizedFormattedString(
                                "No Card Value Expression exists in parenthesis '( )'."),
                            QString(),
                            UFemModelTextExcerpt(*baseUnicharString, 0, baseUnicharString->length(),
                                block.location, block.length)));
        return nullptr;
    }
    node->cardValueExpressionType_ = UFemParenthesisBlockCardValueExpressionType;
    node->cardValueExpressionStringRange_ = block;
    node->refStringRange1_ = inside;
    return node;
}

UFemCardValueExpressionPtr UFemCardValueExpression::cardValueTypeCardValueExpression(
    UUnicharStringPtr baseUnicharString, URange majorCardValueLabelStringRange,
    URange minorCardValueLabelStringRange, UErrorPtr* error)
{
    const URange major = majorCardValueLabelStringRange;
    const URange minor = minorCardValueLabelStringRange;
    const URange node { major.location,
        (minor.length > 0 ? minor.location + minor.length : major.location + major.length)
            - major.location };
    const auto excerpt = [&](URange name) {
        return UFemModelTextExcerpt(*baseUnicharString, node.location, node.location + node.length,
            name.location, name.length);
    };
    UFemCardClassManager& registry = UFemCardClassManager::sharedCardClassManager();
    const QString majorName = baseUnicharString->substringWithRange(major);
    _UFemCardValueType type { registry.majorCardValueTypeWithMajorCardValueTypeString(majorName),
        0 };
    if (type.majorCardValueType == 0) {
        UFemSetError(error,
            UFemCardValueExpressionUnknownMajorCardValueTypeError_withMajorCardValueTypeString(
                majorName, excerpt(major)));
        return nullptr;
    }
    if (minor.length > 0) {
        const QString minorName = baseUnicharString->substringWithRange(minor);
        type.minorCardValueType
            = registry.minorCardValueTypeWithMinorCardValueTypeString(minorName);
        if (type.minorCardValueType == 0) {
            UFemSetError(error,
                UFemCardValueExpressionUnknownMinorCardValueTypeError_withMinorCardValueTypeString(
                    minorName, excerpt(minor)));
            return nullptr;
        }
    }
    auto value = std::make_shared<UFemCardValueExpression>();
    value->baseUnicharString_ = std::move(baseUnicharString);
    value->cardValueExpressionStringRange_ = node;
    value->cardValueExpressionType_ = UFemCardValueTypeCardValueExpressionType;
    value->refStringRange1_ = major;
    value->refStringRange2_ = minor.length > 0 ? minor : URange {};
    value->cardValueType_ = type;
    value->flags_ = { false, false, false, false, UFemCardValueTypeIsPointRelatedFlag(type),
        UFemCardValueTypeIsCaseRelatedFlag(type), UFemCardValueTypeIsCalcResultRelatedFlag(type),
        UFemCardValueTypeNumberOfVectorValues(type) };
    return value;
}

UFemCardValueExpressionPtr UFemCardValueExpression::cardValueFunctionTypeCardValueExpression(
    UUnicharStringPtr, const std::shared_ptr<const UFemCardValueExpression>&, URange,
    UErrorPtr* error)
{
    UFemSetError(error,
        UFemFewChanceError_withDescription(
            ULocalizedFormattedString("Card Value Function is not supported, yet."), QString()));
    return nullptr;
}

std::optional<QString> UFemCardValueExpression::cardValueExpressionString() const
{
    if (cardValueExpressionString_)
        return cardValueExpressionString_;
    if (!baseUnicharString_)
        return std::nullopt;
    return baseUnicharString_->substringWithRange(cardValueExpressionStringRange_);
}

QString UFemCardValueExpression::nodeText() const
{
    return cardValueExpressionString().value_or(QString());
}

UFemNumberFormatter UFemCardValueExpression::numberFormatter() const
{
    return UFemNumberFormatter::defaultResultTableNumberFormatter();
}

QStringList UFemCardValueExpression::cardValueVectorValueLabelStringArray() const
{
    const UFemCardClassManager& registry = UFemCardClassManager::sharedCardClassManager();
    if (cardValueExpressionType_ == UFemCardValueTypeCardValueExpressionType)
        return registry.cardValueVectorValueLabelStringArrayWithCardValueType(cardValueType_);
    const UFemCardValueExpressionStackArray& stack = cardValueExpressionStackArray_;
    const auto isValue = [](const UFemCardValueExpressionStackElement& element) {
        return element.isOperand()
            && element.operand->cardValueExpressionType()
            == UFemCardValueTypeCardValueExpressionType;
    };
    if (cardValueExpressionType_ == UFemAdditionSubtractionCardValueExpressionType) {
        if (stack.size() == 1 && isValue(stack[0]))
            return registry.cardValueVectorValueLabelStringArrayWithCardValueType(
                stack[0].operand->cardValueType());
        if (stack.size() == 2 && stack[0].isAdditive() && isValue(stack[1])) {
            QStringList labels;
            for (const QString& label :
                registry.cardValueVectorValueLabelStringArrayWithCardValueType(
                    stack[1].operand->cardValueType()))
                labels.append(
                    UFormattedString(stack[0].operatorCharacter == u'+' ? "+%@" : "-%@", label));
            return labels;
        }
    }
    if (numberOfVectorValues() == 1)
        return { nodeText() };
    QStringList labels;
    for (quint64 k = 1; k <= numberOfVectorValues(); ++k)
        labels.append(UFormattedString("[%@]-%lu", nodeText(), k));
    return labels;
}
