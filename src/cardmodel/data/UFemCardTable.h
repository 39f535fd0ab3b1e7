#pragma once

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemMenuItemDescription.h"
#include "foundation/containers/ULargeArray.h"

#include <QString>

#include <array>
#include <atomic>
#include <optional>
#include <vector>

using UFemCardPtr = std::shared_ptr<UFemCard>;
using UFemCardArray = ULargeArray<UFemCard>;
using UFemCardEnumerator = ULargeArrayEnumerator<UFemCard>;

// The tag of the first Case card in a case menu; the others follow in row order.
inline constexpr qint64 UFemCaseMenuFirstTag = 1000;

// Every card of one model in row order, and beside it the cards of each card type in row order.
// The per-type arrays follow single edits card by card; after 129 edits without a read they are
// dropped and rebuilt once, at the next request, so bulk changes pay for one rebuild only.
//
// Main thread only, except the row reads of rowArray(), which worker threads may use while no
// one changes the table.
class UFemCardTable {
public:
    static constexpr qint32 cardTypeArrayCount = 15;
    // Unread changes applied card by card; the next one drops the per-type arrays.
    static constexpr quint64 maximumIncrementalChangeCount = 128;

    UFemCardTable();
    ~UFemCardTable();
    UFemCardTable(const UFemCardTable&) = delete;
    UFemCardTable& operator=(const UFemCardTable&) = delete;

    // Replaces all arrays by empty ones sized for about `capacity` cards.
    void resetWithCapacity(quint64 capacity);
    void removeAllCards();
    void finish() { removeAllCards(); }

    // Never fail; a row beyond the count is a program error.
    [[nodiscard]] bool addCard(UFemCardPtr card, UErrorPtr* error);
    [[nodiscard]] bool insertCard(UFemCardPtr card, quint64 rowIndex, UErrorPtr* error);
    // Puts `card` in the place of the card at the row, which it returns; no other card moves.
    UFemCardPtr replaceCardAtIndex(quint64 rowIndex, UFemCardPtr card);
    // Returns the removed card, so that the caller may keep it alive.
    [[nodiscard]] UFemCardPtr removeCardAtIndex(quint64 rowIndex, UErrorPtr* error);

    // Reads: each resets the count of unread changes.
    quint64 count();
    const UFemCardArray& cardArray();
    bool containsCard(const UFemCardPtr& card);
    quint64 indexOfCard(const UFemCardPtr& card);
    const UFemCardPtr& cardAtIndex(quint64 rowIndex);
    const UFemCardArray& cardArrayOfCardType(qint32 cardType);
    const UFemCardArray& nodeCardArray();
    const UFemCardArray& elementCardArray();
    const UFemCardArray& caseCardArray();
    const UFemCardArray& restraintCardArray();
    const UFemCardArray& forceCardArray();
    const UFemCardArray& coordCardArray();
    // Not a read in the sense above.
    UFemCardEnumerator cardEnumerator() const { return cardArray_->objectEnumerator(); }
    // The rows without counting as a read, for row lookups on any thread.
    const UFemCardArray& rowArray() const { return *cardArray_; }

    // Case menus: one item per Case card, tagged from UFemCaseMenuFirstTag in row order.
    void insertCaseMenuItemToMenu(std::vector<UFemMenuItemDescription>& menu, qsizetype index);
    UFemCardPtr caseCardOfCaseMenuTag(qint64 tag);
    QString caseNameStringOfCaseMenuTag(qint64 tag);
    qint64 caseMenuTagOfCaseCard(const UFemCardPtr& caseCard);
    qint64 caseMenuTagOfCaseNameString(const QString& caseNameString);

    bool isCardTypeCardArrayTableValid() const { return isCardTypeCardArrayTableValid_; }
    quint64 changeCountAfterRead() const
    {
        return changeCountAfterRead_.load(std::memory_order_relaxed);
    }

private:
    void noteRead() { changeCountAfterRead_.store(0, std::memory_order_relaxed); }
    // Counts one change; false when the per-type arrays must be dropped instead of followed.
    bool countChangeAndKeepTypeArrays();
    UFemCardArray& typeArrayOfCard(const UFemCard& card);
    // Where the card at `rowIndex` stands (or would stand) in its type's array.
    quint64 typeArrayPositionOfRow(const UFemCardArray& array, quint64 rowIndex) const;
    void insertIntoTypeArray(const UFemCardPtr& card, quint64 rowIndex);
    void rebuildCardTypeCardArrayTable();

    std::optional<UFemCardArray> cardArray_;
    std::array<std::optional<UFemCardArray>, cardTypeArrayCount> cardTypeCardArrayTable_;
    bool isCardTypeCardArrayTableValid_ = false;
    // Atomic: row reads from worker threads reset it too.
    std::atomic<quint64> changeCountAfterRead_ { 0 };
};

// The order of sorted insertions: -1 when a stands before b in the array, otherwise 1 (never 0).
// A card not in the array sorts after every card that is.
int UFemCompareByIndexInArray(
    const UFemCardPtr& a, const UFemCardPtr& b, const UFemCardArray& array);

// {min x, max x, min y, max y, min z, max z} over the Node cards' locations; all zero for none.
void UFemGetNodeBoundingBox(double boundingBox[6], const UFemCardArray& nodeCardArray);
