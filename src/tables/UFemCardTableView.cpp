#include "tables/UFemCardTableView.h"

#include "foundation/UFemNotFound.h"
#include "tables/UFemCardTableModel.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QDragMoveEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr int rowHeightPadding = 4;
// The band at a row's top and bottom edge in which a drop goes between rows.
constexpr int dropMarginDivisor = 4;
constexpr int dropIndicatorWidth = 2;

UFemCardTableView::ColumnWidths widthsOfColumn(int column)
{
    switch (column) {
    case UFemCardTableModel::CardRowIndexColumn:
        return UFemCardTableView::rowIndexWidths;
    case UFemCardTableModel::CardNameStringColumn:
        return UFemCardTableView::nameWidths;
    default:
        return UFemCardTableView::stringWidths;
    }
}

} // namespace

UFemCardTableView::UFemCardTableView(QWidget* parent)
    : QTableView(parent)
{
    setObjectName(QStringLiteral("cardTableViewOutlet"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    verticalHeader()->hide();
    // A fixed row height keeps the view from measuring rows it does not show.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + rowHeightPadding);
    horizontalHeader()->setMinimumSectionSize(rowIndexWidths.minimum);
    horizontalHeader()->setStretchLastSection(false);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
        [this](int column, int, int newSize) { clampSectionWidth(column, newSize); });
}

void UFemCardTableView::setCardTableModel(UFemCardTableModel* model)
{
    cardTableModel_ = model;
    setModel(model);
    // More cards may need a wider row number; fewer never need a narrower one.
    connect(model, &QAbstractItemModel::modelReset, this,
        &UFemCardTableView::fitCardRowIndexColumnWidth);
    connect(model, &QAbstractItemModel::rowsInserted, this,
        &UFemCardTableView::fitCardRowIndexColumnWidth);
    setColumnWidth(UFemCardTableModel::CardRowIndexColumn, rowIndexColumnWidth());
    setColumnWidth(UFemCardTableModel::CardNameStringColumn, nameWidths.initial);
    updateFirstShownColumn();
    fitCardStringColumnAndErrorStringColumnWidth();
}

bool UFemCardTableView::isCardRowIndexColumnActive() const
{
    return isColumnActive(UFemCardTableModel::CardRowIndexColumn);
}

bool UFemCardTableView::isCardNameStringColumnActive() const
{
    return isColumnActive(UFemCardTableModel::CardNameStringColumn);
}

bool UFemCardTableView::isCardStringColumnActive() const
{
    return isColumnActive(UFemCardTableModel::CardStringColumn);
}

bool UFemCardTableView::isErrorStringColumnActive() const
{
    return isColumnActive(UFemCardTableModel::ErrorStringColumn);
}

void UFemCardTableView::setCardRowIndexColumnActive(bool active)
{
    setColumnActive(UFemCardTableModel::CardRowIndexColumn, active);
}

void UFemCardTableView::setCardNameStringColumnActive(bool active)
{
    setColumnActive(UFemCardTableModel::CardNameStringColumn, active);
}

void UFemCardTableView::setCardStringColumnActive(bool active)
{
    setColumnActive(UFemCardTableModel::CardStringColumn, active);
}

void UFemCardTableView::setErrorStringColumnActive(bool active)
{
    setColumnActive(UFemCardTableModel::ErrorStringColumn, active);
    if (cardTableModel_ != nullptr)
        cardTableModel_->setErrorStringColumnShown(active);
}

// The model's columns never move, so a column shown again is back in its place.
void UFemCardTableView::setColumnActive(int column, bool active)
{
    if (active && !isColumnActive(column)) {
        setColumnHidden(column, false);
        if (column == UFemCardTableModel::CardRowIndexColumn)
            setColumnWidth(column, rowIndexColumnWidth());
        else if (column == UFemCardTableModel::CardNameStringColumn)
            setColumnWidth(column, widthsOfColumn(column).initial);
    } else if (!active) {
        setColumnHidden(column, true);
    }
    updateFirstShownColumn();
    fitCardStringColumnAndErrorStringColumnWidth();
}

void UFemCardTableView::updateFirstShownColumn()
{
    if (cardTableModel_ == nullptr)
        return;
    for (int column = 0; column < UFemCardTableModel::columnCountOfTable; ++column)
        if (isColumnActive(column)) {
            cardTableModel_->setFirstShownColumn(column);
            return;
        }
}

int UFemCardTableView::availableStringColumnWidth() const
{
    int available = viewport()->width();
    if (isCardRowIndexColumnActive())
        available -= columnWidth(UFemCardTableModel::CardRowIndexColumn);
    if (isCardNameStringColumnActive())
        available -= columnWidth(UFemCardTableModel::CardNameStringColumn);
    return available;
}

void UFemCardTableView::fitCardStringColumnAndErrorStringColumnWidth()
{
    const int available = availableStringColumnWidth();
    const int minimum = stringWidths.minimum;
    const bool card = isCardStringColumnActive();
    const bool error = isErrorStringColumnActive();
    if (card && error) {
        const int cardWidth = qMax(minimum, int(std::ceil(available * cardStringShare)));
        setColumnWidth(UFemCardTableModel::CardStringColumn, cardWidth);
        setColumnWidth(UFemCardTableModel::ErrorStringColumn, qMax(minimum, available - cardWidth));
    } else if (card || error) {
        setColumnWidth(
            card ? UFemCardTableModel::CardStringColumn : UFemCardTableModel::ErrorStringColumn,
            qMax(minimum, available));
    }
}

int UFemCardTableView::rowIndexColumnWidthForCardCount(
    quint64 cardCount, const QFontMetrics& metrics)
{
    const int numberWidth = metrics.horizontalAdvance(QString::number(cardCount));
    return qMax(rowIndexWidths.initial, numberWidth + rowIndexTextPadding);
}

int UFemCardTableView::rowIndexColumnWidth() const
{
    const quint64 cardCount = cardTableModel_ != nullptr ? cardTableModel_->cardCount() : 0;
    return rowIndexColumnWidthForCardCount(cardCount, fontMetrics());
}

// The largest row number must show whole, however many cards there are.
void UFemCardTableView::fitCardRowIndexColumnWidth()
{
    const int width = rowIndexColumnWidth();
    if (columnWidth(UFemCardTableModel::CardRowIndexColumn) < width) {
        setColumnWidth(UFemCardTableModel::CardRowIndexColumn, width);
        fitCardStringColumnAndErrorStringColumnWidth();
    }
}

void UFemCardTableView::clampSectionWidth(int column, int newSize)
{
    if (isClamping_ || newSize == 0)
        return;
    const ColumnWidths widths = widthsOfColumn(column);
    const int maximum = column == UFemCardTableModel::CardRowIndexColumn
        ? qMax(widths.maximum, rowIndexColumnWidth())
        : widths.maximum;
    const int clamped = qBound(widths.minimum, newSize, maximum);
    if (clamped == newSize)
        return;
    isClamping_ = true;
    setColumnWidth(column, clamped);
    isClamping_ = false;
}

void UFemCardTableView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    fitCardStringColumnAndErrorStringColumnWidth();
}

