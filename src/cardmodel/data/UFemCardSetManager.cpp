#include "cardmodel/data/UFemCardSetManager.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr quint64 idleState = 0;
// From a 64th of the sort context up, one walk over it beats a look-up per member.
constexpr quint64 walkedSortContextShare = 64;

// The position of a card in the sort context; cards it does not hold sort last.
quint64 sortKey(const UFemCardPtr& card, const UFemCardArray* sortContext)
{
    const quint64 index = sortContext ? sortContext->indexOfObjectIdenticalTo(card) : UNSNotFound;
    return index == UNSNotFound ? UFemNotFound : index;
}

bool holds(const UFemCardArray* referenceArray, const UFemCardPtr& card)
{
    return referenceArray == nullptr || referenceArray->containsObject(card);
}

} // namespace

UFemCardSetManager::UFemCardSetManager() = default;

UFemCardSetManager::UFemCardSetManager(UFemDataController* dataController)
{
    setDataController(dataController);
    validness_ = {};
}

UFemCardSetManager::~UFemCardSetManager()
{
    finish();
}

void UFemCardSetManager::finish()
{
    setReferenceCardArrayBaseObject(
        nullptr, {}, std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    setDataController(nullptr);
    emptyContents();
    dropSnapshot();
    validness_ = {};
    isCardArraySorted_ = false;
}

UNotificationCenter* UFemCardSetManager::notificationCenter() const
{
    return dataController_ ? dataController_->notificationCenter() : nullptr;
}

void UFemCardSetManager::postWillPair() const
{
    if (UNotificationCenter* center = notificationCenter()) {
        center->post(UFemCardSetWillChangeNotification, this);
        center->post(UFemCardSetWillChangeNotification_private, this);
    }
}

void UFemCardSetManager::postDidPair() const
{
    if (UNotificationCenter* center = notificationCenter()) {
        center->post(UFemCardSetDidChangeNotification_private, this);
        center->post(UFemCardSetDidChangeNotification, this);
    }
}

// ---- Data controller and reference list

void UFemCardSetManager::setDataController(UFemDataController* dataController)
{
    removeAllCards();
    dataControllerObservations_.clear();
    referenceObservations_.clear();
    dataController_ = dataController;
    observedCenter_ = nullptr;
    if (dataController_ != nullptr)
        observeDataController();
}

void UFemCardSetManager::observeDataController()
{
    observedCenter_ = dataController_->notificationCenter();
    if (observedCenter_ == nullptr)
        observedCenter_ = &UNotificationCenter::defaultCenter();
    const void* sender = dataController_;
    const auto observe = [&](const QString& name, std::function<void()> action) {
        dataControllerObservations_.push_back(observedCenter_->observe(
            name, sender, [action = std::move(action)](const UNotification&) { action(); }));
    };
    const auto post = [this](const QString& name) {
        if (UNotificationCenter* center = notificationCenter())
            center->post(name, this);
    };
    observe(UFemModelDataWillChangeNotification, [=] { post(UFemCardSetWillChangeNotification); });
    observe(UFemModelDataDidChangeNotification, [=] { post(UFemCardSetDidChangeNotification); });
    observe(UFemModelDataWillChangeNotification_private,
        [=] { post(UFemCardSetWillChangeNotification_private); });
    observe(UFemModelDataDidChangeNotification_private, [=, this] {
        {
            std::lock_guard guard(otherThreadChangeLock_);
            dropSnapshot();
            validness_.isCardSetContentsNotValid = 1;
            isCardArraySorted_ = false;
        }
        post(UFemCardSetDidChangeNotification_private);
    });
}

void UFemCardSetManager::detachReference()
{
    referenceObservations_.clear();
    referenceCardArrayBaseObject_ = nullptr;
    referenceCardArrayProvider_ = {};
    referenceWillChangeName_.reset();
    referenceDidChangeName_.reset();
    referenceWillChangeName_private_.reset();
    referenceDidChangeName_private_.reset();
    dropSnapshot();
    validness_.isCardSetNotValidForReferenceArray = 0;
}

void UFemCardSetManager::setReferenceCardArrayBaseObject(const void* baseObject,
    UFemReferenceCardArrayProvider provider, const std::optional<QString>& willChangeName,
    const std::optional<QString>& didChangeName,
    const std::optional<QString>& willChangeName_private,
    const std::optional<QString>& didChangeName_private)
{
    detachReference();
    if (baseObject == nullptr || !provider)
        return;
    referenceCardArrayBaseObject_ = baseObject;
    referenceCardArrayProvider_ = std::move(provider);
    referenceWillChangeName_ = willChangeName;
    referenceDidChangeName_ = didChangeName;
    referenceWillChangeName_private_ = willChangeName_private;
    referenceDidChangeName_private_ = didChangeName_private;
    UNotificationCenter& center
        = observedCenter_ ? *observedCenter_ : UNotificationCenter::defaultCenter();
    const auto observe = [&](const std::optional<QString>& name, std::function<void()> action) {
        if (name) {
            referenceObservations_.push_back(center.observe(*name, baseObject,
                [action = std::move(action)](const UNotification&) { action(); }));
        }
    };
    const auto post = [this](const QString& name) {
        if (UNotificationCenter* notificationCenter = this->notificationCenter())
            notificationCenter->post(name, this);
    };
    const auto markReferenceChanged = [this] {
        std::lock_guard guard(otherThreadChangeLock_);
        dropSnapshot();
        validness_.isCardSetNotValidForReferenceArray = 1;
    };
    if (willChangeName) {
        observe(willChangeName_private, [=] { post(UFemCardSetWillChangeNotification_private); });
        observe(willChangeName, [=] { post(UFemCardSetWillChangeNotification); });
    }
    if (didChangeName) {
        observe(didChangeName_private, [=] {
            markReferenceChanged();
            post(UFemCardSetDidChangeNotification_private);
        });
        const bool hasPrivateDid = didChangeName_private.has_value();
        observe(didChangeName, [=] {
            if (!hasPrivateDid)
                markReferenceChanged();
            post(UFemCardSetDidChangeNotification);
        });
    }
    validness_.isCardSetNotValidForReferenceArray = 1;
}

UFemCardSetManager::ChangeContext UFemCardSetManager::liveChangeContext()
{
    ChangeContext context;
    if (referenceCardArrayProvider_)
        context.referenceArray = &referenceCardArrayProvider_();
    if (context.referenceArray)
        context.sortContext = context.referenceArray;
    else if (dataController_)
        context.sortContext = &dataController_->cardArray();
    return context;
}

// ---- Revalidation and sorting

void UFemCardSetManager::waitOutHandOver()
{
    if (otherThreadChangeState_.load(std::memory_order_acquire) == idleState)
        return;
    std::unique_lock lock(otherThreadChangeLock_);
    otherThreadChangeCondition_.wait(
        lock, [this] { return otherThreadChangeState_.load() == idleState; });
}

void UFemCardSetManager::updateCardSetAndCardArrayContents()
{
    if (validness_.word() == 0)
        return;
    const UFemCardArray* referenceArray
        = referenceCardArrayProvider_ ? &referenceCardArrayProvider_() : nullptr;
    if (referenceArray == nullptr) {
        validness_.isCardSetNotValidForReferenceArray = 0;
        if (validness_.word() == 0)
            return;
    }
    if (validness_.isCardSetContentsNotValid)
        revalidateByIdentifier(referenceArray);
    else
        revalidateByReference(referenceArray);
    validness_ = {};
}

void UFemCardSetManager::revalidateByIdentifier(const UFemCardArray* referenceArray)
{
    const bool checksReference = validness_.isCardSetNotValidForReferenceArray != 0;
    cardArray_.clear();
    cardSet_.clear();
    // In identifier order, which stays the order of members the sort context lacks.
    std::vector<quint64> identifiers(
        cardIdentifierNumberIndexSet_.begin(), cardIdentifierNumberIndexSet_.end());
    std::sort(identifiers.begin(), identifiers.end());
    for (const quint64 identifier : identifiers) {
        UFemCardPtr card
            = dataController_ ? dataController_->cardWithCardIdentifierNumber(identifier) : nullptr;
        if (card && (!checksReference || holds(referenceArray, card))) {
            cardArray_.push_back(card);
            cardSet_.insert(std::move(card));
        } else {
            cardIdentifierNumberIndexSet_.erase(identifier);
        }
    }
    isCardArraySorted_ = false;
}

void UFemCardSetManager::revalidateByReference(const UFemCardArray* referenceArray)
{
    if (validness_.isCardArrayContentsNotValidForAny) {
        cardArray_.assign(cardSet_.begin(), cardSet_.end());
        isCardArraySorted_ = false;
    }
    if (referenceArray == nullptr)
        return;
    UFemCardVector kept;
    kept.reserve(cardArray_.size());
    for (UFemCardPtr& card : cardArray_) {
        if (referenceArray->containsObject(card)) {
            kept.push_back(std::move(card));
        } else {
            cardSet_.erase(card);
            cardIdentifierNumberIndexSet_.erase(card->cardIdentifierNumber());
        }
    }
    cardArray_ = std::move(kept);
}

void UFemCardSetManager::sortCardArray()
{
    sortCardArrayInContext(liveChangeContext().sortContext);
}

void UFemCardSetManager::sortCardArrayInContext(const UFemCardArray* sortContext)
{
    if (sortContext != nullptr
        && cardArray_.size() * walkedSortContextShare >= sortContext->count())
        sortCardArrayByWalking(*sortContext);
    else
        sortCardArrayByLookingUp(sortContext);
    isCardArraySorted_ = true;
}

// A look-up scans the context's child that holds the card: cheap for few members only.
void UFemCardSetManager::sortCardArrayByLookingUp(const UFemCardArray* sortContext)
{
    std::vector<std::pair<quint64, UFemCardPtr>> keyed;
    keyed.reserve(cardArray_.size());
    for (UFemCardPtr& card : cardArray_)
        keyed.emplace_back(sortKey(card, sortContext), std::move(card));
    std::stable_sort(
        keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        cardArray_[i] = std::move(keyed[i].second);
}

// The order the look-ups give: context order, then the members it lacks in their old order.
void UFemCardSetManager::sortCardArrayByWalking(const UFemCardArray& sortContext)
{
    std::unordered_map<const UFemCard*, size_t> unplaced;
    unplaced.reserve(cardArray_.size());
    for (size_t i = 0; i < cardArray_.size(); ++i)
        unplaced.emplace(cardArray_[i].get(), i);
    UFemCardVector sorted;
    sorted.reserve(cardArray_.size());
    ULargeArrayEnumerator<UFemCard> enumerator = sortContext.objectEnumerator();
    while (!unplaced.empty()) {
        const UFemCardPtr card = enumerator.nextObject();
        if (card == nullptr)
            break;
        const auto found = unplaced.find(card.get());
        if (found == unplaced.end())
            continue;
        sorted.push_back(std::move(cardArray_[found->second]));
        unplaced.erase(found);
    }
    for (UFemCardPtr& card : cardArray_) {
        if (card != nullptr && unplaced.contains(card.get()))
            sorted.push_back(std::move(card));
    }
    cardArray_ = std::move(sorted);
}

void UFemCardSetManager::insertIntoCardArray(
    const UFemCardPtr& card, const UFemCardArray* sortContext)
{
    const quint64 key = sortKey(card, sortContext);
    const auto place = std::upper_bound(cardArray_.begin(), cardArray_.end(), key,
        [sortContext](
            quint64 k, const UFemCardPtr& member) { return k < sortKey(member, sortContext); });
    cardArray_.insert(place, card);
}

void UFemCardSetManager::eraseFromCardArray(const UFemCard* card)
{
    const auto found = std::find_if(cardArray_.begin(), cardArray_.end(),
        [card](const UFemCardPtr& m) { return m.get() == card; });
    if (found != cardArray_.end())
        cardArray_.erase(found);
}

void UFemCardSetManager::emptyContents()
{
    cardIdentifierNumberIndexSet_.clear();
    cardArray_.clear();
    cardSet_.clear();
}

// A caller still holding the snapshot keeps it: it is shared.
void UFemCardSetManager::dropSnapshot()
{
    cardSet_immutable_.reset();
}

// ---- Readers

quint64 UFemCardSetManager::count()
{
    waitOutHandOver();
    updateCardSetAndCardArrayContents();
    return cardArray_.size();
}

bool UFemCardSetManager::containsCard(const UFemCardPtr& card)
{
    waitOutHandOver();
    updateCardSetAndCardArrayContents();
    return cardSet_.contains(card);
}

UFemCardPtr UFemCardSetManager::card()
{
    waitOutHandOver();
    updateCardSetAndCardArrayContents();
    return cardArray_.size() == 1 ? cardArray_.front() : nullptr;
}

const UFemCardSet& UFemCardSetManager::cardSet()
{
    waitOutHandOver();
    updateCardSetAndCardArrayContents();
    return cardSet_;
}

const UFemCardVector& UFemCardSetManager::unsortedCardArray()
{
    waitOutHandOver();
    updateCardSetAndCardArrayContents();
    return cardArray_;
}

const UFemCardVector& UFemCardSetManager::cardArray()
{
    waitOutHandOver();
    updateCardSetAndCardArrayContents();
    if (!isCardArraySorted_)
        sortCardArray();
    return cardArray_;
}

// Does not wait for a hand-over; the lock keeps it out of a worker's commit.
std::shared_ptr<const UFemCardSet> UFemCardSetManager::cardSet_immutable()
{
    std::lock_guard guard(otherThreadChangeLock_);
    if (!cardSet_immutable_) {
        updateCardSetAndCardArrayContents();
        cardSet_immutable_ = std::make_shared<const UFemCardSet>(cardSet_);
    }
    return cardSet_immutable_;
}
