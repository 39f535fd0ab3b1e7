#include "tables/resulttable/UFemResultTableView.h"

#include "appkit/Notifier.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemCommandNames.h"
#include "tables/resulttable/UFemResultTableWindowLink.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QString tabSeparatedMimeType = QStringLiteral("text/tab-separated-values");
const QStringList beepOnlyCommands = { UndoCommand, RedoCommand, UFemFindNextCommand,
    UFemFindPreviousCommand, UFemReplaceSelectionCommand, UFemReplaceSelectionAndFindNextCommand,
    UFemReplaceAllCommand, UFemUseSelectionForFindCommand, UFemScrollToSelectionCommand };
// Space around a message's text inside its box.
constexpr int messageInset = 4;
constexpr int rowHeightPadding = 4;

} // namespace

UFemResultTableView::UFemResultTableView(QWidget* parent)
    : QTableView(parent)
    , targetCardSetManager_(std::make_unique<UFemCardSetManager>())
    , caseCardSetManager_(std::make_unique<UFemCardSetManager>())
{
    setModel(&model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle);
    setWordWrap(true);
    setShowGrid(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + rowHeightPadding);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setStretchLastSection(false);
    connect(&model_, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        viewport()->update();
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
        [this](int column, int, int newWidth) {
            tableViewColumnDidResize(column, newWidth, QGuiApplication::keyboardModifiers());
        });
    model_.setTargetCardArrayProvider([this] { return targetCardSetManager_->cardArray(); });
    model_.setCaseCardArrayProvider([this] { return caseCardSetManager_->cardArray(); });
    registerCommands();
    applyColumnWidths();
}

UFemResultTableView::~UFemResultTableView()
{
    finish();
}

void UFemResultTableView::registerCommands()
{
    const auto copy = [this](const CommandItem& sender) {
        copyRows(sender.command() == UFemCopyAsTabSeparatedTextCommand
                ? UFemColumnSeparatingCharacterTypeTab
                : UFemColumnSeparatingCharacterTypeComma);
    };
    addCommand(CopyCommand, copy);
    addCommand(UFemCopyAsTabSeparatedTextCommand, copy);
    for (const QString& command : beepOnlyCommands)
        addCommand(command, [](const CommandItem&) { Notifier::beep(); });
}

void UFemResultTableView::setUFemWindowController(UFemResultTableWindowLink* windowController)
{
    finish();
    windowController_ = windowController;
    if (!windowController_)
        return;
    UFemDataController& dataController = windowController_->dataController();
    targetCardSetManager_ = std::make_unique<UFemCardSetManager>(&dataController);
    caseCardSetManager_ = std::make_unique<UFemCardSetManager>(&dataController);
    UFemWindowCardTable& table = windowController_->windowCardTable();
    targetCardSetManager_->setReferenceCardArrayBaseObject(
        &table, [&table]() -> const UFemCardArray& { return table.cardArray(); },
        UFemWindowCardTableWillChangeNotification, UFemWindowCardTableDidChangeNotification,
        UFemWindowCardTableWillChangeNotification_private,
        UFemWindowCardTableDidChangeNotification_private);
    takeWindowSelectionAndCases();
    observeWindow();
    markAndReload();
}

// A table made after the window chose its selection and cases (the 3-D view's, made when the
// view is first shown) hears of them only at their next change, so it starts from them.
void UFemResultTableView::takeWindowSelectionAndCases()
{
    if (const auto selected = windowController_->selectedCardArray())
        targetCardSetManager_->setCardArray(*selected);
    caseCardSetManager_->setCardArray(windowController_->currentCaseCardArray());
}

void UFemResultTableView::observeWindow()
{
    UFemDataController& dataController = windowController_->dataController();
    if (UNotificationCenter* center = dataController.notificationCenter()) {
        const auto mark = [this](const UNotification&) { model_.setNeedsUpdateTableContents(); };
        const auto reload = [this](const UNotification&) { model_.reloadData(); };
        for (const UFemCardSetManager* manager :
            { targetCardSetManager_.get(), caseCardSetManager_.get() }) {
            observations_.push_back(
                center->observe(UFemCardSetDidChangeNotification_private, manager, mark));
            observations_.push_back(
                center->observe(UFemCardSetDidChangeNotification, manager, reload));
        }
        observations_.push_back(center->observe(UFemResultDataDidChangeNotification,
            &dataController, [this](const UNotification&) { markAndReload(); }));
        // Values kept from before an edit would show an old Material or Node.
        observations_.push_back(center->observe(UFemModelDataDidChangeNotification_private,
            &dataController, [this](const UNotification&) {
                model_.removeAllCardTableValueArray();
                model_.setNeedsUpdateTableContents();
            }));
        observations_.push_back(
            center->observe(UFemModelDataDidChangeNotification, &dataController, reload));
    }
    observations_.push_back(windowController_->observeSelectedCardDidChange([this] {
        if (const auto selected = windowController_->selectedCardArray())
            setTargetCardArray(*selected);
    }));
    observations_.push_back(windowController_->observeCurrentCaseDidChange(
        [this] { setCaseCardArray(windowController_->currentCaseCardArray()); }));
}

