#pragma once

#include "cardmodel/data/UFemCardTable.h"
#include "platform/UNotificationCenter.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_set>
#include <vector>

class UFemDataController;

using UFemCardSet = std::unordered_set<UFemCardPtr>;
using UFemCardVector = std::vector<UFemCardPtr>;
// Gives the current reference list of a card set; read each time it is needed.
using UFemReferenceCardArrayProvider = std::function<const UFemCardArray&()>;

// Posted by a card set manager (the sender) around every change of its members, on its data
// controller's centre: the public will-change before its private twin, the public did-change
// after it.
inline const QString UFemCardSetWillChangeNotification
    = QStringLiteral("UFemCardSetWillChangeNotification");
inline const QString UFemCardSetWillChangeNotification_private
    = QStringLiteral("UFemCardSetWillChangeNotification_private");
inline const QString UFemCardSetDidChangeNotification_private
    = QStringLiteral("UFemCardSetDidChangeNotification_private");
inline const QString UFemCardSetDidChangeNotification
    = QStringLiteral("UFemCardSetDidChangeNotification");

// Three one-byte flags; word() is zero exactly when all three are clear.
struct _UFemCardSetContentValidness {
    // The model changed: members must be looked up again by identifier number.
    quint8 isCardSetContentsNotValid = 0;
    // The reference list changed: members it does not hold must go.
    quint8 isCardSetNotValidForReferenceArray = 0;
    // The ordered list is stale and must be rebuilt from the set.
    quint8 isCardArrayContentsNotValidForAny = 0;

    quint64 word() const
    {
        return quint64(isCardSetContentsNotValid) | quint64(isCardSetNotValidForReferenceArray) << 8
            | quint64(isCardArrayContentsNotValidForAny) << 16;
    }
};

// An observable set of cards of one model (a window's selection, its current cases). Membership
// is decided by card identifier number, so cards the model dropped leave at the next read, as do
// cards that leave the reference list. Every change posts the will pair before and the did pair
// after it.
//
// Main thread only, except the hand-over: the main thread prepares one change, a worker commits
// it under the lock, the main thread finishes it. The worker works on the reference list (or the
// model's rows) as they stood when the change was prepared, never on the live list.
class UFemCardSetManager {
public:
    UFemCardSetManager();
    explicit UFemCardSetManager(UFemDataController* dataController);
    virtual ~UFemCardSetManager();
    UFemCardSetManager(const UFemCardSetManager&) = delete;
    UFemCardSetManager& operator=(const UFemCardSetManager&) = delete;

    // The data controller is not owned; it outlives its windows.
    void setDataController(UFemDataController* dataController);
    UFemDataController* dataController() const { return dataController_; }
    // Without a base object or a provider the reference list is detached. The names are those the
    // base object posts around changes of the list; each may be absent.
    void setReferenceCardArrayBaseObject(const void* baseObject,
        UFemReferenceCardArrayProvider provider, const std::optional<QString>& willChangeName,
        const std::optional<QString>& didChangeName,
        const std::optional<QString>& willChangeName_private,
        const std::optional<QString>& didChangeName_private);
    void finish();
    // Where the manager posts; nullptr when there is no data controller or it has no centre.
    UNotificationCenter* notificationCenter() const;

    // ---- Readers: each waits out a hand-over and revalidates, except cardSet_immutable.
    quint64 count();
    bool containsCard(const UFemCardPtr& card);
    // The member when there is exactly one.
    UFemCardPtr card();
    const UFemCardSet& cardSet();
    const UFemCardVector& unsortedCardArray();
    // In reference (or model) order.
    virtual const UFemCardVector& cardArray();
    std::shared_ptr<const UFemCardSet> cardSet_immutable();

    // ---- Mutators (main thread)
    void removeAllCards();
    void setCard(const UFemCardPtr& card);
    void setCardArray(const UFemCardVector& cards);
    void setCardSet(const UFemCardSet& cards);
    void addCard(const UFemCardPtr& card);
    void addCardArray(const UFemCardVector& cards);
    void addCardSet(const UFemCardSet& cards);
    void removeCard(const UFemCardPtr& card);
    void removeCardArray(const UFemCardVector& cards);
    void removeCardSet(const UFemCardSet& cards);

