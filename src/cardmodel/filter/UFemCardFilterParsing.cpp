#include "cardmodel/filter/UFemCardFilter.h"

#include "cardmodel/filter/UFemCardFilterFunctionBlock.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UUnicharString.h"

namespace {

constexpr char16_t Space = u' ';
constexpr char16_t Negation = u'!';
constexpr char16_t GroupOpener = u'(';
constexpr char16_t AndOperator = u'&';
constexpr char16_t OrOperator = u'|';

// The texts of one operator's misplacements.
struct OperatorTexts {
    const char* withoutBlockBefore;
    const char* withoutBlockBeforeSuggestion;
    const char* afterNegation;
    const char* afterOperator;
    const char* inOtherBlock;
};

const OperatorTexts andTexts {
    "'&'(AND) exists without a Card Filter block before.",
    "'&'(AND) is used like 'CardFilter1 & CardFilter2'.",
    "'&'(AND) exists just after '!'(NEGATION).",
    "'&'(AND) exists just after '&'(AND) or '|'(OR).",
    "'&'(AND) exists in '|'(OR) block.",
};

const OperatorTexts orTexts {
    "'|'(OR) exists without a Card Filter block before.",
    "'|'(OR) is used like 'CardFilter1 | CardFilter2'.",
    "'|'(OR) exists just after '!'(NEGATION).",
    "'|'(OR) exists just after '&'(AND) or '|'(OR).",
    "'|'(OR) exists in '&'(AND) block.",
};

const char* const samePrioritySuggestion
    = "'&'(AND) and '|'(OR) are same priority. You need to use parenthesis "
      "'(•••)' to express which expression is high priority.";

} // namespace

// One expression level: operands joined by one kind of operator. Kept as a class so that each
// character's rule reads on its own.
class UFemCardFilterLevelParser {
public:
    enum class Token { start, negation, operand, operatorToken };

    UFemCardFilterLevelParser(const UUnicharString& source, URange level)
        : source_(source)
        , level_(level)
        , end_(level.location + level.length)
    {
    }

    // Fills `node`; false without error for an empty level.
    bool parse(UFemCardFilter& node, UErrorPtr* error)
    {
        quint64 index = level_.location;
        while (index < end_) {
            if (UErrorPtr failure = step(index)) {
                UFemSetError(error, std::move(failure));
                return false;
            }
        }
        if (UErrorPtr failure = checkEnd()) {
            UFemSetError(error, std::move(failure));
            return false;
        }
        if (operands_.empty())
            return false;
        node.takeOverLevel(std::move(operands_), levelType_);
        return true;
    }

private:
    char16_t at(quint64 index) const { return source_.characterAtIndex(index); }
    UErrorPtr fail(quint64 location, quint64 length, const QString& description,
        const std::optional<QString>& suggestion = std::nullopt) const
    {
        return UFemCardFilterSyntaxErrorInLevel(
            source_, level_, { location, length }, description, suggestion);
    }

    UErrorPtr step(quint64& index)
    {
        const char16_t unit = at(index);
        if (unit == Space) {
            ++index;
            return nullptr;
        }
        if (unit == Negation)
            return readNegation(index);
        if (unit == GroupOpener)
            return readGroup(index);
        if (UFemIsCardFilterLetter(unit))
            return readFunctionBlock(index);
        if (unit == AndOperator)
            return readOperator(index, UFemCardFilterANDType, andTexts);
        if (unit == OrOperator)
            return readOperator(index, UFemCardFilterORType, orTexts);
        return fail(index, 1,
            ULocalizedFormattedString(
                "Character '%C' can not be used in Card Filter Expression here.", unit),
            ULocalizedFormattedString("Put an argument with special characters in \"•••\"."));
    }

    UErrorPtr readNegation(quint64& index)
    {
        if (last_ == Token::negation)
            return fail(
                index, 1, ULocalizedFormattedString("'!'(NEGATION) exists just after '!'."));
        if (last_ == Token::operand) {
            return fail(index, 1,
                ULocalizedFormattedString("'!'(NEGATION) exists just after a Card Filter block."),
                ULocalizedFormattedString(
                    "'!'(NEGATION) is used like '! CardFilter1'. You might need '&'(AND) "
                    "or '|'(OR) before '!'."));
        }
        last_ = Token::negation;
        ++index;
        return nullptr;
    }

