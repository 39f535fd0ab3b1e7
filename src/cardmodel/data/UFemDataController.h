#pragma once

#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/data/UFemCalculationControl.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "cardmodel/data/UFemCardIdentifierTable.h"
#include "cardmodel/data/UFemCardTable.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "foundation/UFemNotFound.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QTimer;
class UFemDataControllerDelegate;
class UFemResultDataManager;
class UFemResultDataManager_ClipboardCardValue;
class UNotificationCenter;
class UThreadTaskContext;
class UUndoManager;
class UUnicharString;

// Rows as an index set: ascending, without repeats.
using UFemRowIndexSet = std::vector<quint64>;

inline constexpr quint64 UFemCardIdentifierNumberLimit = ~quint64(0);
inline constexpr quint64 UFemCardIdentifierNumberFirstWarningNumber = 0xC000000000000000ULL;
inline constexpr quint64 UFemCardIdentifierNumberSecondWarningNumber = 0xE000000000000000ULL;
inline constexpr quint64 UFemCardIdentifierNumberLastWarningNumber = 0xF000000000000000ULL;

// One structural model: its cards in row order, their names and identifier numbers, the result
// data and the pasted card values attached to it, and its locks. Every change of the cards goes
// through it, and it posts every model-data and result-data notification. Main thread only; the
// two value-range tasks it owns run on worker threads and are stopped before every change.
class UFemDataController final : public UFemCardDataController {
public:
    explicit UFemDataController(
        const UFemDataControllerServices& services = UFemDataControllerServices::shared());
    ~UFemDataController() override;
    UFemDataController(const UFemDataController&) = delete;
    UFemDataController& operator=(const UFemDataController&) = delete;

    void finish();
    // An independent model of the same cards (new identifier numbers from 0) and, when attached,
    // a copy of the result data; none of the document's links. A failure with the results is a
    // program error.
    std::unique_ptr<UFemDataController> copy() const;
    void reset();

    // ---- Links, none of them owned
    UUndoManager* undoManager() const { return undoManager_; }
    void setUndoManager(UUndoManager* undoManager) { undoManager_ = undoManager; }
    UNotificationCenter* notificationCenter() const { return notificationCenter_; }
    void setNotificationCenter(UNotificationCenter* notificationCenter)
    {
        notificationCenter_ = notificationCenter;
    }
    // The centre its notices go through: its own, else the default one.
    UNotificationCenter& modelNotificationCenter() const;
    UFemDataControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(UFemDataControllerDelegate* delegate) { delegate_ = delegate; }

    // ---- Accessors
    UFemResultDataManager* resultDataManager() const { return resultDataManager_.get(); }
    UFemResultDataManager_ClipboardCardValue* clipboardCardValueResultDataManager() const
    {
        return clipboardCardValueResultDataManager_.get();
    }
    UErrorPtr resultDataCalculationError() const;
    UFemCalculationControl* matrixCalculationContext() const
    {
        return matrixCalculationContext_.get();
    }
    void setMatrixCalculationContext(std::shared_ptr<UFemCalculationControl> context)
    {
        matrixCalculationContext_ = std::move(context);
    }
    quint64 lastEditedCardRowIndex() const { return lastEditedCardRowIndex_; }
    // Told the share (0 to 1) of a model text read so far, now and then while cards are read.
    void setReadingProgressHandler(std::function<void(double)> handler)
    {
        readingProgressHandler_ = std::move(handler);
    }
    UFemCardTable& cardTable() { return cardTable_; }
    UFemCardNameTable& cardNameTable() override { return cardNameTable_; }

