#include "cardmodel/data/UFemCardSetManager.h"

#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UException.h"

namespace {

constexpr quint64 idleState = 0;
constexpr quint64 committedState = 1;
constexpr quint64 preparedState = 2;

} // namespace

// ---- The changes themselves: they post nothing and do not wait.

template <typename Cards>
void UFemCardSetManager::_setCardArrayOrCardSet(const Cards& cards, const ChangeContext& context)
{
    dropSnapshot();
    emptyContents();
    cardIdentifierNumberIndexSet_.reserve(cards.size());
    cardSet_.reserve(cards.size());
    cardArray_.reserve(cards.size());
    for (const UFemCardPtr& card : cards) {
        if (context.referenceArray && !context.referenceArray->containsObject(card))
            continue;
        if (cardIdentifierNumberIndexSet_.insert(card->cardIdentifierNumber()).second) {
            cardArray_.push_back(card);
            cardSet_.insert(card);
        }
    }
    validness_ = {};
    isCardArraySorted_ = false;
}

template <typename Cards>
void UFemCardSetManager::_addCardArrayOrCardSet(const Cards& cards, const ChangeContext& context)
{
    if (cards.empty())
        return;
    dropSnapshot();
    if (validness_.isCardSetContentsNotValid) {
        for (const UFemCardPtr& card : cards)
            cardIdentifierNumberIndexSet_.insert(card->cardIdentifierNumber());
        return;
    }
    const bool keepsSorted = cards.size() < sortedChangeCardCountLimit && isCardArraySorted_;
    const bool checksReference
        = context.referenceArray && !validness_.isCardSetNotValidForReferenceArray;
    for (const UFemCardPtr& card : cards) {
        if (cardIdentifierNumberIndexSet_.contains(card->cardIdentifierNumber()))
            continue;
        if (checksReference && !context.referenceArray->containsObject(card))
            continue;
        cardIdentifierNumberIndexSet_.insert(card->cardIdentifierNumber());
        cardSet_.insert(card);
        if (keepsSorted)
            insertIntoCardArray(card, context.sortContext);
        else
            cardArray_.push_back(card);
    }
    if (!keepsSorted)
        isCardArraySorted_ = false;
}

template <typename Cards> void UFemCardSetManager::_removeCardArrayOrCardSet(const Cards& cards)
{
    dropSnapshot();
    if (cards.size() < sortedChangeCardCountLimit && !validness_.isCardSetContentsNotValid
        && !validness_.isCardArrayContentsNotValidForAny) {
        for (const UFemCardPtr& card : cards) {
            if (cardIdentifierNumberIndexSet_.erase(card->cardIdentifierNumber()) == 0)
                continue;
            eraseFromCardArray(card.get());
            cardSet_.erase(card);
        }
        return;
    }
    for (const UFemCardPtr& card : cards) {
        cardIdentifierNumberIndexSet_.erase(card->cardIdentifierNumber());
        if (!validness_.isCardSetContentsNotValid)
            cardSet_.erase(card);
    }
    if (!validness_.isCardSetContentsNotValid)
        validness_.isCardArrayContentsNotValidForAny = 1;
    isCardArraySorted_ = false;
}

// ---- Mutators

template <typename Cards>
void UFemCardSetManager::changeWithNotifications(const Cards& cards, CommitKind kind)
{
    waitOutHandOver();
    if (kind != CommitKind::set && cards.empty())
        return;
    postWillPair();
    if (kind == CommitKind::set)
        _setCardArrayOrCardSet(cards, liveChangeContext());
    else if (kind == CommitKind::add)
        _addCardArrayOrCardSet(cards, liveChangeContext());
    else
        _removeCardArrayOrCardSet(cards);
    postDidPair();
}

void UFemCardSetManager::removeAllCards()
{
    waitOutHandOver();
    postWillPair();
    dropSnapshot();
    emptyContents();
    validness_ = {};
    isCardArraySorted_ = true;
    postDidPair();
}

void UFemCardSetManager::setCard(const UFemCardPtr& card)
{
    waitOutHandOver();
    const UFemCardArray* referenceArray = liveChangeContext().referenceArray;
    postWillPair();
    dropSnapshot();
    emptyContents();
    if (card && (referenceArray == nullptr || referenceArray->containsObject(card))) {
        cardIdentifierNumberIndexSet_.insert(card->cardIdentifierNumber());
        cardArray_.push_back(card);
        cardSet_.insert(card);
    }
    validness_ = {};
    isCardArraySorted_ = true;
    postDidPair();
}

void UFemCardSetManager::setCardArray(const UFemCardVector& cards)
{
    changeWithNotifications(cards, CommitKind::set);
}
void UFemCardSetManager::setCardSet(const UFemCardSet& cards)
{
    changeWithNotifications(cards, CommitKind::set);
}
void UFemCardSetManager::addCardArray(const UFemCardVector& cards)
{
    changeWithNotifications(cards, CommitKind::add);
}
void UFemCardSetManager::addCardSet(const UFemCardSet& cards)
{
    changeWithNotifications(cards, CommitKind::add);
}
void UFemCardSetManager::removeCardArray(const UFemCardVector& cards)
{
    changeWithNotifications(cards, CommitKind::remove);
}
void UFemCardSetManager::removeCardSet(const UFemCardSet& cards)
{
    changeWithNotifications(cards, CommitKind::remove);
}

