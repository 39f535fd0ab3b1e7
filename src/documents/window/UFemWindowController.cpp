#include "documents/window/UFemWindowController.h"

#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/mainview/UFemFindPanel.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/toolbar/UFemCasePopup.h"
#include "documents/toolbar/UFemViewSettingPopup.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowDocument.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <QApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QToolBar>

namespace {

const QColor rowIndexFieldColor(128, 0, 128);

bool isProjectOrModel(UFemDocumentType type)
{
    return type == UFemDocumentTypeProject || type == UFemDocumentTypeModel;
}

} // namespace

UFemWindowController::UFemWindowController(WindowTracker& tracker, MainViewControllerMaker maker)
    : WindowController(std::make_unique<UFemWindow>(), tracker)
    , maker_(std::move(maker))
{
    // Before the layout's sizes are recorded, so that they count the toolbar.
    toolbar_ = std::make_unique<UFemWindowToolbar>(*this);
    awakeFromNib();
    registerCommands();
}

UFemWindowController::~UFemWindowController()
{
    finish();
}

void UFemWindowController::awakeFromNib()
{
    UFemWindow& window = ufemWindow();
    window.layout()->activate();
    optionalCardStringEditorBoxHeight_
        = window.optionalCardStringEditorBoxOutlet->sizeHint().height();
    QPalette palette = window.optionalCardStringEditorCardRowIndexTextFieldOutlet->palette();
    palette.setColor(QPalette::Text, rowIndexFieldColor);
    window.optionalCardStringEditorCardRowIndexTextFieldOutlet->setPalette(palette);
    connect(window.closeOptionalCardStringEditorButtonOutlet, &QAbstractButton::clicked, this,
        [this] { closeOptionalCardStringEditorBox(); });
    setOptionalCardStringEditorValid_negativeForDisable(UFemEditorBoxInputSetUp);
    // Which view commands reach follows the focus: every move of it inside the window is told.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() == this->window())
            post(UFemActiveMainViewDidChangeNotification);
    });
    window.layout()->activate();
    contentDiffSize_ = window.size() - window.dummyMainViewOutlet->size();
    // Wide enough that the case popup and the card filter do not hide behind the toolbar's
    // overflow.
    const QToolBar& toolbar = *toolbar_->toolbar();
    const int neededWidth = toolbar.sizeHint().width() + window.width() - toolbar.width();
    if (window.width() < neededWidth)
        window.resize(neededWidth, window.height());
}

UFemWindow& UFemWindowController::ufemWindow() const
{
    return static_cast<UFemWindow&>(*window());
}

void UFemWindowController::setDocument(Document* document)
{
    if (document == nullptr) {
        if (mainViewController_ != nullptr)
            mainViewController_->viewWillSwapOut();
        observations_.clear();
        WindowController::setDocument(nullptr);
        return;
    }
    WindowController::setDocument(document);
    ufemDocument_ = dynamic_cast<UFemWindowDocument*>(document);
    if (ufemDocument_ == nullptr)
        UFemRaiseProgramError(QStringLiteral("The document of a window is no UFem document."));
    dataController_ = &ufemDocument_->dataController();
    windowCardTable_ = std::make_unique<UFemWindowCardTable>(*dataController_);
    selectedCardSetManager_ = std::make_unique<UFemCardSetManager>(dataController_);
    UFemWindowCardTable* table = windowCardTable_.get();
    selectedCardSetManager_->setReferenceCardArrayBaseObject(
        table, [table]() -> const UFemCardArray& { return table->cardArray(); },
        UFemWindowCardTableWillChangeNotification, UFemWindowCardTableDidChangeNotification,
        UFemWindowCardTableWillChangeNotification_private,
        UFemWindowCardTableDidChangeNotification_private);
    setCaseSelectMode(UFemCaseSelectModeNoCase);
    currentCaseCardSetManager_ = std::make_unique<UFemCardSetManager>(dataController_);
    observeModel();
    observeCardSet(*selectedCardSetManager_, false);
    observeCardSet(*currentCaseCardSetManager_, true);
}