QList<int> UFemCardTableView::selectedRowList() const
{
    QList<int> rows;
    if (selectionModel() == nullptr)
        return rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void UFemCardTableView::selectRowRange(int first, int last)
{
    const int lastColumn = UFemCardTableModel::columnCountOfTable - 1;
    selectionModel()->select(
        QItemSelection(model()->index(first, 0), model()->index(last, lastColumn)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int UFemCardTableView::lastCardRow() const
{
    return cardTableModel_ ? int(cardTableModel_->cardCount()) - 1 : -1;
}

bool UFemCardTableView::handleJumpKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool extend = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if ((modifiers != Qt::ControlModifier && !extend) || (key != Qt::Key_Down && key != Qt::Key_Up))
        return false;
    const int last = lastCardRow();
    const QList<int> selected = selectedRowList();
    const bool hasSelection = !selected.isEmpty();
    const int anchor = selected.contains(currentIndex().row()) ? currentIndex().row()
        : hasSelection                                         ? selected.last()
                                                               : -1;
    const bool down = key == Qt::Key_Down;
    if (last < 0 || (extend && !hasSelection))
        return true;
    if (extend)
        selectRowRange(down ? anchor : 0, down ? last : anchor);
    else
        selectRowRange(down ? last : 0, down ? last : 0);
    const QModelIndex target = model()->index(down ? last : 0, 0);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    scrollTo(target);
    return true;
}

void UFemCardTableView::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    // Return left over by the cell editor must not start editing again.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && modifiers == Qt::NoModifier
        && !isEditingCell()) {
        const QList<int> selected = selectedRowList();
        if (!selected.isEmpty()) {
            if (delegate_ != nullptr && isCardStringColumnActive())
                delegate_->cardTableViewEditCardStringOfRow(quint64(selected.first()));
            return;
        }
    } else if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        clearSelection();
        return;
    } else if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && modifiers == Qt::NoModifier
        && !isEditingCell()) {
        if (delegate_ != nullptr)
            delegate_->cardTableViewDeleteSelectedCards();
        return;
    } else if (handleJumpKey(key, modifiers)) {
        return;
    }
    QTableView::keyPressEvent(event);
}

void UFemCardTableView::contextMenuEvent(QContextMenuEvent* event)
{
    if (delegate_ == nullptr || isEditingCell()) {
        QTableView::contextMenuEvent(event);
        return;
    }
    delegate_->cardTableViewShowContextMenu(event->globalPos());
}

