// The steps every change of a data controller's cards is built of: the notification bracket with
// the background tasks, undo registration, and adding and removing cards by records.
#include "cardmodel/data/UFemDataController.h"

#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/threads/UThreadTaskContext.h"
#include "platform/UUndoManager.h"

#include <exception>

namespace {

// The rough box is kept through this many changes, while the node count grows by at most this
// many, in models of more than the minimum count of nodes.
constexpr quint64 roughObjectSizeChangeLimit = 20;
constexpr quint64 roughObjectSizeNodeGrowthLimit = 20;
constexpr quint64 roughObjectSizeMinimumNodeCount = 100;

} // namespace

void UFemDataController::quitAllBackgroundThreadIfCalculating()
{
    UThreadTaskContext::cancelAndWaitQuitIfNotFinishedWithThreadTaskContextList(
        { forceValueRangeCalcThreadTaskContext_.get(),
            displacementValueRangeCalcThreadTaskContext_.get() });
}

void UFemDataController::clearAllBackgroundThreadIfCanceled()
{
    UThreadTaskContext::clearAllIfValueNotFinishedAndNotRunningWithThreadTaskContextList(
        { forceValueRangeCalcThreadTaskContext_.get(),
            displacementValueRangeCalcThreadTaskContext_.get() });
}

void UFemDataController::clearForceValueRangeCache()
{
    forceValueRangeCalcThreadTaskContext_->clearAll_shouldNotRunning();
}

void UFemDataController::clearDisplacementValueRangeCache()
{
    displacementValueRangeCalcThreadTaskContext_->clearAll_shouldNotRunning();
}

void UFemDataController::registerUndo(std::function<void(UFemDataController&)> action)
{
    if (undoManager_ == nullptr)
        return;
    undoManager_->registerUndo(
        [token = std::weak_ptr<UFemDataController*>(lifeToken_), action = std::move(action)] {
            if (const std::shared_ptr<UFemDataController*> alive = token.lock())
                action(**alive);
        });
}

void UFemDataController::setUndoActionName(const QString& actionName)
{
    if (undoManager_ != nullptr && !undoManager_->isUndoing() && !undoManager_->isRedoing())
        undoManager_->setActionName(actionName);
}

UFemDataController::ModelDataChange::ModelDataChange(UFemDataController& controller)
    : controller_(controller)
    , exceptionsAtStart_(std::uncaught_exceptions())
{
    controller_._notifyModelDataWillChange();
}

UFemDataController::ModelDataChange::~ModelDataChange() noexcept(false)
{
    if (std::uncaught_exceptions() == exceptionsAtStart_) {
        controller_._notifyModelDataDidChange();
        return;
    }
    // Unwinding already: the step's error is the one to report, a second one would terminate.
    try {
        controller_._notifyModelDataDidChange();
    } catch (...) {
    }
}

void UFemDataController::_notifyModelDataWillChange()
{
    post(UFemModelDataWillChangeNotification);
    quitAllBackgroundThreadIfCalculating();
    post(UFemModelDataWillChangeNotification_private);
    registerUndo([](UFemDataController& controller) { controller._notifyModelDataDidChange(); });
}

void UFemDataController::_notifyModelDataDidChange()
{
    isObjectSizeValid_ = false;
    applyRoughObjectSizeRule();
    clearForceValueRangeCache();
    clearDisplacementValueRangeCache();
    post(UFemModelDataDidChangeNotification_private);
    clearAllBackgroundThreadIfCanceled();
    post(UFemModelDataDidChangeNotification);
    registerUndo([](UFemDataController& controller) { controller._notifyModelDataWillChange(); });
}

void UFemDataController::applyRoughObjectSizeRule()
{
    if (!isObjectSizeValid_rough_)
        return;
    const quint64 previous = objectSize_rough_previousNodeCount_;
    if (previous >= roughObjectSizeMinimumNodeCount
        && objectSize_rough_modelDataChangeCount_ <= roughObjectSizeChangeLimit
        && cardTable_.nodeCardArray().count() <= previous + roughObjectSizeNodeGrowthLimit) {
        ++objectSize_rough_modelDataChangeCount_;
    } else {
        isObjectSizeValid_rough_ = false;
    }
}

