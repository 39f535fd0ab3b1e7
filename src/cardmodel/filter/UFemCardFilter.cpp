#include "cardmodel/filter/UFemCardFilter.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardAbst.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "foundation/UFemFolderItemKeys.h"
#include "foundation/strings/UStringAddition.h"
#include "foundation/strings/UUnicharString.h"

#include <QVariantMap>

namespace {

// The one Case card a name gives, or nullptr.
UFemCard* caseCardWithCardNameString(UFemCard& card, const QString& caseNameString)
{
    UFemCardDataController* dataController = card.dataController();
    if (dataController == nullptr)
        return nullptr;
    const UFemCardNameTable& cardNameTable = dataController->cardNameTable();
    UErrorPtr lookupError;
    const std::vector<UFemCard*> cards
        = cardNameTable.cardArrayWithCardNameString(caseNameString, &lookupError);
    if (lookupError || cards.size() != 1 || cards.front()->cardType() != UFemCaseCardType)
        return nullptr;
    return cards.front();
}

// Literal and case-sensitive; an empty text matches nothing.
bool containsSearchText(const QString& string, const QString& searchText)
{
    return !searchText.isEmpty() && string.contains(searchText, Qt::CaseSensitive);
}

QVariantMap folderItem(const QString& name, int orderHint, const QString& cardFilterString)
{
    return {
        { UFemFolderItemNameStringPreferencesKey, name },
        { UFemFolderItemOrderHintNumberPreferencesKey, orderHint },
        { UFemFolderItemObjectPreferencesKey, cardFilterString },
    };
}

} // namespace

UFemCardFilter::~UFemCardFilter()
{
    reset();
}

UFemCardFilter::UFemCardFilter(const UFemCardFilter& other)
{
    *this = other;
}

UFemCardFilter& UFemCardFilter::operator=(const UFemCardFilter& other)
{
    if (this == &other)
        return *this;
    reset();
    if (other.cardFilterString_) {
        UErrorPtr ignored;
        // The other filter took the string, so it parses again.
        static_cast<void>(setCardFilterString(other.cardFilterString_, &ignored));
    }
    return *this;
}

void UFemCardFilter::reset()
{
    cardFilterString_.reset();
    cardFilterError_.reset();
    resetNode();
}

void UFemCardFilter::resetNode()
{
    isNegation_ = false;
    cardFilterType_ = UFemCardFilterNoneType;
    children_.clear();
    argumentCardClass_ = nullptr;
    argumentString_.clear();
    argumentStringArray_.clear();
    argumentIntegerValue1_ = 0;
}

bool UFemCardFilter::setCardFilterString(
    const std::optional<QString>& cardFilterString, UErrorPtr* error)
{
    reset();
    const std::optional<QString> trimmed
        = cardFilterString ? UTrimmedStringOrNil(*cardFilterString) : std::nullopt;
    if (!trimmed)
        return false;
    cardFilterString_ = trimmed;
    const UUnicharString source(*trimmed);
    UErrorPtr failure;
    if (setCardFilterCoreWithBaseUnicharString(source, { 0, source.length() }, &failure))
        return true;
    resetNode();
    if (failure) {
        cardFilterError_ = failure;
        UFemSetError(error, std::move(failure));
    }
    return false;
}

void UFemCardFilter::clearCardFilter()
{
    UErrorPtr ignored;
    // Clearing never fails.
    static_cast<void>(setCardFilterString(std::nullopt, &ignored));
}

QVariantList UFemCardFilter::defaultCardFilterStringFolderArray()
{
    constexpr int nodeOrderHint = 1100;
    constexpr int elementOrderHint = 1200;
    return {
        folderItem(QStringLiteral("Node"), nodeOrderHint, QStringLiteral("type:Node")),
        folderItem(QStringLiteral("Element"), elementOrderHint, QStringLiteral("type:Elem")),
    };
}

// ---- Evaluation

bool UFemCardFilter::isCardValid(UFemCard& card) const
{
    if (cardFilterType_ == UFemCardFilterNoneType)
        return true;
    return isNodeValid(card) != isNegation_;
}

bool UFemCardFilter::isNodeValid(UFemCard& card) const
{
    switch (cardFilterType_) {
    case UFemCardFilterANDType:
        return isCardValidAs_AND_WithCard(card);
    case UFemCardFilterORType:
        return isCardValidAs_OR_WithCard(card);
    case UFemCardFilterHasErrorType:
        return isCardValidAs_HasError_WithCard(card);
    case UFemCardFilterTypeType:
        return isCardValidAs_Type_WithCard(card);
    case UFemCardFilterClassType:
        return isCardValidAs_Class_WithCard(card);
    case UFemCardFilterCaseType:
        return isCardValidAs_Case_WithCard(card);
    case UFemCardFilterCaseArrayType:
        return isCardValidAs_CaseArray_WithCard(card);
    case UFemCardFilterContainType:
        return isCardValidAs_Contain_WithCard(card);
    case UFemCardFilterColumnContainType:
        return isCardValidAs_Column_Contain_WithCard(card);
    default:
        return true;
    }
}

bool UFemCardFilter::isCardValidAs_AND_WithCard(UFemCard& card) const
{
    for (const auto& child : children_) {
        if (!child->isCardValid(card))
            return false;
    }
    return true;
}

bool UFemCardFilter::isCardValidAs_OR_WithCard(UFemCard& card) const
{
    for (const auto& child : children_) {
        if (child->isCardValid(card))
            return true;
    }
    return false;
}

bool UFemCardFilter::isCardValidAs_HasError_WithCard(UFemCard& card) const
{
    return card.cardType() == UFemErrorCardType || card.checkErrorToRun()
        || card.checkWarningToRun();
}

bool UFemCardFilter::isCardValidAs_Type_WithCard(UFemCard& card) const
{
    return quint64(card.cardType()) == argumentIntegerValue1_;
}

bool UFemCardFilter::isCardValidAs_Class_WithCard(UFemCard& card) const
{
    return &card.cardClass() == argumentCardClass_;
}

bool UFemCardFilter::isCardValidAs_Case_WithCard(UFemCard& card) const
{
    const UFemCard* caseCard = caseCardWithCardNameString(card, argumentString_);
    return caseCard != nullptr && card.isRelatedToCaseWithCaseCard(*caseCard);
}

bool UFemCardFilter::isCardValidAs_CaseArray_WithCard(UFemCard& card) const
{
    std::vector<UFemCard*> caseCards;
    for (const QString& caseNameString : argumentStringArray_) {
        if (caseNameString.isEmpty())
            break;
        if (UFemCard* caseCard = caseCardWithCardNameString(card, caseNameString))
            caseCards.push_back(caseCard);
    }
    return !caseCards.empty() && card.isRelatedToCaseWithCaseCardArray(caseCards);
}

bool UFemCardFilter::isCardValidAs_Contain_WithCard(UFemCard& card) const
{
    return containsSearchText(UFemCardString(card), argumentString_);
}

bool UFemCardFilter::isCardValidAs_Column_Contain_WithCard(UFemCard& card) const
{
    quint64 columnCount = card.numberOfColumns();
    if (columnCount == UFemColumnExpandableNumberOfColumns) {
        const auto* cardAbst = dynamic_cast<const UFemCardAbst*>(&card);
        columnCount = cardAbst ? cardAbst->numberOfCurrentColumns() : 0;
    }
    if (argumentIntegerValue1_ >= columnCount)
        return false;
    const std::optional<QString> columnString = card.columnStringAtIndex(argumentIntegerValue1_);
    return columnString && containsSearchText(*columnString, argumentString_);
}