void UFemCardSetManager::addCard(const UFemCardPtr& card)
{
    waitOutHandOver();
    const ChangeContext context = liveChangeContext();
    if (context.referenceArray && !context.referenceArray->containsObject(card))
        return;
    if (cardIdentifierNumberIndexSet_.contains(card->cardIdentifierNumber()))
        return;
    postWillPair();
    dropSnapshot();
    cardIdentifierNumberIndexSet_.insert(card->cardIdentifierNumber());
    if (!validness_.isCardSetContentsNotValid) {
        if (isCardArraySorted_)
            insertIntoCardArray(card, context.sortContext);
        else
            cardArray_.push_back(card);
        cardSet_.insert(card);
    }
    postDidPair();
}

void UFemCardSetManager::removeCard(const UFemCardPtr& card)
{
    waitOutHandOver();
    if (!cardIdentifierNumberIndexSet_.contains(card->cardIdentifierNumber()))
        return;
    postWillPair();
    dropSnapshot();
    cardIdentifierNumberIndexSet_.erase(card->cardIdentifierNumber());
    if (!validness_.isCardSetContentsNotValid) {
        eraseFromCardArray(card.get());
        cardSet_.erase(card);
    }
    postDidPair();
}

// ---- Hand-over

quint64 UFemCardSetManager::prepareChangeByOtherThread()
{
    waitOutHandOver();
    postWillPair();
    // Taken here, on the main thread: the worker must not read the live list, which the main
    // thread rebuilds lazily.
    const ChangeContext context = liveChangeContext();
    std::optional<UFemCardArray> snapshot;
    if (context.sortContext)
        snapshot.emplace(*context.sortContext);
    std::lock_guard guard(otherThreadChangeLock_);
    if (otherThreadChangeState_.load() != idleState)
        UFemRaiseProgramError(
            QStringLiteral("New change on cardSetManager began while previous change not ended."));
    otherThreadReferenceSnapshot_ = std::move(snapshot);
    hasOtherThreadReference_ = context.referenceArray != nullptr;
    ++otherThreadChangeIdentifier_;
    otherThreadChangeState_.store(preparedState, std::memory_order_release);
    otherThreadChangeCondition_.notify_all();
    return otherThreadChangeIdentifier_;
}

template <typename Cards>
void UFemCardSetManager::commitByOtherThread(
    const Cards& cards, quint64 changeIdentifier, CommitKind kind)
{
    std::lock_guard guard(otherThreadChangeLock_);
    if (otherThreadChangeState_.load() != preparedState
        || changeIdentifier != otherThreadChangeIdentifier_)
        UFemRaiseProgramError(
            QStringLiteral("Change state or change identifier on cardSetManager doesn't match."));
    ChangeContext context;
    if (otherThreadReferenceSnapshot_) {
        context.sortContext = &*otherThreadReferenceSnapshot_;
        context.referenceArray = hasOtherThreadReference_ ? context.sortContext : nullptr;
    }
    if (kind == CommitKind::set)
        _setCardArrayOrCardSet(cards, context);
    else if (kind == CommitKind::add)
        _addCardArrayOrCardSet(cards, context);
    else if (!cards.empty())
        _removeCardArrayOrCardSet(cards);
    // The worker orders the list in the prepared context, so that the main thread's readers,
    // which the change keeps waiting, need not.
    if (!isCardArraySorted_ && validness_.word() == 0)
        sortCardArrayInContext(context.sortContext);
    otherThreadChangeState_.store(committedState, std::memory_order_release);
    otherThreadChangeCondition_.notify_all();
}

void UFemCardSetManager::setCardArrayOrCardSetByOtherThread(
    const UFemCardVector& cards, quint64 changeIdentifier)
{
    commitByOtherThread(cards, changeIdentifier, CommitKind::set);
}
void UFemCardSetManager::setCardArrayOrCardSetByOtherThread(
    const UFemCardSet& cards, quint64 changeIdentifier)
{
    commitByOtherThread(cards, changeIdentifier, CommitKind::set);
}
void UFemCardSetManager::addCardArrayOrCardSetByOtherThread(
    const UFemCardVector& cards, quint64 changeIdentifier)
{
    commitByOtherThread(cards, changeIdentifier, CommitKind::add);
}
void UFemCardSetManager::addCardArrayOrCardSetByOtherThread(
    const UFemCardSet& cards, quint64 changeIdentifier)
{
    commitByOtherThread(cards, changeIdentifier, CommitKind::add);
}
void UFemCardSetManager::removeCardArrayOrCardSetByOtherThread(
    const UFemCardVector& cards, quint64 changeIdentifier)
{
    commitByOtherThread(cards, changeIdentifier, CommitKind::remove);
}
void UFemCardSetManager::removeCardArrayOrCardSetByOtherThread(
    const UFemCardSet& cards, quint64 changeIdentifier)
{
    commitByOtherThread(cards, changeIdentifier, CommitKind::remove);
}

void UFemCardSetManager::waitFinishChangeByOtherThreadWithChangeIdentifier(quint64 changeIdentifier)
{
    {
        std::unique_lock lock(otherThreadChangeLock_);
        if (changeIdentifier != otherThreadChangeIdentifier_)
            UFemRaiseProgramError(
                QStringLiteral("Change identifier on cardSetManager doesn't match."));
        otherThreadChangeCondition_.wait(
            lock, [this] { return otherThreadChangeState_.load() == committedState; });
        otherThreadReferenceSnapshot_.reset();
        otherThreadChangeState_.store(idleState, std::memory_order_release);
        otherThreadChangeCondition_.notify_all();
    }
    postDidPair();
}
