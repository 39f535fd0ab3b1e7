#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "cards/loads/Case.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <QStringList>

namespace {

const QString NullCardsOnly = QStringLiteral("type:Null");

bool isEmptyText(const std::optional<QString>& text)
{
    return !text.has_value() || text->isEmpty();
}

} // namespace

UNotificationCenter& UFemWindowController::modelCenter() const
{
    UNotificationCenter* center = dataController_->notificationCenter();
    return center != nullptr ? *center : UNotificationCenter::defaultCenter();
}

void UFemWindowController::observeCardSet(UFemCardSetManager& manager, bool isCurrentCase)
{
    UNotificationCenter& center = modelCenter();
    auto repost = [this, &center, &manager](const QString& from, const QString& to) {
        observations_.push_back(
            center.observe(from, &manager, [this, to](const UNotification&) { post(to); }));
    };
    if (isCurrentCase) {
        repost(UFemCardSetWillChangeNotification, UFemWindowCurrentCaseWillChangeNotification);
        repost(UFemCardSetWillChangeNotification_private,
            UFemWindowCurrentCaseWillChangeNotification_private);
        observations_.push_back(center.observe(UFemCardSetDidChangeNotification_private, &manager,
            [this](const UNotification&) { currentCaseDidChange_private(); }));
        observations_.push_back(center.observe(UFemCardSetDidChangeNotification, &manager,
            [this](const UNotification&) { currentCaseDidChange(); }));
        return;
    }
    repost(UFemCardSetWillChangeNotification, UFemWindowSelectedCardWillChangeNotification);
    repost(UFemCardSetWillChangeNotification_private,
        UFemWindowSelectedCardWillChangeNotification_private);
    repost(UFemCardSetDidChangeNotification_private,
        UFemWindowSelectedCardDidChangeNotification_private);
    repost(UFemCardSetDidChangeNotification, UFemWindowSelectedCardDidChangeNotification);
}

void UFemWindowController::currentCaseDidChange_private()
{
    if (currentCaseSelectMode_ == UFemCaseSelectModeOneCase
        && currentCaseCardSetManager_->count() == 0)
        setCaseSelectMode(UFemCaseSelectModeNoCase);
    post(UFemWindowCurrentCaseDidChangeNotification_private);
}

void UFemWindowController::currentCaseDidChange()
{
    UErrorPtr dropped;
    // The user's filter joins only once it parses, and its own error stays in cardFilterError_.
    static_cast<void>(updateWindowCardTableCombinedCardFilter(&dropped));
    post(UFemWindowCurrentCaseDidChangeNotification);
}

UFemCardPtr UFemWindowController::currentCaseCard() const
{
    if (currentCaseSelectMode_ == UFemCaseSelectModeAllCases) {
        const UFemCardArray& cases = dataController_->caseCardArray();
        return cases.count() == 1 ? cases.objectAtIndex(0) : nullptr;
    }
    return currentCaseCardSetManager_->card();
}

UFemCardVector UFemWindowController::currentCaseCardArray() const
{
    if (currentCaseSelectMode_ == UFemCaseSelectModeAllCases)
        return dataController_->caseCardArray().toVector();
    return currentCaseCardSetManager_->cardArray();
}

quint64 UFemWindowController::currentCaseNo() const
{
    const auto* caseCard = dynamic_cast<const Case*>(currentCaseCard().get());
    return caseCard != nullptr ? caseCard->caseNo() : UFemNotFound;
}

std::vector<quint64> UFemWindowController::currentCaseNoArray() const
{
    std::vector<quint64> numbers;
    for (const UFemCardPtr& card : currentCaseCardArray()) {
        const auto* caseCard = dynamic_cast<const Case*>(card.get());
        numbers.push_back(caseCard != nullptr ? caseCard->caseNo() : UFemNotFound);
    }
    return numbers;
}

void UFemWindowController::selectNoCases()
{
    setCaseSelectMode(UFemCaseSelectModeNoCase);
    currentCaseCardSetManager_->removeAllCards();
}

