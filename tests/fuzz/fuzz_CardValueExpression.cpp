// Parses arbitrary UTF-16 text as a card value expression and, when it parses, checks the tree
// (every node inside the text, operands and operators alternating, a copy parses alike) and
// evaluates it on a card that answers every value type with a shape taken from the type, so that
// broadcasting and folding run over buffers exactly as large as the sizes say.
#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "cardmodel/expression/UFemCardValueExpression.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

class ResultModel : public UFemCardDataController {
public:
    UFemCardNameTable& cardNameTable() override { return names_; }
    quint64 numberOfCards() const override { return 0; }
    UFemCard* cardAtRowIndex(quint64) const override { return nullptr; }
    const UFemClipboardCardValueManager* clipboardCardValueManager() const override
    {
        return nullptr;
    }
    bool hasResultData() const override { return true; }

private:
    UFemCardNameTable names_;
};

// Answers every type: 1 or 2 points, 1 to 3 section points, the type's own vector count.
class AnsweringCard : public NullCard {
public:
    using NullCard::NullCard;

    bool getCardValueArraySize(
        _UFemCardValueArraySize* size, _UFemCardValueType type) const override
    {
        const quint32 seed = type.majorCardValueType >> 16 ^ type.minorCardValueType;
        *size = { 0, quint16(1 + seed % 2), quint16(1 + seed % 3),
            quint16(UFemCardValueTypeNumberOfVectorValues(type)) };
        return true;
    }
    bool getCardValue(
        double* value, _UFemCardValueType type, const UFemCard*, UErrorPtr*) const override
    {
        _UFemCardValueArraySize size;
        getCardValueArraySize(&size, type);
        const quint64 count
            = quint64(size.numberOfPoints) * size.numberOfSectionPoints * size.numberOfVectorValues;
        for (quint64 i = 0; i < count; ++i)
            value[i] = double(i + 1);
        return true;
    }
};

void checkTree(const UFemCardValueExpression& node, quint64 length)
{
    const URange range = node.cardValueExpressionStringRange();
    require(URangeIsWithin(range, length));
    const UFemCardValueExpressionStackArray& stack = node.cardValueExpressionStackArray();
    bool expectsOperand = true;
    for (std::size_t i = 0; i < stack.size(); ++i) {
        if (stack[i].isOperand()) {
            require(expectsOperand);
            checkTree(*stack[i].operand, length);
        } else {
            // Only an addition node may open with a sign.
            require(!expectsOperand || (i == 0 && stack[i].isAdditive()));
        }
        expectsOperand = !stack[i].isOperand();
    }
    require(!expectsOperand || stack.empty());
}

void evaluate(const UFemCardValueExpression& expression)
{
    static ResultModel model;
    AnsweringCard card(&model);
    UFemCard* const cards[] = { &card };
    _UFemCardValueArraySize size;
    UErrorPtr error;
    if (!expression.getCardValueArraySize(&size, cards, &error)) {
        require(error != nullptr);
        return;
    }
    require(size.numberOfVectorValues == expression.numberOfVectorValues());
    std::vector<double> values(
        quint64(size.numberOfPoints) * size.numberOfSectionPoints * size.numberOfVectorValues);
    require(expression.getCardValue(values.data(), size, cards, cards, &error));
    require(quint64(expression.cardValueVectorValueLabelStringArray().size()) >= 1
        || expression.numberOfVectorValues() == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size_t(text.size()) * 2);
    UFemCardValueExpression expression;
    UErrorPtr error;
    if (!expression.setCardValueExpressionString(text, &error))
        return 0;
    require(!error);
    require(expression.cardValueExpressionType() == UFemAdditionSubtractionCardValueExpressionType);
    checkTree(expression, quint64(text.size()));
    const UFemCardValueExpressionPtr copy = expression.copy();
    require(copy->cardValueExpressionType() == expression.cardValueExpressionType());
    require(copy->cardValueExpressionStackArray().size()
        == expression.cardValueExpressionStackArray().size());
    evaluate(expression);
    return 0;
}