void UFemCardTableView::mousePressEvent(QMouseEvent* event)
{
    if (delegate_ != nullptr && delegate_->cardTableViewDoesDrawOverlay())
        return;
    QTableView::mousePressEvent(event);
}

void UFemCardTableView::mouseMoveEvent(QMouseEvent* event)
{
    if (delegate_ != nullptr && delegate_->cardTableViewDoesDrawOverlay())
        return;
    QTableView::mouseMoveEvent(event);
}

void UFemCardTableView::mouseReleaseEvent(QMouseEvent* event)
{
    if (delegate_ != nullptr && delegate_->cardTableViewDoesDrawOverlay()) {
        delegate_->cardTableViewClearOverlay();
        return;
    }
    QTableView::mouseReleaseEvent(event);
    // A click on "<end>" (never selectable) clears the selection.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cardTableModel_ != nullptr && index.isValid()
        && quint64(index.row()) == cardTableModel_->endRow())
        clearSelection();
}

void UFemCardTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (delegate_ != nullptr)
        delegate_->cardTableViewDoubleClicked(indexAt(event->position().toPoint()));
}

void UFemCardTableView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    paintDropIndicator();
    if (delegate_ == nullptr)
        return;
    QPainter painter(viewport());
    delegate_->ufemTableViewDrawRect(painter, QRectF(viewport()->rect()));
}

void UFemCardTableView::updateEditorGeometries()
{
    QTableView::updateEditorGeometries();
    if (delegate_ != nullptr)
        delegate_->cardTableViewUpdateEditorGeometry();
}

void UFemCardTableView::startDrag(Qt::DropActions)
{
    QList<int> rows;
    for (const int row : selectedRowList())
        if (cardTableModel_ != nullptr && quint64(row) < cardTableModel_->cardCount())
            rows.append(row);
    QMimeData* data = delegate_ != nullptr && !rows.isEmpty()
        ? delegate_->cardTableViewMimeDataForRows(rows)
        : nullptr;
    if (data == nullptr)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

UFemCardTableView::DropPlace UFemCardTableView::dropPlaceAt(QPoint point) const
{
    const QModelIndex index = indexAt(point);
    if (!index.isValid())
        return { UFemNotFound, false };
    const QRect rect = visualRect(index);
    const int margin = qMax(1, rect.height() / dropMarginDivisor);
    const quint64 row = quint64(index.row());
    if (point.y() - rect.top() < margin)
        return { row, false };
    if (rect.bottom() - point.y() < margin)
        return { row + 1, false };
    return { row, true };
}

void UFemCardTableView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void UFemCardTableView::dragMoveEvent(QDragMoveEvent* event)
{
    const DropPlace place = dropPlaceAt(event->position().toPoint());
    const Qt::DropAction action
        = delegate_ != nullptr && event->mimeData() != nullptr && place.row != UFemNotFound
        ? delegate_->cardTableViewValidateDrop(
            *event->mimeData(), place.row, place.isOnRow, event->possibleActions())
        : Qt::IgnoreAction;
    const int indicatorRow = action == Qt::IgnoreAction ? -1 : int(place.row);
    if (indicatorRow != dropIndicatorRow_) {
        dropIndicatorRow_ = indicatorRow;
        viewport()->update();
    }
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

void UFemCardTableView::dragLeaveEvent(QDragLeaveEvent*)
{
    dropIndicatorRow_ = -1;
    viewport()->update();
}

void UFemCardTableView::dropEvent(QDropEvent* event)
{
    dropIndicatorRow_ = -1;
    viewport()->update();
    const DropPlace place = dropPlaceAt(event->position().toPoint());
    if (delegate_ == nullptr || event->mimeData() == nullptr || place.row == UFemNotFound) {
        event->ignore();
        return;
    }
    const Qt::DropAction action = delegate_->cardTableViewValidateDrop(
        *event->mimeData(), place.row, place.isOnRow, event->possibleActions());
    if (action == Qt::IgnoreAction
        || !delegate_->cardTableViewAcceptDrop(
            *event->mimeData(), place.row, place.isOnRow, action)) {
        event->ignore();
        return;
    }
    event->setDropAction(action);
    event->accept();
}

void UFemCardTableView::paintDropIndicator()
{
    if (dropIndicatorRow_ < 0 || model() == nullptr)
        return;
    const int lastRow = model()->rowCount() - 1;
    const int y = dropIndicatorRow_ > lastRow ? rowViewportPosition(lastRow) + rowHeight(lastRow)
                                              : rowViewportPosition(dropIndicatorRow_);
    QPainter painter(viewport());
    painter.setPen(QPen(palette().highlight().color(), dropIndicatorWidth));
    painter.drawLine(0, y, viewport()->width(), y);
}