void UFemWindowController::observeModel()
{
    auto& center = UNotificationCenter::defaultCenter();
    observations_.push_back(center.observe(UFemResultDataDidChangeNotification, dataController_,
        [this](const UNotification&) { updateStatusBar(); }));
    observations_.push_back(
        windowCardTable_->notificationCenter().observe(UFemWindowCardTableDidChangeNotification,
            windowCardTable_.get(), [this](const UNotification&) { updateStatusBar(); }));
    observations_.push_back(center.observe(UFemActiveMainViewDidChangeNotification, this,
        [this](const UNotification&) { updateStatusBar(); }));
}

void UFemWindowController::windowDidLoad()
{
    setViewType(ufemDocument_->hasModelData() ? UFemViewTypeCard : UFemViewTypeInfo);
    toolbar_->setupToolbar();
    post(UFemWindowSelectedCardDidChangeNotification_private);
    post(UFemWindowSelectedCardDidChangeNotification);
    UErrorPtr dropped;
    // The user's filter joins only once it parses, and its own error stays in cardFilterError_.
    static_cast<void>(updateWindowCardTableCombinedCardFilter(&dropped));
    post(UFemWindowCurrentCaseDidChangeNotification_private);
    post(UFemWindowCurrentCaseDidChangeNotification);
    window()->setMouseTracking(true);
}

void UFemWindowController::finish()
{
    if (mainViewController_ != nullptr)
        mainViewController_->viewWillSwapOut();
    observations_.clear();
    toolbar_->finish();
    mainViewController_ = nullptr;
    ufemWindow().setMainViewContent(nullptr);
    for (auto& controller : viewControllers_) {
        if (controller != nullptr)
            controller->finish();
        controller.reset();
    }
    viewType_ = UFemViewTypeNone;
    if (selectedCardSetManager_ != nullptr)
        selectedCardSetManager_->finish();
    if (currentCaseCardSetManager_ != nullptr)
        currentCaseCardSetManager_->finish();
    selectedCardSetManager_.reset();
    currentCaseCardSetManager_.reset();
    setCaseSelectMode(UFemCaseSelectModeNoCase);
    windowCardTable_.reset();
    cardFilterString_.reset();
    cardFilterError_.reset();
    dataController_ = nullptr;
}

UFemDataController& UFemWindowController::dataController() const
{
    return *dataController_;
}

std::shared_ptr<const UFemUserPreferences> UFemWindowController::documentUserPreferences() const
{
    return ufemDocument_ != nullptr ? ufemDocument_->documentUserPreferences() : nullptr;
}

QWidget* UFemWindowController::printView() const
{
    return mainViewController_ != nullptr ? mainViewController_->printView() : nullptr;
}

SheetPresenter* UFemWindowController::sheetPresenter() const
{
    Document* owner = document();
    if (owner == nullptr || owner->documentController() == nullptr)
        return nullptr;
    return &owner->documentController()->sheetPresenter();
}

const UFemCardVector& UFemWindowController::unsortedSelectedCardArray() const
{
    return selectedCardSetManager_->unsortedCardArray();
}

void UFemWindowController::setDoesDrawOverlaidProjectInfo(bool doesDraw)
{
    if (doesDraw == doesDrawOverlaidProjectInfo_)
        return;
    doesDrawOverlaidProjectInfo_ = doesDraw;
    if (mainViewController_ != nullptr && mainViewController_->mainView() != nullptr)
        mainViewController_->mainView()->update();
}

quint64 UFemWindowController::cardRowIndexToAddCard(UErrorPtr* error)
{
    if (UErrorPtr lockError = dataController_->errorIfLocked()) {
        *error = lockError;
        return UFemNotFound;
    }
    return mainViewController_->cardRowIndexToAddCard(error);
}

void UFemWindowController::post(const QString& name) const
{
    UNotificationCenter::defaultCenter().post(name, this);
}

bool UFemWindowController::isGraphicMoveModeAvailable() const
{
    return toolbar_->isGraphicMoveModeAvailable();
}

void UFemWindowController::windowDidBecomeMain()
{
    post(UFemActiveMainViewDidChangeNotification);
}

void UFemWindowController::windowDidResignMain()
{
    post(UFemActiveMainViewWillChangeNotification);
}

