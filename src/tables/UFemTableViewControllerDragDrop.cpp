// Dragging cards out of the card table and dropping text or cards between its rows. A drop of
// this model's own rows moves the cards (one undo step, identifier numbers kept); anything else
// that carries text, file addresses aside, adds the cards it reads.
#include "appkit/Notifier.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "cardmodel/text/UFemModelText.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/strings/UFormattedString.h"
#include "platform/UUndoManager.h"
#include "tables/UFemCardRowsDragPayload.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemTableViewController.h"

#include <QCoreApplication>
#include <QMimeData>

#include <algorithm>
#include <unordered_set>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("UFemTableViewController", text);
}

// Opens one undo step around a drop's several model changes (when the model has an undo manager).
class UndoStep {
public:
    explicit UndoStep(UFemDataController& data)
        : undo_(data.undoManager())
    {
        if (undo_ != nullptr)
            undo_->beginUndoGrouping();
    }
    ~UndoStep()
    {
        if (undo_ != nullptr)
            undo_->endUndoGrouping();
    }
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

private:
    UUndoManager* undo_;
};

// Text that may be read as cards. Files dropped from a file manager come as addresses, which
// Qt also hands out as plain text ("file:///…"): they are no model text.
bool isCardText(const QMimeData& data)
{
    return data.hasText() && !data.hasUrls();
}

} // namespace

quint64 UFemTableViewController::modelIdentifier() const
{
    return quint64(quintptr(&dataController()));
}

// Unfiltered, a window row is the model row. Filtered, a card's row may be a search of the model
// (its cached row goes stale as cards move), so many cards take one walk of the model instead.
std::vector<quint64> UFemTableViewController::modelRowsOfCards(
    const std::vector<UFemCardPtr>& cards)
{
    UFemDataController& data = dataController();
    std::vector<quint64> rows;
    rows.reserve(cards.size());
    if (cards.size() <= searchedSelectionLimit) {
        for (const UFemCardPtr& card : cards)
            rows.push_back(data.cardRowIndexOfCard(*card));
        return rows;
    }
    std::unordered_set<const UFemCard*> wanted;
    for (const UFemCardPtr& card : cards)
        wanted.insert(card.get());
    for (quint64 row = 0; row < data.cardCount() && rows.size() < cards.size(); ++row)
        if (wanted.contains(data.cardAtRowIndex(row)))
            rows.push_back(row);
    return rows;
}

std::unique_ptr<QMimeData> UFemTableViewController::mimeDataForRows(const QList<int>& rows)
{
    UFemWindowCardTable& cards = windowCardTable();
    std::vector<UFemCardPtr> dragged;
    UFemCardRowsDragPayload payload { QCoreApplication::applicationPid(), modelIdentifier(), {} };
    for (const int row : rows) {
        if (row < 0 || quint64(row) >= cards.count())
            continue;
        dragged.push_back(cards.cardAtIndex(quint64(row)));
        if (!cards.hasFilter())
            payload.cardRowIndexes.push_back(quint64(row));
    }
    if (dragged.empty())
        return nullptr;
    if (cards.hasFilter())
        payload.cardRowIndexes = modelRowsOfCards(dragged);
    auto data = std::make_unique<QMimeData>();
    data->setData(UFemCardRowsDragPayload::mimeType, payload.encoded());
    data->setText(UFemModelText(dragged));
    return data;
}

// The drag takes the data over.
QMimeData* UFemTableViewController::cardTableViewMimeDataForRows(const QList<int>& rows)
{
    return mimeDataForRows(rows).release();
}

Qt::DropAction UFemTableViewController::validateDrop(
    const QMimeData& data, quint64 row, bool isOnRow, Qt::DropActions possibleActions)
{
    if (dataController().isLocked() || isOnRow || row > model_->cardCount())
        return Qt::IgnoreAction;
    const auto payload = UFemCardRowsDragPayload::fromMimeData(data);
    if (payload && payload->isFrom(modelIdentifier()) && possibleActions.testFlag(Qt::MoveAction))
        return Qt::MoveAction;
    if (isCardText(data) && possibleActions.testFlag(Qt::CopyAction))
        return Qt::CopyAction;
    return Qt::IgnoreAction;
}

// Above the first row is the model's start, above "<end>" its end, above any other row just
// after the card shown before it.
quint64 UFemTableViewController::modelRowOfDropRow(quint64 row) const
{
    UFemWindowCardTable& cards = windowCardTable();
    if (row == 0)
        return 0;
    if (row >= cards.count())
        return dataController().cardCount();
    return dataController().cardRowIndexOfCard(*cards.cardAtIndex(row - 1)) + 1;
}

