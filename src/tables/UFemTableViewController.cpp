#include "tables/UFemTableViewController.h"

#include "appkit/Notifier.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "platform/UUndoManager.h"
#include "tables/UFemCardTableCellDelegate.h"
#include "tables/UFemCardTableContextMenu.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemTableViewPreferences.h"
#include "tables/UFemTableViewPreferencesViewController.h"
#include "tables/resulttable/UFemResultTablePane.h"

#include <QMenu>

UFemTableViewController::UFemTableViewController(UFemWindowController& windowController)
    : UFemMainViewWithResultTableController(windowController)
    , cardStringAttributesDictionary_(UFemCardTableStyle::defaultCardStringAttributesDictionary())
    , optionalEditor_(*this, UFemCardStringEditorSenderKeyTableViewController, quintptr(this))
{
    loadTableBox();
    UErrorPtr error;
    // The built-in defaults always apply.
    static_cast<void>(setViewPreferences(
        UFemTableViewPreferences::defaultTableViewPreferencesOfFolderIndex(0), &error));
    observeNotifications();
}

std::unique_ptr<UFemMainViewController> UFemTableViewController::makeMainViewController(
    UFemWindowController& windowController, UFemViewType viewType)
{
    if (viewType != UFemViewTypeCard)
        return nullptr;
    return std::make_unique<UFemTableViewController>(windowController);
}

UFemTableViewController::~UFemTableViewController()
{
    finish();
}

// Builds what the layout "UFemTableView" holds: the card table as the main view beside the
// result table, the pane being the table box.
void UFemTableViewController::loadTableBox()
{
    cardTableViewOutlet_ = new UFemCardTableView;
    model_ = new UFemCardTableModel(windowCardTable(), cardTableViewOutlet_);
    cellDelegate_ = new UFemCardTableCellDelegate(cardTableViewOutlet_);
    cellDelegate_->setCardStringAttributesDictionary(cardStringAttributesDictionary_);
    cardTableViewOutlet_->setItemDelegate(cellDelegate_);
    cardTableViewOutlet_->setCardTableModel(model_);
    cardTableViewOutlet_->setCardTableViewDelegate(this);
    selectionConnection_ = QObject::connect(cardTableViewOutlet_->selectionModel(),
        &QItemSelectionModel::selectionChanged, cardTableViewOutlet_,
        [this] { tableViewSelectionDidChange(); });
    cellEditor_ = new UFemCardStringCellEditor(cardTableViewOutlet_->viewport());
    cellEditor_->setFont(cardTableViewOutlet_->font());
    cellEditor_->setEndingHandler(
        [this](UFemCardStringCellEditor::Ending ending) { endCellEditing(ending); });
    cellEditor_->setChangeApproval([this] {
        UErrorPtr locked = dataController().errorIfLocked();
        presentError(locked);
        return locked == nullptr;
    });
    setMainView(cardTableViewOutlet_);
    resultTablePane()->setObjectName(QStringLiteral("tableViewBoxOutlet"));
    optionalEditor_.connectDidEndEditing(
        cardTableViewOutlet_, [this] { optionalCardStringEditorDidEndEditing(); });
}

void UFemTableViewController::observeNotifications()
{
    UFemDataController& data = dataController();
    UNotificationCenter& modelCenter = data.modelNotificationCenter();
    UNotificationCenter& center = UNotificationCenter::defaultCenter();
    auto applyAndClose = [this](const UNotification&) { applyAndCloseCardStringFieldEditor(); };
    auto reloadTable = [this](const UNotification&) { reload(); };
    observations_.push_back(
        modelCenter.observe(UFemModelDataWillChangeNotification, &data, applyAndClose));
    // Every model change reloads, undo and redo too: a reload skipped there left the rows of
    // cards an undo had removed.
    observations_.push_back(modelCenter.observe(
        UFemModelDataDidChangeNotification, &data, [this](const UNotification&) {
            const UUndoManager* undo = dataController().undoManager();
            const bool isUndoingOrRedoing
                = undo != nullptr && (undo->isUndoing() || undo->isRedoing());
            reload();
            scrollRowToVisibleLastEditedCardWithDoesSelectLastEditedCard(isUndoingOrRedoing);
        }));
    UFemWindowController* window = windowController();
    observations_.push_back(
        center.observe(UFemWindowCurrentCaseDidChangeNotification, window, reloadTable));
    observations_.push_back(
        center.observe(UFemWindowSelectedCardWillChangeNotification, window, applyAndClose));
    observations_.push_back(
        center.observe(UFemWindowSelectedCardDidChangeNotification, window, reloadTable));
    observations_.push_back(modelCenter.observe(
        UFemCardStringEditorShouldCloseNotification, &data, [this](const UNotification& notice) {
            const QVariant sender
                = notice.userInfo.value(UFemCardStringEditorSenderKeyTableViewController);
            if (!sender.isValid() || sender.value<quintptr>() != quintptr(this))
                applyAndCloseCardStringFieldEditor();
        }));
    // A new user card filter changes the window's cards without a case change.
    UFemWindowCardTable& cards = windowCardTable();
    observations_.push_back(cards.notificationCenter().observe(
        UFemWindowCardTableDidChangeNotification, &cards, reloadTable));
}