void UFemWindowController::selectAllCases()
{
    setCaseSelectMode(UFemCaseSelectModeAllCases);
    currentCaseCardSetManager_->removeAllCards();
}

void UFemWindowController::selectOneCase(const UFemCardPtr& caseCard)
{
    setCaseSelectMode(UFemCaseSelectModeOneCase);
    currentCaseCardSetManager_->setCardArray({ caseCard });
}

void UFemWindowController::selectCaseInSomeCases(const UFemCardPtr& caseCard)
{
    if (currentCaseSelectMode_ != UFemCaseSelectModeSomeCases) {
        setCaseSelectMode(UFemCaseSelectModeSomeCases);
        currentCaseCardSetManager_->setCardArray({ caseCard });
    } else if (currentCaseCardSetManager_->containsCard(caseCard)) {
        currentCaseCardSetManager_->removeCard(caseCard);
    } else {
        currentCaseCardSetManager_->addCard(caseCard);
    }
}

void UFemWindowController::selectAllCasesInSomeCases()
{
    setCaseSelectMode(UFemCaseSelectModeSomeCases);
    currentCaseCardSetManager_->setCardArray(dataController_->caseCardArray().toVector());
}

void UFemWindowController::deselectAllCasesInSomeCases()
{
    setCaseSelectMode(UFemCaseSelectModeSomeCases);
    currentCaseCardSetManager_->removeAllCards();
}

void UFemWindowController::setCardFilterString(const std::optional<QString>& cardFilterString)
{
    if ((isEmptyText(cardFilterString) && isEmptyText(cardFilterString_))
        || cardFilterString == cardFilterString_) {
        toolbar_->updateToolbarCardFilterTextField();
        return;
    }
    cardFilterString_.reset();
    cardFilterError_.reset();
    if (!isEmptyText(cardFilterString)) {
        cardFilterString_ = cardFilterString;
        UFemCardFilter parsed;
        // The answer is in cardFilterError_, which the toolbar shows.
        static_cast<void>(parsed.setCardFilterString(cardFilterString, &cardFilterError_));
    }
    UErrorPtr dropped;
    // The user's filter joins only once it parses, and its own error stays in cardFilterError_.
    static_cast<void>(updateWindowCardTableCombinedCardFilter(&dropped));
    toolbar_->updateToolbarCardFilterTextField();
}

std::optional<QString> UFemWindowController::casePartOfCombinedFilter() const
{
    if (currentCaseSelectMode_ == UFemCaseSelectModeOneCase) {
        const UFemCardPtr caseCard = currentCaseCardSetManager_->card();
        if (caseCard == nullptr)
            return std::nullopt;
        return QStringLiteral("case:%1|type:Null")
            .arg(caseCard->cardNameString().value_or(QString()));
    }
    if (currentCaseSelectMode_ != UFemCaseSelectModeSomeCases)
        return std::nullopt;
    const UFemCardVector& cases = currentCaseCardSetManager_->cardArray();
    if (cases.empty())
        return NullCardsOnly;
    QStringList names;
    for (const UFemCardPtr& caseCard : cases)
        names.append(caseCard->cardNameString().value_or(QString()));
    return QStringLiteral("caseArray:{%1}|").arg(names.join(QLatin1Char(','))) + NullCardsOnly;
}

std::optional<QString> UFemWindowController::combinedCardFilterString() const
{
    const std::optional<QString> casePart = casePartOfCombinedFilter();
    const bool hasUserFilter = cardFilterString_.has_value() && cardFilterError_ == nullptr;
    if (!hasUserFilter)
        return casePart;
    if (!casePart)
        return cardFilterString_;
    return QStringLiteral("(%1)&(%2)").arg(*casePart, *cardFilterString_);
}

bool UFemWindowController::updateWindowCardTableCombinedCardFilter(UErrorPtr* error)
{
    UErrorPtr filterError;
    windowCardTable_->setCardFilterString(combinedCardFilterString(), &filterError);
    if (filterError == nullptr)
        return true;
    if (error == nullptr)
        UFemRaiseProgramError(filterError->localizedDescription());
    *error = filterError;
    return false;
}