void UFemResultTableView::finish()
{
    observations_.clear();
    if (windowController_) {
        targetCardSetManager_->finish();
        caseCardSetManager_->finish();
        targetCardSetManager_ = std::make_unique<UFemCardSetManager>();
        caseCardSetManager_ = std::make_unique<UFemCardSetManager>();
    }
    windowController_ = nullptr;
}

UFemDataController* UFemResultTableView::dataController() const
{
    return windowController_ ? &windowController_->dataController() : nullptr;
}

bool UFemResultTableView::setCardValueExprListString(
    const QString& cardValueExprListString, UErrorPtr* error)
{
    return model_.setCardValueExprListString(cardValueExprListString, error);
}

UFemCardVector UFemResultTableView::targetCardArray() const
{
    return targetCardSetManager_->cardArray();
}

void UFemResultTableView::setTargetCardArray(const UFemCardVector& cards)
{
    replaceCards(*targetCardSetManager_, cards);
}

void UFemResultTableView::replaceCards(UFemCardSetManager& manager, const UFemCardVector& cards)
{
    manager.setCardArray(cards);
    // With a centre the set's own notifications reload.
    if (!manager.notificationCenter())
        markAndReload();
}

UFemCardVector UFemResultTableView::caseCardArray() const
{
    return caseCardSetManager_->cardArray();
}

void UFemResultTableView::setCaseCardArray(const UFemCardVector& cards)
{
    replaceCards(*caseCardSetManager_, cards);
}

void UFemResultTableView::markAndReload()
{
    model_.setNeedsUpdateTableContents();
    model_.reloadData();
}

void UFemResultTableView::setColors(const UFemResultTableColors& colors)
{
    model_.colors() = colors;
    viewport()->update();
}

int UFemResultTableView::widthOfColumn(int column) const
{
    if (column < int(columnWidths_.size()))
        return columnWidths_[size_t(column)];
    return column == 0 ? nameColumnWidth : int(std::lround(defaultValueColumnWidth_));
}

void UFemResultTableView::applyColumnWidths()
{
    const int count = model_.columnCount();
    std::vector<int> widths;
    for (int column = 0; column < count; ++column)
        widths.push_back(widthOfColumn(column));
    columnWidths_ = widths;
    const bool wasResizing = std::exchange(isResizingColumns_, true);
    for (int column = 0; column < count; ++column)
        horizontalHeader()->resizeSection(column, widths[size_t(column)]);
    isResizingColumns_ = wasResizing;
}

void UFemResultTableView::tableViewColumnDidResize(
    int column, int newWidth, Qt::KeyboardModifiers modifiers)
{
    if (isResizingColumns_ || column < 0)
        return;
    const int width = column == 0 ? std::clamp(newWidth, nameColumnMinWidth, nameColumnMaxWidth)
                                  : std::clamp(newWidth, valueColumnMinWidth, valueColumnMaxWidth);
    isResizingColumns_ = true;
    if (width != newWidth)
        horizontalHeader()->resizeSection(column, width);
    if (size_t(column) < columnWidths_.size())
        columnWidths_[size_t(column)] = width;
    if (column > 0 && (modifiers & Qt::AltModifier)) {
        defaultValueColumnWidth_ = width;
        for (size_t other = 1; other < columnWidths_.size(); ++other) {
            columnWidths_[other] = width;
            horizontalHeader()->resizeSection(int(other), width);
        }
    }
    isResizingColumns_ = false;
}

void UFemResultTableView::copyRows(UFemColumnSeparatingCharacterType type)
{
    QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        Notifier::beep();
        return;
    }
    std::sort(rows.begin(), rows.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    const UFemNumberFormatter formatter = windowController_
        ? windowController_->writingFileNumberFormatter()
        : UFemNumberFormatter::defaultWritingFileNumberFormatter();
    QString text;
    for (const QModelIndex& row : rows)
        model_.writeResultTableRowValueToResultTextString(
            text, quint64(row.row()), type, formatter);
    auto* mime = new QMimeData;
    mime->setText(text);
    if (type == UFemColumnSeparatingCharacterTypeTab)
        mime->setData(tabSeparatedMimeType, text.toUtf8());
    QApplication::clipboard()->setMimeData(mime);
    model_.removeAllCardTableValueArray();
}