    // ---- Cards
    quint64 cardCount() { return cardTable_.count(); }
    const UFemCardPtr& cardAtCardRowIndex(quint64 rowIndex)
    {
        return cardTable_.cardAtIndex(rowIndex);
    }
    const UFemCardArray& cardArray() { return cardTable_.cardArray(); }
    quint64 cardRowIndexOfCard(const UFemCard& card) const { return card.cardRowIndex(); }
    bool containsCard(const UFemCardPtr& card) { return cardTable_.containsCard(card); }
    const UFemCardArray& cardArrayOfCardType(qint32 cardType)
    {
        return cardTable_.cardArrayOfCardType(cardType);
    }
    const UFemCardArray& nodeCardArray() { return cardTable_.nodeCardArray(); }
    const UFemCardArray& elementCardArray() { return cardTable_.elementCardArray(); }
    const UFemCardArray& caseCardArray() { return cardTable_.caseCardArray(); }
    const UFemCardArray& restraintCardArray() { return cardTable_.restraintCardArray(); }
    const UFemCardArray& forceCardArray() { return cardTable_.forceCardArray(); }
    const UFemCardArray& coordCardArray() { return cardTable_.coordCardArray(); }
    const UFemCardArray& errorCardArray();
    UFemCardEnumerator cardEnumerator() const { return cardTable_.cardEnumerator(); }
    // nullptr when no card has the number.
    UFemCardPtr cardWithCardIdentifierNumber(quint64 cardIdentifierNumber) const;
    void insertCaseMenuItemToMenu(std::vector<UFemMenuItemDescription>& menu, qsizetype index)
    {
        cardTable_.insertCaseMenuItemToMenu(menu, index);
    }
    UFemCardPtr caseCardOfCaseMenuTag(qint64 tag) { return cardTable_.caseCardOfCaseMenuTag(tag); }
    qint64 caseMenuTagOfCaseCard(const UFemCardPtr& card)
    {
        return cardTable_.caseMenuTagOfCaseCard(card);
    }
    QString caseNameStringOfCaseMenuTag(qint64 tag)
    {
        return cardTable_.caseNameStringOfCaseMenuTag(tag);
    }
    qint64 caseMenuTagOfCaseNameString(const QString& name)
    {
        return cardTable_.caseMenuTagOfCaseNameString(name);
    }
    [[nodiscard]] std::shared_ptr<UFemCardName> searchCardNameWithCardNameString(
        const QString& cardNameString, UErrorPtr* error) const;
    [[nodiscard]] bool containsCardNameWithCardNameString(
        const QString& cardNameString, UErrorPtr* error) const;
    std::vector<UFemCard*> cardArrayWithCardNameString(
        const QString& cardNameString, UErrorPtr* error) const;
    QString modelTextOfAllCards();

    // ---- Locks
    bool isLocked() const { return lockFlag_outside_ != 0 || lockFlag_inside_ != 0; }
    bool isLockedInside() const { return lockFlag_inside_ != 0; }
    bool isLockedOutside() const { return lockFlag_outside_ != 0; }
    void setLockedOutside(bool isLocked) { lockFlag_outside_ = isLocked ? 1 : 0; }
    bool hasResultData() const override { return (lockFlag_inside_ & resultDataLockBit) != 0; }
    bool isModelDataSelfLocked() const { return (lockFlag_inside_ & selfLockBit) != 0; }
    void setModelDataSelfLocked(bool isLocked);
    // nullptr when the model may be edited.
    UErrorPtr errorIfLocked() const;

    // ---- Result data and pasted card values
    [[nodiscard]] bool setResultDataManager(
        std::shared_ptr<UFemResultDataManager> resultDataManager, bool doesAllowCalculationError,
        UErrorPtr* error);
    [[nodiscard]] bool setClipboardCardValueResultDataManager(
        std::shared_ptr<UFemResultDataManager_ClipboardCardValue> manager, UErrorPtr* error);
    [[nodiscard]] bool loadClipboardCardValueWithClipboardCardValueString(
        const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error);

    // ---- Bounding box of the Node cards: xmin, xmax, ymin, ymax, zmin, zmax
    void getObjectSize(double objectSize[6]);
    // A box kept through small edits.
    void getObjectSize_rough(double objectSize[6]);

    // ---- Card identifier numbers
    quint64 nextCardIdentifierNumber() const { return nextCardIdentifierNumber_; }
    // For the copy and for tests of the limits; never below a number in use.
    void setNextCardIdentifierNumber(quint64 number);
    quint64 nextCardIdentifierNumberWarningNumber() const
    {
        return nextCardIdentifierNumberWarningNumber_;
    }
    bool isNextCardIdentifierNumberWarningTimerEnabled() const
    {
        return isNextCardIdentifierNumberWarningTimerEnabled_;
    }

