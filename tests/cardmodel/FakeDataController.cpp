#include "FakeDataController.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardAbst.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardTextColumns.h"

#include <cmath>
#include <limits>

namespace fakecards {

bool FakeClipboardCardValueManager::getClipboardCardValue(
    double* value, const UFemCard& card, UErrorPtr* error) const
{
    const QString name = card.cardNameString().value_or(QString());
    if (const UErrorPtr readingError = unreadableNames.value(name)) {
        *error = readingError;
        *value = std::numeric_limits<double>::quiet_NaN();
        return false;
    }
    const auto found = values.constFind(name);
    if (found == values.cend()) {
        *value = std::numeric_limits<double>::quiet_NaN();
        return false;
    }
    *value = *found;
    return true;
}

FakeDataController::~FakeDataController()
{
    // Cards unregister their names while the table still exists.
    for (const std::shared_ptr<UFemCard>& card : cards_) {
        if (auto* abst = dynamic_cast<UFemCardAbst*>(card.get()))
            abst->invalidiate();
    }
    cards_.clear();
}

UFemCard* FakeDataController::cardAtRowIndex(quint64 rowIndex) const
{
    ++fetchCount_;
    return cards_.at(rowIndex).get();
}

std::shared_ptr<UFemCard> FakeDataController::makeCard(
    const UFemCardClass& cardClass, const QString& line, UErrorPtr* error)
{
    UFemCardTextColumns textColumns;
    UErrorPtr failure;
    if (!textColumns.setCardString(line, &failure)) {
        UFemSetError(error, failure);
        return nullptr;
    }
    std::shared_ptr<UFemCard> card = cardClass.makeCard(this);
    if (!card->setCardColumnsWithCardTextColumns(textColumns, &failure)) {
        UFemSetError(error, failure);
        return nullptr;
    }
    return card;
}

std::shared_ptr<UFemCard> FakeDataController::addCard(
    const UFemCardClass& cardClass, const QString& line, UErrorPtr* error)
{
    std::shared_ptr<UFemCard> card = makeCard(cardClass, line, error);
    if (card)
        cards_.push_back(card);
    return card;
}

void FakeDataController::insertCard(std::shared_ptr<UFemCard> card, quint64 rowIndex)
{
    cards_.insert(cards_.begin() + qsizetype(rowIndex), std::move(card));
}

void FakeDataController::removeCardAtRowIndex(quint64 rowIndex)
{
    std::shared_ptr<UFemCard> card = cards_.at(rowIndex);
    cards_.erase(cards_.begin() + qsizetype(rowIndex));
    if (auto* abst = dynamic_cast<UFemCardAbst*>(card.get()))
        abst->invalidiate();
}

} // namespace fakecards
