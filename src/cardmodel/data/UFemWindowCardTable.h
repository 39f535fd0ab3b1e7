#pragma once

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemCardTable.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "foundation/UFemNotFound.h"
#include "platform/UNotificationCenter.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

class UFemDataController;

// Posted by a window card table (the sender) around every change of what it shows: the public
// will-change before its private twin, the public did-change after it.
inline const QString UFemWindowCardTableWillChangeNotification
    = QStringLiteral("UFemWindowCardTableWillChangeNotification");
inline const QString UFemWindowCardTableWillChangeNotification_private
    = QStringLiteral("UFemWindowCardTableWillChangeNotification_private");
inline const QString UFemWindowCardTableDidChangeNotification_private
    = QStringLiteral("UFemWindowCardTableDidChangeNotification_private");
inline const QString UFemWindowCardTableDidChangeNotification
    = QStringLiteral("UFemWindowCardTableDidChangeNotification");

// The cards one document window shows: the model's card table seen through the window's card
// filter. Without a filter every query goes to the card table; with one the table keeps its own
// filtered arrays, rebuilt at the first query after a change, so that several model changes cost
// one rebuild. It observes and posts on the centre the data controller posts on (the default
// centre when the controller has none). Main thread only.
class UFemWindowCardTable {
public:
    explicit UFemWindowCardTable(UFemDataController& dataController);
    ~UFemWindowCardTable();
    UFemWindowCardTable(const UFemWindowCardTable&) = delete;
    UFemWindowCardTable& operator=(const UFemWindowCardTable&) = delete;

    // UFemNotFound when the window does not show the card.
    quint64 indexOfCard(const UFemCardPtr& card);
    bool containsCard(const UFemCardPtr& card);
    quint64 count();
    const UFemCardPtr& cardAtIndex(quint64 index);
    // Live arrays: they change with the table.
    const UFemCardArray& cardArray();
    const UFemCardArray& cardArrayOfCardType(qint32 cardType);
    const UFemCardArray& nodeCardArray() { return cardArrayOfCardType(UFemNodeCardType); }
    const UFemCardArray& elementCardArray() { return cardArrayOfCardType(UFemElementCardType); }
    const UFemCardArray& caseCardArray() { return cardArrayOfCardType(UFemCaseCardType); }
    const UFemCardArray& restraintCardArray() { return cardArrayOfCardType(UFemRestraintCardType); }
    const UFemCardArray& forceCardArray() { return cardArrayOfCardType(UFemForceCardType); }
    const UFemCardArray& coordCardArray() { return cardArrayOfCardType(UFemCoordCardType); }
    UFemCardEnumerator cardEnumerator();

    bool hasFilter() const { return windowCardFilter_.isCardFilterValid(); }
    QString filterString() const { return windowCardFilter_.cardFilterString(); }
    // Posts nothing: without a filter the table forwards anyway.
    void clearFilter() { windowCardFilter_.clearCardFilter(); }
    // Posts the four notifications whether or not the text parses; a text that does not parse
    // leaves no filter and its error in `error`.
    void setCardFilterString(const std::optional<QString>& cardFilterString, UErrorPtr* error);

    UNotificationCenter& notificationCenter() const { return center_; }
    bool needsUpdateWindowCardArray() const { return needsUpdateWindowCardArray_; }
    void updateWindowCardArray();

private:
    static constexpr quint64 filteredArrayCapacity = 1024;

    void post(const QString& name) const { center_.post(name, this); }
    // Brings the filtered arrays up to date; true when they answer (a filter is in force).
    bool useFilteredArrays();

    UFemCardTable& documentCardTable_;
    UNotificationCenter& center_;
    UFemCardArray windowCardArray_;
    std::array<std::optional<UFemCardArray>, UFemCardTable::cardTypeArrayCount>
        windowCardTypeCardArrayTable_;
    UFemCardFilter windowCardFilter_;
    bool needsUpdateWindowCardArray_ = false;
    std::vector<UNotificationObservation> observations_;
};