    UErrorPtr readGroup(quint64& index)
    {
        if (last_ == Token::operand)
            return fail(index, 1,
                ULocalizedFormattedString("Character '(' exists just after a Card Filter block."));
        URange innerRange;
        UErrorPtr failure;
        const URange group = UFemReadParenthesisBlock(source_, index, end_, innerRange, &failure);
        if (failure)
            return failure;
        auto node = std::make_unique<UFemCardFilter>();
        const bool hasOperand = innerRange.location != UFemRangeNotFound
            && node->setCardFilterCoreWithBaseUnicharString(source_, innerRange, &failure);
        if (failure)
            return failure;
        if (!hasOperand)
            return fail(group.location, group.length, ULocalizedFormattedString("Empty in '()'."));
        appendOperand(std::move(node));
        return nullptr;
    }

    UErrorPtr readFunctionBlock(quint64& index)
    {
        if (last_ == Token::operand) {
            return fail(index, 1,
                ULocalizedFormattedString(
                    "Card Filter Function exists just after a Card Filter block."),
                ULocalizedFormattedString(
                    "You might need '&'(AND) or '|'(OR) between Card Filter blocks."));
        }
        UErrorPtr failure;
        auto node = UFemCardFilter::cardFilterFunctionCardFilterWithBaseUnicharString(
            source_, index, end_, level_, &failure);
        if (!node)
            return failure;
        appendOperand(std::move(node));
        return nullptr;
    }

    UErrorPtr readOperator(quint64& index, quint64 type, const OperatorTexts& texts)
    {
        if (last_ == Token::start) {
            return fail(index, 1, ULocalizedFormattedString(texts.withoutBlockBefore),
                ULocalizedFormattedString(texts.withoutBlockBeforeSuggestion));
        }
        if (last_ == Token::negation)
            return fail(index, 1, ULocalizedFormattedString(texts.afterNegation));
        if (last_ == Token::operatorToken)
            return fail(index, 1, ULocalizedFormattedString(texts.afterOperator));
        if (levelType_ != UFemCardFilterNoneType && levelType_ != type)
            return fail(index, 1, ULocalizedFormattedString(texts.inOtherBlock),
                ULocalizedFormattedString(samePrioritySuggestion));
        levelType_ = type;
        last_ = Token::operatorToken;
        ++index;
        return nullptr;
    }

    void appendOperand(std::unique_ptr<UFemCardFilter> node)
    {
        if (last_ == Token::negation)
            node->invertNegation();
        operands_.push_back(std::move(node));
        last_ = Token::operand;
    }

    UErrorPtr checkEnd() const
    {
        const quint64 lastCharacter = end_ - 1;
        if (last_ == Token::negation)
            return fail(lastCharacter, 1,
                ULocalizedFormattedString("Card Filter Expression ends with '!'(NEGATION)."));
        if (last_ == Token::operatorToken) {
            return fail(lastCharacter, 1,
                ULocalizedFormattedString("Card Filter Expression ends with '&'(AND) or '|'(OR)."));
        }
        return nullptr;
    }

    const UUnicharString& source_;
    const URange level_;
    const quint64 end_;
    Token last_ = Token::start;
    quint64 levelType_ = UFemCardFilterNoneType;
    std::vector<std::unique_ptr<UFemCardFilter>> operands_;
};

bool UFemCardFilter::setCardFilterCoreWithBaseUnicharString(
    const UUnicharString& source, URange cardFilterStringRange, UErrorPtr* error)
{
    resetNode();
    return UFemCardFilterLevelParser(source, cardFilterStringRange).parse(*this, error);
}

void UFemCardFilter::takeOverLevel(
    std::vector<std::unique_ptr<UFemCardFilter>> operands, quint64 levelType)
{
    if (operands.size() == 1 && levelType == UFemCardFilterNoneType) {
        // A group of one operand adds no node.
        UFemCardFilter& operand = *operands.front();
        isNegation_ = operand.isNegation_;
        cardFilterType_ = operand.cardFilterType_;
        children_ = std::move(operand.children_);
        argumentCardClass_ = operand.argumentCardClass_;
        argumentString_ = std::move(operand.argumentString_);
        argumentStringArray_ = std::move(operand.argumentStringArray_);
        argumentIntegerValue1_ = operand.argumentIntegerValue1_;
        return;
    }
    cardFilterType_ = levelType;
    children_ = std::move(operands);
}