bool UFemResultTableView::validateCommand(CommandItem& item)
{
    const QString& command = item.command();
    if (command == UndoCommand || command == RedoCommand) {
        item.setTitle(command == UndoCommand ? QStringLiteral("Undo") : QStringLiteral("Redo"));
        return false;
    }
    if (command == CopyCommand || command == UFemCopyAsTabSeparatedTextCommand)
        return selectionModel()->hasSelection();
    if (beepOnlyCommands.contains(command))
        return false;
    return true;
}

void UFemResultTableView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        clearSelection();
        return;
    }
    QTableView::keyPressEvent(event);
}

void UFemResultTableView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    QPainter painter(viewport());
    drawBlockGrid(painter);
    drawMessages(painter);
}

void UFemResultTableView::drawBlockGrid(QPainter& painter)
{
    const quint64 rowsPerCard = model_.numberOfTableRowForCard();
    if (model_.numberOfTableRowTotal() == 0 || rowsPerCard == 0)
        return;
    const int lastColumn = model_.columnCount() - 1;
    const int left = columnViewportPosition(0);
    const int right = columnViewportPosition(lastColumn) + columnWidth(lastColumn);
    int firstRow = rowAt(0);
    int lastRow = rowAt(viewport()->height() - 1);
    if (firstRow < 0)
        return;
    if (lastRow < 0)
        lastRow = model_.rowCount() - 1;
    for (quint64 block = quint64(firstRow) / rowsPerCard; block <= quint64(lastRow) / rowsPerCard;
         ++block)
        drawBlockGridOfBlock(painter, block, left, right);
}

void UFemResultTableView::drawBlockGridOfBlock(
    QPainter& painter, quint64 block, int left, int right)
{
    const quint64 rowsPerCard = model_.numberOfTableRowForCard();
    const auto top
        = [&](quint64 line) { return rowViewportPosition(int(block * rowsPerCard + line)); };
    const quint64 lastValueLine = rowsPerCard - 2;
    const int labelTop = top(1);
    const int valueBottom
        = top(lastValueLine) + rowHeight(int(block * rowsPerCard + lastValueLine));
    const QColor color = palette().color(QPalette::Mid);
    const QPen bold(color, boldGridLineWidth);
    const QPen narrow(color, narrowGridLineWidth);
    const auto horizontal = [&](const QPen& pen, int y) {
        painter.setPen(pen);
        painter.drawLine(left, y, right, y);
    };
    const auto vertical = [&](const QPen& pen, int x) {
        painter.setPen(pen);
        painter.drawLine(x, labelTop, x, valueBottom);
    };
    horizontal(bold, labelTop);
    horizontal(bold, top(2));
    horizontal(bold, valueBottom);
    const quint64 caseEnd = model_.doesDisplayMaxMin() ? rowsPerCard - 3 : rowsPerCard - 1;
    for (quint64 line = 3; line < caseEnd; ++line)
        horizontal(narrow, top(line));
    if (model_.doesDisplayMaxMin()) {
        horizontal(bold, top(caseEnd));
        horizontal(narrow, top(caseEnd + 1));
    }
    vertical(bold, left);
    vertical(bold, right);
    vertical(bold, columnViewportPosition(0) + columnWidth(0));
    for (int column = 2; column < model_.columnCount(); ++column)
        vertical(narrow, columnViewportPosition(column));
}

void UFemResultTableView::drawMessages(QPainter& painter)
{
    const UFemResultTableColors& colors = model_.colors();
    const auto drawBox = [&](const QString& text, const QFont& font, const QColor& fill,
                             const QColor& bounds, const QColor& textColor, bool centred) {
        painter.setFont(font);
        const QSize textSize = QFontMetrics(font).size(Qt::TextSingleLine, text);
        const QSize boxSize = textSize + QSize(2 * messageInset, 2 * messageInset);
        QRect box(QPoint(0, 0), boxSize);
        if (centred)
            box.moveCenter(viewport()->rect().center());
        painter.setPen(QPen(bounds, 1.0));
        painter.setBrush(fill);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(textColor);
        painter.drawText(box.adjusted(messageInset, messageInset, -messageInset, -messageInset),
            Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    if (!model_.viewCenterMessageString().isEmpty()) {
        QFont font = this->font();
        font.setPointSizeF(centerMessagePointSize);
        drawBox(model_.viewCenterMessageString(), font, colors.viewCenterMessageRectFillColor,
            colors.viewCenterMessageRectBoundsColor, colors.viewCenterMessageStringColor, true);
    }
    if (!model_.errorString().isEmpty())
        drawBox(model_.errorString(), font(), colors.errorMessageRectFillColor,
            colors.errorMessageRectBoundsColor, colors.errorMessageStringColor, false);
}