void UFemWindowController::registerCommands()
{
    addCommand(UFemViewTypeMenuItemSelectedWithMenuItemCommand,
        [this](const CommandItem& item) { setViewTypeMenuTag(item.tag()); });
    registerToolbarCommands();
    addCommand(UFemFileLockWithMenuItemCommand, [this](const CommandItem& item) {
        if (ufemDocument_->canSetEasyLocked())
            ufemDocument_->setEasyLocked(item.state() != CommandState::On);
    });
    addCommand(
        UFemLoadResultDataWithMenuItemCommand, [this](const CommandItem&) { loadResultData(); });
    addCommand(UFemUnloadResultDataWithMenuItemCommand,
        [this](const CommandItem&) { ufemDocument_->unloadResultData(); });
    addCommand(UFemLoadClipboardCardValueWithMenuItemCommand,
        [this](const CommandItem& item) { loadClipboardCardValue(item); });
    addCommand(UFemLoadClipboardCardValueAsTabSeparatedTextWithMenuItemCommand,
        [this](const CommandItem& item) { loadClipboardCardValue(item); });
    addCommand(UFemUnloadClipboardCardValueCommand,
        [this](const CommandItem&) { ufemDocument_->unloadClipboardCardValue(); });
    addCommand(UFemOpenFindPanelCommand, [](const CommandItem&) {
        if (UFemFindPanel* panel = UFemFindPanel::shared())
            panel->showFindPanel();
    });
}

// Commands the window does not handle go to the main view shown, as the view's responder chain
// would take them there.
bool UFemWindowController::respondsToCommand(const QString& command) const
{
    return WindowController::respondsToCommand(command)
        || (mainViewController_ != nullptr && mainViewController_->respondsToCommand(command));
}

bool UFemWindowController::validateCommand(CommandItem& item)
{
    const QString& command = item.command();
    if (!WindowController::respondsToCommand(command))
        return mainViewController_ != nullptr && mainViewController_->validateCommand(item);
    const UFemDocumentType type = ufemDocument_->documentType();
    if (command == UFemLoadResultDataWithMenuItemCommand)
        return isProjectOrModel(type) && !ufemDocument_->hasResultData();
    if (command == UFemUnloadResultDataWithMenuItemCommand)
        return isProjectOrModel(type) && ufemDocument_->hasResultData();
    if (command == UFemFileLockWithMenuItemCommand) {
        const bool canSet = ufemDocument_->canSetEasyLocked();
        item.setState(
            canSet && ufemDocument_->isEasyLocked() ? CommandState::On : CommandState::Off);
        return canSet;
    }
    if (command == UFemOpenFindPanelCommand)
        return UFemFindPanel::shared() != nullptr;
    if (command == UFemGraphicMoveModeMenuItemSelectedWithMenuItemCommand)
        return isGraphicMoveModeAvailable();
    if (command == UFemUnloadClipboardCardValueCommand)
        return dataController_->clipboardCardValueResultDataManager() != nullptr;
    if (command == UFemViewTypeMenuItemSelectedWithMenuItemCommand) {
        item.setState(mainViewController_ != nullptr && quint64(item.tag()) == viewType_
                ? CommandState::On
                : CommandState::Off);
        if (item.tag() == UFemViewTypeInfo)
            return type == UFemDocumentTypeProject || type == UFemDocumentTypeResult;
        return ufemDocument_->hasModelData();
    }
    return true;
}

void UFemWindowController::performCommand(const CommandItem& sender)
{
    if (WindowController::respondsToCommand(sender.command()))
        WindowController::performCommand(sender);
    else if (mainViewController_ != nullptr)
        mainViewController_->performCommand(sender);
}

// The case, move mode and view setting choices of the main menu act as the toolbar's.
void UFemWindowController::registerToolbarCommands()
{
    for (const QString& command :
        { UFemNoCasesCommand, UFemAllCasesCommand, UFemSelectAllCasesCommand,
            UFemDeselectAllCasesCommand, UFemOneCaseCommand, UFemSomeCasesCommand })
        addCommand(command, [this, command](const CommandItem& item) {
            toolbar_->casePopup()->performCaseCommand(command, item.tag());
        });
    addCommand(UFemGraphicMoveModeMenuItemSelectedWithMenuItemCommand,
        [this](const CommandItem& item) { toolbar_->setGraphicMoveModeMenuTag(item.tag()); });
    addCommand(UFemViewSettingMenuItemSelectedWithMenuItemCommand, [this](const CommandItem& item) {
        toolbar_->viewSettingPopup()->viewSettingMenuItemSelected(item.tag());
    });
}