void UFemDataController::enterCard(const UFemCardPtr& card, quint64 cardIdentifierNumber)
{
    cardIdentifierNumberDictionary_.insertOrAssign(cardIdentifierNumber, card.get());
    card->setCardIdentifierNumber(cardIdentifierNumber);
}

// A record keeps its number only when that number is free and was given before; otherwise two
// cards could share a number, or a later card could be given it again.
quint64 UFemDataController::identifierNumberForRecord(const UFemCardTextColumns& record)
{
    const quint64 number = record.cardIdentifierNumber();
    if (number != UFemNotFound && number < nextCardIdentifierNumber_
        && !cardIdentifierNumberDictionary_.contains(number)) {
        return number;
    }
    return nextCardIdentifierNumber_++;
}

bool UFemDataController::_addCardWithCardTextColumnsArray(
    const std::vector<UFemCardTextColumnsPtr>& cardTextColumnsArray,
    const UFemRowIndexSet& rowIndexSet, bool doesUseErrorCard, UErrorPtr* error)
{
    if (rowIndexSet.empty())
        return true;
    if (rowIndexSet.size() != cardTextColumnsArray.size())
        UFemRaiseProgramError(
            QStringLiteral("[aCardRowIndexSet count] != [aCardTextColumnsArray count]"));
    UErrorPtr failure = errorIfLocked();
    const quint64 count = rowIndexSet.size();
    if (!failure && cardTextColumnsArray.front()->cardIdentifierNumber() == UFemNotFound
        && (count > nextCardIdentifierNumberWarningNumber_
            || nextCardIdentifierNumber_ >= nextCardIdentifierNumberWarningNumber_ - count)) {
        // The answer is in failure.
        static_cast<void>(
            _checkCardIdentifierNumberLimitAndMakeWarningOrErrorWithCardCount(count, &failure));
    }
    UFemRowIndexSet added;
    for (quint64 k = 0; !failure && k < count; ++k) {
        const UFemCardPtr card
            = _makeCardWithCardTextColumns(*cardTextColumnsArray[k], doesUseErrorCard, &failure);
        if (!card)
            break;
        UFemRaisesOnFailure(cardTable_.insertCard(card, rowIndexSet[k], nullptr));
        enterCard(card, identifierNumberForRecord(*cardTextColumnsArray[k]));
        added.push_back(rowIndexSet[k]);
    }
    // The cards added before an error keep their undo record, so that earlier records still
    // address the right rows.
    if (!added.empty()) {
        lastEditedCardRowIndex_ = added.back();
        registerUndo([added](UFemDataController& controller) {
            UFemRaisesOnFailure(controller._removeCardsAtIndexSet(added, nullptr));
        });
    }
    if (failure) {
        setUndoActionName(QStringLiteral("Add Some Cards - Aborted by Error"));
        UFemSetError(error, failure);
        return false;
    }
    setUndoActionName(UFormattedString("Add %lu Cards", count));
    return true;
}

bool UFemDataController::_removeCardsAtIndexSet(
    const UFemRowIndexSet& rowIndexSet, UErrorPtr* error)
{
    if (rowIndexSet.empty())
        return true;
    if (UErrorPtr failure = errorIfLocked()) {
        setUndoActionName(QStringLiteral("Remove Some Cards - Aborted by Error"));
        UFemSetError(error, failure);
        return false;
    }
    std::vector<UFemCardTextColumnsPtr> records(rowIndexSet.size());
    for (std::size_t k = rowIndexSet.size(); k-- > 0;) {
        const UFemCardPtr card = cardTable_.removeCardAtIndex(rowIndexSet[k], nullptr);
        records[k] = card->cardTextColumns();
        records[k]->setCardIdentifierNumber(card->cardIdentifierNumber());
        cardIdentifierNumberDictionary_.erase(card->cardIdentifierNumber());
        card->resetAllCardColumns();
    }
    lastEditedCardRowIndex_ = rowIndexSet.back() - rowIndexSet.size() + 1;
    registerUndo([records, rowIndexSet](UFemDataController& controller) {
        UFemRaisesOnFailure(
            controller._addCardWithCardTextColumnsArray(records, rowIndexSet, false, nullptr));
    });
    setUndoActionName(UFormattedString("Remove %lu Cards", quint64(rowIndexSet.size())));
    return true;
}
