#pragma once

#include "foundation/UFemNotFound.h"
#include "foundation/containers/UPointerHashMap.h"
#include "foundation/errors/UError.h"
#include "foundation/strings/UCompactString.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class UFemCard;
class UFemCardColumn;
class UFemCardNameTable;

// The flags of a card name; only hasCard, hasNameRef and allowedHaveSomeCard are ever set.
enum UFemCardNameFlag : quint32 {
    UFemCardNameFlagHasCard = 1u << 0,
    UFemCardNameFlagHasNameRef = 1u << 1,
    UFemCardNameFlagDuringRegister = 1u << 2,
    UFemCardNameFlagAllowedHaveOneCard = 1u << 8,
    UFemCardNameFlagAllowedHaveSomeCard = 1u << 9,
};

// Columns by identity, in no particular order; adding and removing are constant time. Most sets
// hold a handful of columns, which a scan finds faster than a hash; the position map is built
// for a large set on its first removal, so that reading a model, which only adds, hashes no
// column of a name that half a million cards refer to.
class UFemCardColumnSet {
public:
    bool contains(UFemCardColumn* column) const { return positionOf(column) != UFemNotFound; }
    // A column joins a set it is not in: a column binds its name once per text it is given.
    void insert(UFemCardColumn* column);
    // Allocates nothing that can fail: cards leave their names while they are destroyed.
    bool erase(UFemCardColumn* column) noexcept;
    bool isEmpty() const { return columns_.empty(); }
    const std::vector<UFemCardColumn*>& columns() const { return columns_; }

private:
    static constexpr std::size_t largestScannedSetSize = 32;

    std::size_t positionOf(UFemCardColumn* column) const;
    void makePositions();
    void makePositionsOrScan() noexcept;

    std::vector<UFemCardColumn*> columns_;
    // Null while the set is scanned.
    std::unique_ptr<UPointerHashMap<UFemCardColumn, std::size_t>> positions_;
};

// One name text of a model: the columns that define it and the columns that refer to it. Held
// by the columns that use it and, while valid, by its table; its link to the table is not owning.
class UFemCardName : public std::enable_shared_from_this<UFemCardName> {
public:
    explicit UFemCardName(UFemCardNameTable* cardNameTable);
    UFemCardName(const UFemCardName&) = delete;
    UFemCardName& operator=(const UFemCardName&) = delete;

    // The one defining card; raises for a name several cards may carry.
    UFemCard* card() const;
    // The defining cards in row order; empty without a defining card.
    std::vector<UFemCard*> cardArray() const;
    QString cardNameString() const { return cardNameString_.toString(); }
    bool hasCardNameString(QStringView text) const { return cardNameString_.equals(text); }
    // Whether a card referring to this name, or one referring to that card's name and so on,
    // carries `cardName`.
    bool isLinkedFromCardName(const UFemCardName* cardName) const;
    bool isLinkedFromCardNameArray(const std::vector<const UFemCardName*>& cardNameArray) const;

    bool isValid() const { return hasCard() || hasNameRef(); }
    bool hasCard() const { return (cardNameFlag_ & UFemCardNameFlagHasCard) != 0; }
    bool hasNameRef() const { return (cardNameFlag_ & UFemCardNameFlagHasNameRef) != 0; }
    bool isAllowedHaveSomeCard() const
    {
        return (cardNameFlag_ & UFemCardNameFlagAllowedHaveSomeCard) != 0;
    }
    qint32 cardType() const { return cardType_; }
    UFemCardColumn* cardColumn() const { return cardColumn_; }
    const UFemCardColumnSet* cardColumnSet() const { return cardColumnSet_.get(); }
    const UFemCardColumnSet* nameRefCardColumnSet() const
    {
        return refCardColumnSet_.isEmpty() ? nullptr : &refCardColumnSet_;
    }
    // The cards owning the referring columns, each once, in row order; empty when none.
    std::vector<UFemCard*> nameRefCardArray() const;
    UFemCardNameTable* cardNameTable() const { return cardNameTable_; }
    void _setCardNameString(QStringView cardNameString) { cardNameString_.assign(cardNameString); }

    // Called by the columns only.
    [[nodiscard]] bool addCardNameColumn(UFemCardColumn* column, qint32 cardType, UErrorPtr* error);
    [[nodiscard]] bool addNameRefCardColumn(
        UFemCardColumn* column, qint32 cardType, UErrorPtr* error);
    void removeCardNameColumn(UFemCardColumn* column);
    void removeNameRefCardColumn(UFemCardColumn* column);

    // The table is going away: names still held by columns forget it.
    void detachFromCardNameTable() { cardNameTable_ = nullptr; }

private:
    // Reads the text in place, without a copy per probe.
    friend class UFemCardNameIndex;

    [[nodiscard]] bool checkCardType(qint32 cardType, UErrorPtr* error) const;
    void enterCardNameTable(qint32 cardType, bool isAllowedHaveSomeCard);
    void leaveCardNameTableIfInvalid();
    void setFlag(quint32 flag, bool on);
    bool isLinkedFrom(const std::function<bool(const UFemCardName*)>& isTarget) const;

    // A model holds about one name per card: the fields are ordered to leave no holes.
    quint32 cardNameFlag_ = 0;
    qint32 cardType_ = 0;
    // Most names are short: kept in place, a name costs no allocation of its own.
    UCompactString cardNameString_;
    UFemCardColumn* cardColumn_ = nullptr;
    // Names several cards may carry only; null while there is no defining column.
    std::unique_ptr<UFemCardColumnSet> cardColumnSet_;
    // Empty while no column refers to the name.
    UFemCardColumnSet refCardColumnSet_;
    UFemCardNameTable* cardNameTable_;
};

// Orders cards by row, cards outside the model last by identifier number.
void UFemSortCardsByRowIndex(std::vector<UFemCard*>& cards);