void UFemTableViewController::finish()
{
    if (isFinished_)
        return;
    isFinished_ = true;
    viewWillSwapOut();
    observations_.clear();
    preferencesViewController_.reset();
    QObject::disconnect(selectionConnection_);
    optionalEditor_.disconnect();
    // The table lives on with the pane, which the window may hold longer than this controller.
    if (cardTableViewOutlet_ != nullptr) {
        cardTableViewOutlet_->setCardTableViewDelegate(nullptr);
        cellEditor_->setEndingHandler({});
        cellEditor_->setChangeApproval({});
    }
    cardTableViewOutlet_ = nullptr;
    model_ = nullptr;
    cellDelegate_ = nullptr;
    UFemMainViewWithResultTableController::finish();
}

QWidget* UFemTableViewController::mainView() const
{
    return cardTableViewOutlet_;
}

QWidget* UFemTableViewController::mainViewBox() const
{
    return resultTablePane();
}

void UFemTableViewController::viewDidSwapIn()
{
    cardTableViewOutlet_->setFocus(Qt::OtherFocusReason);
    reload();
}

bool UFemTableViewController::setViewPreferences(const QVariantMap& preferences, UErrorPtr* error)
{
    currentViewPreferences_ = preferences;
    UFemCardTableView& table = *cardTableViewOutlet_;
    table.setCardRowIndexColumnActive(
        preferences.value(IsCardRowIndexColumnActiveTableViewPreferenceKey).toBool());
    table.setCardNameStringColumnActive(
        preferences.value(IsCardNameStringColumnActiveTableViewPreferenceKey).toBool());
    table.setCardStringColumnActive(
        preferences.value(IsCardStringColumnActiveTableViewPreferenceKey).toBool());
    table.setErrorStringColumnActive(
        preferences.value(IsErrorStringColumnActiveTableViewPreferenceKey).toBool());
    cardTableViewOtherValueListString_
        = preferences.value(CardTableViewOtherValueListStringTableViewPreferenceKey).toString();
    const QString exprList
        = preferences.value(IsResultTableViewActiveTableViewPreferenceKey).toBool()
        ? preferences.value(ResultTableViewCardValueExprListStringTableViewPreferenceKey).toString()
        : QString();
    if (!setResultTableViewCardValueExprListString(exprList, error))
        return false;
    reload();
    return true;
}

UFemPreferencesViewController* UFemTableViewController::preferencesViewController()
{
    return &tableViewPreferencesViewController();
}

UFemTableViewPreferencesViewController&
UFemTableViewController::tableViewPreferencesViewController()
{
    if (preferencesViewController_ == nullptr) {
        preferencesViewController_ = std::make_unique<UFemTableViewPreferencesViewController>();
        preferencesViewController_->setDelegate(this);
    }
    return *preferencesViewController_;
}

void UFemTableViewController::setCardStringAttributesDictionary(
    const UFemCardStringAttributesDictionary& attributes)
{
    cardStringAttributesDictionary_ = attributes;
    cellDelegate_->setCardStringAttributesDictionary(attributes);
    cardTableViewOutlet_->viewport()->update();
}

void UFemTableViewController::reload()
{
    if (model_ == nullptr)
        return;
    doesRefuseSelectedCardArrayChangeFromTableView_ = true;
    model_->reload();
    updateSelectionOnViewBySelectedCardSetManager();
    doesRefuseSelectedCardArrayChangeFromTableView_ = false;
}

bool UFemTableViewController::cardTableViewDoesDrawOverlay() const
{
    return windowController() != nullptr && windowController()->doesDrawOverlaidProjectInfo();
}

void UFemTableViewController::cardTableViewClearOverlay()
{
    windowController()->setDoesDrawOverlaidProjectInfo(false);
}

void UFemTableViewController::ufemTableViewDrawRect(QPainter& painter, const QRectF& visibleRect)
{
    ufemMainView_drawOverlaidProjectInfoIfNeeded(painter, visibleRect);
}

void UFemTableViewController::cardTableViewDeleteSelectedCards()
{
    CommandItem item(DeleteCommand);
    if (!validateCommand(item)) {
        Notifier::beep();
        return;
    }
    performCommand(item);
}

void UFemTableViewController::cardTableViewShowContextMenu(const QPoint& globalPosition)
{
    UFemCardTableContextMenu::makeMenu(*this, cardTableViewOutlet_)->popup(globalPosition);
}
