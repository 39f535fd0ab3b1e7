#pragma once

#include <QTableView>

class QMimeData;
class QFontMetrics;
class QPainter;
class UFemCardTableModel;

// What the card table view asks of its controller.
class UFemCardTableViewDelegate {
public:
    virtual ~UFemCardTableViewDelegate() = default;
    // Return on a selection: edit the card string of `row` with its text selected.
    virtual void cardTableViewEditCardStringOfRow(quint64 row) = 0;
    virtual void cardTableViewDoubleClicked(const QModelIndex& index) = 0;
    // The project information overlay: while drawn, it swallows the mouse.
    virtual bool cardTableViewDoesDrawOverlay() const = 0;
    virtual void cardTableViewClearOverlay() = 0;
    virtual void ufemTableViewDrawRect(QPainter& painter, const QRectF& visibleRect) = 0;
    // The controller's card string editor, laid over its cell again after scrolls and reloads.
    virtual bool cardTableViewIsEditingCell() const = 0;
    virtual void cardTableViewUpdateEditorGeometry() = 0;
    // Dragging rows out and dropping above `row` ("<end>" being the card count); `isOnRow` is a
    // drop onto the row itself. Null data refuses the drag, Qt::IgnoreAction the drop.
    virtual QMimeData* cardTableViewMimeDataForRows(const QList<int>& rows) = 0;
    virtual Qt::DropAction cardTableViewValidateDrop(
        const QMimeData& data, quint64 row, bool isOnRow, Qt::DropActions possibleActions)
        = 0;
    virtual bool cardTableViewAcceptDrop(
        const QMimeData& data, quint64 row, bool isOnRow, Qt::DropAction action)
        = 0;
    // Delete or Backspace outside a cell editor: the Edit menu's Delete.
    virtual void cardTableViewDeleteSelectedCards() = 0;
    // The card commands at `globalPosition`.
    virtual void cardTableViewShowContextMenu(const QPoint& globalPosition) = 0;
};

// The card table: four columns that can be hidden and shown again in their place, the card
// string and error columns fitted to the width left, fixed row height, and the keys of the
// card view (Return edits, Esc deselects, Ctrl-arrows jump to the first or last card, Delete and
// Backspace delete the selected cards) and a context menu of the card commands.
class UFemCardTableView : public QTableView {
    Q_OBJECT
public:
    struct ColumnWidths {
        int minimum;
        int maximum;
        int initial;
    };
    static constexpr ColumnWidths rowIndexWidths { 30, 60, 50 };
    static constexpr ColumnWidths nameWidths { 40, 400, 120 };
    static constexpr ColumnWidths stringWidths { 40, 2000, 40 };
    static constexpr double cardStringShare = 0.55;
    // Room around a row number: the cell's text margins and the grid line.
    static constexpr int rowIndexTextPadding = 10;

    // Wide enough for the largest row number, never narrower than the initial width.
    static int rowIndexColumnWidthForCardCount(quint64 cardCount, const QFontMetrics& metrics);

    explicit UFemCardTableView(QWidget* parent = nullptr);

    void setCardTableModel(UFemCardTableModel* model);
    UFemCardTableModel* cardTableModel() const { return cardTableModel_; }
    void setCardTableViewDelegate(UFemCardTableViewDelegate* delegate) { delegate_ = delegate; }

    bool isCardRowIndexColumnActive() const;
    bool isCardNameStringColumnActive() const;
    bool isCardStringColumnActive() const;
    bool isErrorStringColumnActive() const;
    void setCardRowIndexColumnActive(bool active);
    void setCardNameStringColumnActive(bool active);
    void setCardStringColumnActive(bool active);
    void setErrorStringColumnActive(bool active);
    void fitCardStringColumnAndErrorStringColumnWidth();
    // Width the fitting shares out: the viewport less the shown row index and name columns.
    int availableStringColumnWidth() const;

    bool isEditingCell() const
    {
        return delegate_ != nullptr && delegate_->cardTableViewIsEditingCell();
    }
    // Selected rows, ascending.
    QList<int> selectedRowList() const;
    void selectRowRange(int first, int last);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateEditorGeometries() override;
    // The base class would clear the moved rows' cells after a move: the controller moves cards.
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool isColumnActive(int column) const { return !isColumnHidden(column); }
    void setColumnActive(int column, bool active);
    void clampSectionWidth(int column, int newSize);
    int rowIndexColumnWidth() const;
    void fitCardRowIndexColumnWidth();
    bool handleJumpKey(int key, Qt::KeyboardModifiers modifiers);
    int lastCardRow() const;
    void updateFirstShownColumn();
    struct DropPlace {
        quint64 row;
        bool isOnRow;
    };
    // Where a drop at `point` goes; row UFemNotFound past the "<end>" row.
    DropPlace dropPlaceAt(QPoint point) const;
    void paintDropIndicator();

    UFemCardTableModel* cardTableModel_ = nullptr;
    UFemCardTableViewDelegate* delegate_ = nullptr;
    bool isClamping_ = false;
    // The row a drop would land above, -1 when none is shown.
    int dropIndicatorRow_ = -1;
};