    // ---- Reading model text
    [[nodiscard]] bool resetWithModelText(const QString& modelText,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    [[nodiscard]] bool resetWithModelText(
        const QString& modelText, bool doesUseErrorCard, UErrorPtr* error);
    [[nodiscard]] bool resetWithCardTextColumnsArray(
        const std::vector<UFemCardTextColumnsPtr>& cardTextColumnsArray, bool doesUseErrorCard,
        UErrorPtr* error);
    // One edit: lock check, notifications, the reading, the action's name. Returns the cards added
    // (0 on error). Row UFemNotFound adds after the last card.
    quint64 addCardsWithModelText(const QString& modelText,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, quint64 rowIndex,
        bool doesUseErrorCard, UErrorPtr* error);

    // ---- Steps the edits are built of
    void quitAllBackgroundThreadIfCalculating();
    void clearAllBackgroundThreadIfCanceled();
    void clearForceValueRangeCache();
    void clearDisplacementValueRangeCache();
    UThreadTaskContext& forceValueRangeCalcThreadTaskContext()
    {
        return *forceValueRangeCalcThreadTaskContext_;
    }
    UThreadTaskContext& displacementValueRangeCalcThreadTaskContext()
    {
        return *displacementValueRangeCalcThreadTaskContext_;
    }
    // Names the open undo step, unless undoing or redoing.
    void setUndoActionName(const QString& actionName);

    // ---- Editing: each public edit refuses a locked model, posts the will-change pair, makes the
    // change, names the undo action and posts the did-change pair; its inverse goes to the undo
    // manager. Rows out of range and mismatched counts are program errors raised before anything
    // is posted. Several cards: the first error stops the run, the cards done before it stay done.
    quint64 addCardsWithModelText(
        const QString& modelText, quint64 rowIndex, bool doesUseErrorCard, UErrorPtr* error);
    // Records at rowIndex, rowIndex + 1, ...; rowIndex must be a row (at most the count).
    [[nodiscard]] bool addCardsWithCardTextColumnsArray(
        const std::vector<UFemCardTextColumnsPtr>& cardTextColumnsArray, quint64 rowIndex,
        bool doesUseErrorCard, UErrorPtr* error);
    // Row UFemNotFound adds after the last card. With error cards the record may take an error.
    [[nodiscard]] bool addCardWithCardTextColumns(UFemCardTextColumns& cardTextColumns,
        quint64 rowIndex, bool doesUseErrorCard, UErrorPtr* error);
    // A failed modify leaves the old card at the row, its names bound and its number kept.
    [[nodiscard]] bool modifyCardAtIndex(quint64 rowIndex, UFemCardTextColumns& cardTextColumns,
        bool doesUseErrorCard, UErrorPtr* error);
    // The string holds one line, which may end in one LF or CR.
    [[nodiscard]] bool modifyCardAtIndex(quint64 rowIndex, const QString& cardString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    // Both return the card's row, UFemNotFound on error.
    quint64 modifyCardOfCard(const UFemCard& card, UFemCardTextColumns& cardTextColumns,
        bool doesUseErrorCard, UErrorPtr* error);
    quint64 modifyCardOfCard(const UFemCard& card, const QString& cardString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    // The rows of the cards; nullopt on error.
    [[nodiscard]] std::optional<UFemRowIndexSet> modifyCardsInCardArray(
        const std::vector<UFemCardPtr>& targetCardArray, const QStringList& cardStringArray,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    [[nodiscard]] bool modifyCardsAtIndexSet(const UFemRowIndexSet& rowIndexSet,
        const QStringList& cardStringArray,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    [[nodiscard]] bool removeCardAtIndex(quint64 rowIndex, UErrorPtr* error);
    [[nodiscard]] bool removeCardsAtIndexSet(const UFemRowIndexSet& rowIndexSet, UErrorPtr* error);
    // The card's row, UFemNotFound on error.
    quint64 removeCard(const UFemCard& card, UErrorPtr* error);
    [[nodiscard]] bool removeCardsWithCardArray(
        const std::vector<UFemCardPtr>& cardArray, UErrorPtr* error);
    // Replaces the one card that defines the record's card name.
    [[nodiscard]] bool overwriteCardWithCardTextColumns(
        UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error);
    // Renames the name in every column that defines or refers to it.
    [[nodiscard]] bool changeCardNameFromCardNameString(
        const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error);
    // Every column holding the old name is made to hold the new one; each card is re-made once.
    [[nodiscard]] bool mergeCardNameFromCardNameString(
        const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error);
    [[nodiscard]] bool mergeCardNameFromCardNameStringArray(
        const QStringList& oldCardNameStringArray, const QStringList& newCardNameStringArray,
        UErrorPtr* error);

    // ---- UFemCardDataController: row reads that may run on worker threads
    quint64 numberOfCards() const override { return cardTable_.rowArray().count(); }
    UFemCard* cardAtRowIndex(quint64 rowIndex) const override;
    const UFemClipboardCardValueManager* clipboardCardValueManager() const override;

private:
    // Tests reach the private steps through it.
    friend class UFemDataControllerTestPeer;

    // ---- Card identifier numbers
    // False with the limit error when `cardCount` more numbers do not fit; may schedule a warning.
    [[nodiscard]] bool _checkCardIdentifierNumberLimitAndMakeWarningOrErrorWithCardCount(
        quint64 cardCount, UErrorPtr* error);
    void _displayCardIdentifierNumberLimitWarningAlert();

    // ---- Reading model text
    quint64 _addCardsWithModelText(const QString& modelText,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, quint64 rowIndex,
        bool doesUseErrorCard, UErrorPtr* error);
    // The card of the line at *unicharIndex (left on the line's end); with error cards a line that
    // does not read becomes an ErrorCard keeping it.
    [[nodiscard]] UFemCardPtr _makeCardWithModelUnicharString(
        const UUnicharString& modelUnicharString, quint64* unicharIndex,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    // On failure with error cards, the record takes the error.
    [[nodiscard]] UFemCardPtr _makeCardWithCardTextColumns(
        UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error);

    // ---- Steps the edits are built of
    // Adds a card of each record at the row of the same position (rows ascending); a record's
    // own identifier number is kept when it is free. Registers the removal as undo action.
    [[nodiscard]] bool _addCardWithCardTextColumnsArray(
        const std::vector<UFemCardTextColumnsPtr>& cardTextColumnsArray,
        const UFemRowIndexSet& rowIndexSet, bool doesUseErrorCard, UErrorPtr* error);
    // Registers the re-adding of the removed cards, with their identifier numbers, as undo action.
    [[nodiscard]] bool _removeCardsAtIndexSet(const UFemRowIndexSet& rowIndexSet, UErrorPtr* error);
    void _notifyModelDataWillChange();
    void _notifyModelDataDidChange();
    // ---- Private edits: the change and its undo record, without notifications
    [[nodiscard]] bool _addCardWithCardTextColumns(UFemCardTextColumns& cardTextColumns,
        quint64 rowIndex, bool doesUseErrorCard, UErrorPtr* error);
    [[nodiscard]] bool _removeCardAtIndex(quint64 rowIndex, UErrorPtr* error);
    [[nodiscard]] bool _modifyCardAtIndex(quint64 rowIndex, UFemCardTextColumns& cardTextColumns,
        bool doesUseErrorCard, UErrorPtr* error);
    [[nodiscard]] bool _modifyCardAtIndex(quint64 rowIndex, const QString& cardString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    [[nodiscard]] bool _overwriteCardWithCardTextColumns(
        UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error);
    [[nodiscard]] bool _changeCardNameFromCardNameString(
        const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error);
    [[nodiscard]] bool _mergeCardNameFromCardNameString(
        const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error);
    // The lock check and the will/did-change bracket of one public edit; the did-change is posted
    // even when the change raises. `change` returns false with its error; `actionName` names the
    // step after success, `abortedActionName` after a failure or a refusal.
    [[nodiscard]] bool runEdit(const QString& actionName, const char* abortedActionName,
        const std::function<bool(UErrorPtr*)>& change, UErrorPtr* error);
    // Posts the will-change when made and the did-change when it leaves scope, also when a step
    // raises, so that observers are never left inside an open change.
    class ModelDataChange {
    public:
        explicit ModelDataChange(UFemDataController& controller);
        ~ModelDataChange() noexcept(false);
        ModelDataChange(const ModelDataChange&) = delete;
        ModelDataChange& operator=(const ModelDataChange&) = delete;

    private:
        UFemDataController& controller_;
        int exceptionsAtStart_;
    };

    [[nodiscard]] bool resetWithCards(
        quint64 capacity, const std::function<UErrorPtr()>& addCards, UErrorPtr* error);
    static constexpr quint64 resultDataLockBit = 1;
    static constexpr quint64 selfLockBit = 2;

    void post(const QString& name) const;
    void postResultDataAndModelDataWillChange() const;
    void postModelDataAndResultDataDidChange() const;
    void postResultDataDidChange() const;
    void resetNodeNoAndCaseNo();
    UErrorPtr attachResultDataManager(
        std::shared_ptr<UFemResultDataManager> manager, bool doesAllowCalculationError);
    void emptyModel();
    void updateObjectSize();
    void applyRoughObjectSizeRule();
    void enterCard(const UFemCardPtr& card, quint64 cardIdentifierNumber);
    quint64 identifierNumberForRecord(const UFemCardTextColumns& record);
    void registerUndo(std::function<void(UFemDataController&)> action);
    void scheduleCardIdentifierNumberLimitWarning(quint64 cardCount);
    [[nodiscard]] bool addCardsWithModelTextThenFinish(const QString& modelText,
        UFemColumnSeparatingCharacterType type, bool doesUseErrorCard, UErrorPtr* error);
    // Reading one line: nullptr error on success. `card` is set once a card was made.
    UErrorPtr readCardFromLine(const UUnicharString& source, quint64& index,
        UFemColumnSeparatingCharacterType type, UFemCardPtr& card);
    UErrorPtr readColumnsOfCard(const UUnicharString& source, quint64& index,
        UFemColumnSeparatingCharacterType type, UFemCard& card, char16_t& stop);
    UFemCardPtr makeErrorCardFromLine(const UUnicharString& source, quint64 startIndex,
        quint64* unicharIndex, UFemColumnSeparatingCharacterType type, const UErrorPtr& lineError);
    UFemCardPtr makeErrorCardFromRecord(const UFemCardTextColumns& record);
    // Replaces the card at the row by the one `makeNewCard` gives; without one, puts the old card
    // back as it was.
    [[nodiscard]] bool replaceCardAtIndex(quint64 rowIndex,
        const std::function<UFemCardPtr(UErrorPtr*)>& makeNewCard, UErrorPtr* error);
    [[nodiscard]] UFemCardPtr makeCardFromOneLine(quint64 rowIndex, const QString& cardString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
        UErrorPtr* error);
    UErrorPtr mergeCardNameOfCard(const UFemCardPtr& card,
        const std::vector<quint64>& columnIndexes, const UFemCardName& oldCardName,
        const QString& newCardNameString);
    void beep() const;

    const UFemDataControllerServices services_;
    quint64 lockFlag_outside_ = 0;
    quint64 lockFlag_inside_ = 0;
    UFemDataControllerDelegate* delegate_ = nullptr;
    UFemCardTable cardTable_;
    UFemCardNameTable cardNameTable_;
    quint64 nextCardIdentifierNumber_ = 0;
    quint64 nextCardIdentifierNumberWarningNumber_ = UFemCardIdentifierNumberFirstWarningNumber;
    bool isNextCardIdentifierNumberWarningTimerEnabled_ = false;
    UFemCardIdentifierTable cardIdentifierNumberDictionary_;
    std::shared_ptr<UFemResultDataManager> resultDataManager_;
    std::shared_ptr<UFemResultDataManager_ClipboardCardValue> clipboardCardValueResultDataManager_;
    std::shared_ptr<UFemCalculationControl> matrixCalculationContext_;
    UUndoManager* undoManager_ = nullptr;
    UNotificationCenter* notificationCenter_ = nullptr;
    quint64 lastEditedCardRowIndex_ = UFemNotFound;
    std::function<void(double)> readingProgressHandler_;
    bool isObjectSizeValid_ = false;
    double objectSize_[6] = {};
    bool isObjectSizeValid_rough_ = false;
    double objectSize_rough_[6] = {};
    quint64 objectSize_rough_previousNodeCount_ = 0;
    quint64 objectSize_rough_modelDataChangeCount_ = 0;
    std::unique_ptr<UThreadTaskContext> forceValueRangeCalcThreadTaskContext_;
    std::unique_ptr<UThreadTaskContext> displacementValueRangeCalcThreadTaskContext_;
    std::unique_ptr<QTimer> cardIdentifierNumberWarningTimer_;
    // Undo actions and the deferred warning hold it weakly, so that they do nothing once the
    // controller is gone.
    std::shared_ptr<UFemDataController*> lifeToken_;
};

// The length of the diagonal of a box in the layout above.
double UFemBoundingBoxDiagonal(const double boundingBox[6]);