// The lock is asked again: running the drag let queued events through, which may have locked.
bool UFemTableViewController::acceptDrop(
    const QMimeData& data, quint64 row, bool isOnRow, Qt::DropAction action)
{
    if (UErrorPtr locked = dataController().errorIfLocked()) {
        presentError(locked);
        return false;
    }
    if (isOnRow || row > windowCardTable().count())
        return false;
    const quint64 insertionRow = modelRowOfDropRow(row);
    const auto payload = UFemCardRowsDragPayload::fromMimeData(data);
    UErrorPtr error;
    bool isDone = false;
    if (action == Qt::MoveAction && payload && payload->isFrom(modelIdentifier())) {
        isDone = moveCardsOfPayload(payload->cardRowIndexes, insertionRow, &error);
    } else if (isCardText(data)) {
        isDone = copyCardsOfText(data.text(), insertionRow, &error);
    } else {
        Notifier::beep();
    }
    presentError(error);
    return isDone;
}

// Rows the model no longer has (the drag began before a change) move nothing.
bool UFemTableViewController::moveCardsOfPayload(
    const std::vector<quint64>& modelRows, quint64 insertionRow, UErrorPtr* error)
{
    std::vector<quint64> rows = modelRows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty() || rows.back() >= dataController().cardCount()) {
        Notifier::beep();
        return false;
    }
    quint64 moved = 0;
    const UndoStep step(dataController());
    const bool isMoved = moveCards(rows, insertionRow, &moved, error);
    dataController().setUndoActionName(isMoved
            ? ULocalizedFormattedString("Move %lu Cards ( Drag and Drop )", moved)
            : tr("Move Some Cards ( Drag and Drop ) - Aborted by Error"));
    return isMoved;
}

bool UFemTableViewController::moveCards(
    const std::vector<quint64>& rows, quint64 insertionRow, quint64* moved, UErrorPtr* error)
{
    UFemDataController& data = dataController();
    std::vector<UFemCardTextColumnsPtr> records;
    records.reserve(rows.size());
    quint64 removedBefore = 0;
    for (const quint64 row : rows) {
        const UFemCard& card = *data.cardAtRowIndex(row);
        records.push_back(card.cardTextColumns());
        records.back()->setCardIdentifierNumber(card.cardIdentifierNumber());
        if (row < insertionRow)
            ++removedBefore;
    }
    if (!data.removeCardsAtIndexSet(rows, error))
        return false;
    const quint64 target = insertionRow - removedBefore;
    const quint64 countBeforeInsert = data.cardCount();
    if (!data.addCardsWithCardTextColumnsArray(records, target, true, error)) {
        restoreRemovedCards(records, rows, countBeforeInsert, target);
        return false;
    }
    *moved = records.size();
    selectModelRows(target, records.size());
    return true;
}

// Takes out what the failed insert left and puts each run of removed cards back at its rows.
void UFemTableViewController::restoreRemovedCards(
    const std::vector<UFemCardTextColumnsPtr>& records, const std::vector<quint64>& rows,
    quint64 cardCountBeforeInsert, quint64 insertionRow)
{
    UFemDataController& data = dataController();
    UErrorPtr ignored;
    const quint64 leftOver = data.cardCount() - cardCountBeforeInsert;
    if (leftOver != 0) {
        UFemRowIndexSet inserted(leftOver);
        for (quint64 k = 0; k < leftOver; ++k)
            inserted[k] = insertionRow + k;
        if (!data.removeCardsAtIndexSet(inserted, &ignored))
            return;
    }
    for (std::size_t first = 0; first < rows.size();) {
        std::size_t end = first + 1;
        while (end < rows.size() && rows[end] == rows[end - 1] + 1)
            ++end;
        const std::vector<UFemCardTextColumnsPtr> run(
            records.begin() + qsizetype(first), records.begin() + qsizetype(end));
        if (!data.addCardsWithCardTextColumnsArray(run, rows[first], true, &ignored))
            return;
        first = end;
    }
}

bool UFemTableViewController::copyCardsOfText(
    const QString& text, quint64 insertionRow, UErrorPtr* error)
{
    const UndoStep step(dataController());
    const quint64 added = dataController().addCardsWithModelText(text, insertionRow, true, error);
    if (*error != nullptr) {
        dataController().setUndoActionName(
            tr("Add Some Cards ( Drag and Drop ) - Aborted by Error"));
        return false;
    }
    dataController().setUndoActionName(
        ULocalizedFormattedString("Add %lu Cards ( Drag and Drop )", added));
    selectModelRows(insertionRow, added);
    return true;
}

void UFemTableViewController::selectModelRows(quint64 first, quint64 count)
{
    UFemCardVector cards;
    cards.reserve(count);
    for (quint64 row = first; row < first + count; ++row)
        cards.push_back(dataController().cardAtRowIndex(row)->shared_from_this());
    windowController()->setSelectedCardArray(cards);
}