    // ---- Hand-over of one change to a worker thread
    // Main thread: posts the will pair, returns the change's identifier.
    quint64 prepareChangeByOtherThread();
    // Worker thread: commit the prepared change; they post nothing.
    void setCardArrayOrCardSetByOtherThread(const UFemCardVector& cards, quint64 changeIdentifier);
    void setCardArrayOrCardSetByOtherThread(const UFemCardSet& cards, quint64 changeIdentifier);
    void addCardArrayOrCardSetByOtherThread(const UFemCardVector& cards, quint64 changeIdentifier);
    void addCardArrayOrCardSetByOtherThread(const UFemCardSet& cards, quint64 changeIdentifier);
    void removeCardArrayOrCardSetByOtherThread(
        const UFemCardVector& cards, quint64 changeIdentifier);
    void removeCardArrayOrCardSetByOtherThread(const UFemCardSet& cards, quint64 changeIdentifier);
    // Main thread: waits for the commit, posts the did pair.
    void waitFinishChangeByOtherThreadWithChangeIdentifier(quint64 changeIdentifier);

    _UFemCardSetContentValidness cardSetContentValidness() const { return validness_; }
    bool isCardArraySorted() const { return isCardArraySorted_; }

protected:
    // Bulk changes of fewer cards than this keep the list sorted card by card.
    static constexpr size_t sortedChangeCardCountLimit = 20;

private:
    enum class CommitKind { set, add, remove };
    // The reference list and sort context a change works with.
    struct ChangeContext {
        const UFemCardArray* referenceArray = nullptr;
        const UFemCardArray* sortContext = nullptr;
    };

    void waitOutHandOver();
    void updateCardSetAndCardArrayContents();
    void revalidateByIdentifier(const UFemCardArray* referenceArray);
    void revalidateByReference(const UFemCardArray* referenceArray);
    void sortCardArray();
    void sortCardArrayInContext(const UFemCardArray* sortContext);
    void sortCardArrayByLookingUp(const UFemCardArray* sortContext);
    void sortCardArrayByWalking(const UFemCardArray& sortContext);
    ChangeContext liveChangeContext();
    template <typename Cards>
    void _setCardArrayOrCardSet(const Cards& cards, const ChangeContext& context);
    template <typename Cards>
    void _addCardArrayOrCardSet(const Cards& cards, const ChangeContext& context);
    template <typename Cards> void _removeCardArrayOrCardSet(const Cards& cards);
    template <typename Cards>
    void commitByOtherThread(const Cards& cards, quint64 changeIdentifier, CommitKind kind);
    template <typename Cards> void changeWithNotifications(const Cards& cards, CommitKind kind);
    void insertIntoCardArray(const UFemCardPtr& card, const UFemCardArray* sortContext);
    void eraseFromCardArray(const UFemCard* card);
    void emptyContents();
    void dropSnapshot();
    void postWillPair() const;
    void postDidPair() const;
    void detachReference();
    void observeDataController();

    _UFemCardSetContentValidness validness_ {};
    bool isCardArraySorted_ = false;
    // Hashed: a selection of a whole large model fills it in one change.
    std::unordered_set<quint64> cardIdentifierNumberIndexSet_;
    UFemCardVector cardArray_;
    UFemCardSet cardSet_;
    std::shared_ptr<const UFemCardSet> cardSet_immutable_;
    UFemDataController* dataController_ = nullptr;
    UNotificationCenter* observedCenter_ = nullptr;
    std::vector<UNotificationObservation> dataControllerObservations_;
    const void* referenceCardArrayBaseObject_ = nullptr;
    UFemReferenceCardArrayProvider referenceCardArrayProvider_;
    std::optional<QString> referenceWillChangeName_;
    std::optional<QString> referenceDidChangeName_;
    std::optional<QString> referenceWillChangeName_private_;
    std::optional<QString> referenceDidChangeName_private_;
    std::vector<UNotificationObservation> referenceObservations_;
    // Guards the hand-over state and, while a hand-over is open, every member above.
    mutable std::mutex otherThreadChangeLock_;
    std::condition_variable otherThreadChangeCondition_;
    // Read without the lock first, to skip the lock when idle.
    std::atomic<quint64> otherThreadChangeState_ { 0 };
    quint64 otherThreadChangeIdentifier_ = 0;
    // The list (reference list, else the model's rows) taken on the main thread when the change
    // was prepared: the worker's reference and sort context.
    std::optional<UFemCardArray> otherThreadReferenceSnapshot_;
    bool hasOtherThreadReference_ = false;
};
