#include "documents/mainview/UFemPlainMainViewController.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/mainview/UFemProjectInfoOverlay.h"
#include "documents/window/UFemWindowDocument.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/UFemNotFound.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QPainter>

// The list, drawing the project overlay over its rows.
class UFemPlainMainViewController::View : public QListWidget {
public:
    explicit View(UFemPlainMainViewController& controller)
        : controller_(controller)
    {
        setObjectName(QStringLiteral("plainMainView"));
        setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        setSelectionMode(QAbstractItemView::ExtendedSelection);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QListWidget::paintEvent(event);
        QPainter painter(viewport());
        controller_.ufemMainView_drawOverlaidProjectInfoIfNeeded(
            painter, QRectF(viewport()->rect()));
    }

private:
    UFemPlainMainViewController& controller_;
};

UFemPlainMainViewController::UFemPlainMainViewController(
    UFemWindowController& windowController, UFemViewType viewType)
    : UFemMainViewController(windowController)
    , viewType_(viewType)
    , view_(std::make_unique<View>(*this))
    , list_(view_.get())
{
    UNotificationCenter& center = UNotificationCenter::defaultCenter();
    UFemWindowCardTable* table = &windowCardTable();
    observations_.push_back(
        table->notificationCenter().observe(UFemWindowCardTableDidChangeNotification, table,
            [this](const UNotification&) { reload(); }));
    observations_.push_back(center.observe(UFemWindowSelectedCardDidChangeNotification,
        &windowController, [this](const UNotification&) { showSelection(); }));
    QObject::connect(
        list_, &QListWidget::itemSelectionChanged, list_, [this] { takeSelectionFromList(); });
    reload();
}

UFemPlainMainViewController::~UFemPlainMainViewController() = default;

QWidget* UFemPlainMainViewController::mainView() const
{
    return view_.get();
}

QWidget* UFemPlainMainViewController::mainViewBox() const
{
    return view_.get();
}

void UFemPlainMainViewController::finish()
{
    observations_.clear();
    UFemMainViewController::finish();
}

void UFemPlainMainViewController::viewDidSwapIn()
{
    reload();
}

void UFemPlainMainViewController::reload()
{
    isReloading_ = true;
    list_->clear();
    if (viewType_ == UFemViewTypeInfo) {
        const auto texts = UFemProjectInfoTextsOfDocument(*ufemDocument(), dataController());
        if (texts)
            list_->addItems({ texts->title, texts->version, texts->comment });
    } else {
        UFemWindowCardTable& table = windowCardTable();
        for (quint64 row = 0; row < table.count(); ++row)
            list_->addItem(UFemCardString(*table.cardAtIndex(row)));
    }
    isReloading_ = false;
    showSelection();
}

void UFemPlainMainViewController::showSelection()
{
    if (viewType_ == UFemViewTypeInfo || windowController() == nullptr)
        return;
    isReloading_ = true;
    list_->clearSelection();
    for (const UFemCardPtr& card : selectedCardArray()) {
        const quint64 row = windowCardTable().indexOfCard(card);
        if (row < quint64(list_->count()))
            list_->item(int(row))->setSelected(true);
    }
    isReloading_ = false;
}

void UFemPlainMainViewController::takeSelectionFromList()
{
    if (isReloading_ || viewType_ == UFemViewTypeInfo)
        return;
    UFemCardVector cards;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        cards.push_back(windowCardTable().cardAtIndex(quint64(index.row())));
    windowController()->setSelectedCardArray(cards);
}

quint64 UFemPlainMainViewController::cardRowIndexToAddCard(UErrorPtr*)
{
    return UFemNotFound;
}

_UFemSearchCardStringRange UFemPlainMainViewController::selectedSearchCardStringRange(UErrorPtr*)
{
    const UFemCardVector& cards = selectedCardArray();
    if (cards.empty())
        return {};
    const quint64 row = windowCardTable().indexOfCard(cards.front());
    return { row, UFemRangeNotFound, row, UFemRangeNotFound };
}

bool UFemPlainMainViewController::selectSearchCardStringRange(
    const _UFemSearchCardStringRange& range, UErrorPtr*)
{
    if (range.startCardIndex == UFemRangeNotFound
        || range.startCardIndex >= windowCardTable().count()) {
        windowController()->clearSelectedCardArray();
        return true;
    }
    windowController()->setSelectedCardArray(
        { windowCardTable().cardAtIndex(range.startCardIndex) });
    return true;
}

// The stand-in selects whole cards, so the replacement takes the selected card's whole line.
_UFemSearchCardStringRange UFemPlainMainViewController::replaceSelectedSearchCardStringRange(
    const QString& replaceString, bool* isReplaced, UErrorPtr* error)
{
    *isReplaced = false;
    const UFemCardVector& cards = selectedCardArray();
    if (cards.size() != 1)
        return {};
    const UFemCardPtr card = cards.front();
    if (dataController().modifyCardOfCard(
            *card, replaceString, UFemColumnSeparatingCharacterTypeComma, true, error)
        == UFemNotFound)
        return {};
    *isReplaced = true;
    const quint64 row = dataController().lastEditedCardRowIndex();
    const UFemCardPtr edited
        = row < dataController().cardCount() ? dataController().cardAtCardRowIndex(row) : nullptr;
    const quint64 windowRow
        = edited != nullptr ? windowCardTable().indexOfCard(edited) : UFemNotFound;
    if (windowRow == UFemNotFound)
        return {};
    return { windowRow, 0, windowRow, quint64(replaceString.size()) };
}
