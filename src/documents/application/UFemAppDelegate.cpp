#include "documents/application/UFemAppDelegate.h"

#include "appkit/Alert.h"
#include "appkit/DocumentController.h"
#include "appkit/Notifier.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowController.h"
#include "appkit/WindowFront.h"
#include "appkit/WindowTracker.h"
#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "cards/UFemCardClasses.h"
#include "documents/application/UFemAboutWindow.h"
#include "documents/application/UFemApplicationCommandHooks.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/application/UFemMainMenuWindow.h"
#include "documents/application/UFemManualWindow.h"
#include "documents/application/UFemOpenGLInfoWindow.h"
#include "documents/calculation/UFemCalculationManager.h"
#include "documents/document/UFemDocument.h"
#include "documents/preferences/UFemPreferencePanelController.h"
#include "documents/preferences/UFemPreferencesMessageReporter.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/primitives/UGLSphereTables.h"
#include "platform/UUserDefaults.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QUrl>

#include <algorithm>

namespace {

// The notifications after which the main menu follows the active window.
QStringList mainMenuNotifications()
{
    return {
        UFemActiveMainViewWillChangeNotification,
        UFemActiveMainViewDidChangeNotification,
        UFemGraphicMoveModeDidChangeNotification,
        UFemWindowCardTableDidChangeNotification,
        UFemModelDataDidChangeNotification,
        UFemResultDataDidChangeNotification,
        UFemWindowSelectedCardDidChangeNotification,
        UFemWindowCurrentCaseDidChangeNotification,
    };
}

const QString UsersManualFileName = QStringLiteral("Vantrel Users Manual.pdf");

void setItem(QAction* item, bool enabled, bool on)
{
    item->setEnabled(enabled);
    item->setChecked(on);
}

} // namespace

void UFemAppDelegate::initialize(SheetPresenter& sheets)
{
    UGLInitializeSphereTables();
    UFemInstallCardClasses();
    UFemDataControllerServices services = UFemDataControllerServices::shared();
    UFemInstallResultDataServices(services,
        [sheets = QPointer<SheetPresenter>(&sheets)](
            const QString& messageText, const QString& informativeText) {
            if (!sheets)
                return;
            Alert alert;
            alert.messageText = messageText;
            alert.informativeText = informativeText;
            sheets->runModalAlert(alert);
        });
    UFemInstallCalculationServices(services);
    services.beep = &Notifier::beep;
    UFemDataControllerServices::setShared(std::move(services));
    UFemUserPreferences::registerDefaults(UUserDefaults::standardUserDefaults());
    UFemUserPreferences::applicationPreferencesMessageReporter().setPresenter(
        [sheets = QPointer<SheetPresenter>(&sheets)](const UErrorPtr& error) {
            if (!sheets)
                return;
            const auto present
                = UFemPreferencesMessageReporter::presenterWithSheetPresenter(*sheets);
            present(error);
        });
    UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager();
}

UFemAppDelegate::UFemAppDelegate(DocumentController& documentController, WindowTracker& tracker,
    UFemMainMenu& mainMenu, SheetPresenter& sheets)
    : documentController_(documentController)
    , tracker_(tracker)
    , mainMenu_(mainMenu)
    , sheets_(sheets)
    , quit_(&UFemAppDelegate::quitApplication)
    , openUrl_(&QDesktopServices::openUrl)
    , usersManualPath_(
          QDir::cleanPath(QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("../share/vantrel/") + UsersManualFileName)))
{
    UFemInstallCardClasses();
    UNotificationCenter& center = UNotificationCenter::defaultCenter();
    for (const QString& name : mainMenuNotifications())
        observations_.push_back(center.observe(name, nullptr, [this](auto&) { updateMainMenu(); }));
    // No notification tells that the last document window has gone.
    connect(&tracker_, &WindowTracker::mainWindowChanged, this, &UFemAppDelegate::updateMainMenu);

    addCommand(UFemShowAboutPanelCommand,
        [this](auto&) { showAboutPanel(QGuiApplication::queryKeyboardModifiers()); });
    addCommand(UFemShowOpenGLInfoCommand, [this](auto&) { showOpenGLInfo(); });
    addCommand(UFemShowPreferencePanelCommand, [this](auto&) {
        UFemPreferencePanelController::sharedPreferencePanelController(sheets_).showPanel();
    });
    addCommand(UFemOpenCalculationPanelCommand, [](auto&) {
        UFemCalculationManager::sharedCalculationManager().displayCalculationManagerPanel();
    });
    addCommand(UFemOpenUsersManualCommand, [this](auto&) { openUsersManual(); });
    addCommand(UFemOpenWebSiteCommand, [this](auto&) { openWebSite(); });
    addCommand(UFemTerminateCommand, [this](auto&) { terminate(); });
}

UFemAppDelegate::~UFemAppDelegate() = default;

QWidget* UFemAppDelegate::aboutPanel() const
{
    const std::vector<QWidget*> panels = aboutPanel_.windows();
    return panels.empty() ? nullptr : panels.front();
}

void UFemAppDelegate::applicationDidFinishLaunching()
{
    updateMainMenu();
    // A damaged settings file was recovered when the preferences were first read: said once.
    if (const std::optional<QString> notice
        = UUserDefaults::standardUserDefaults().takeRecoveryNotice()) {
        Alert alert;
        alert.messageText = QStringLiteral("Some preferences could not be read.");
        alert.informativeText = *notice;
        sheets_.runModalAlert(alert);
    }
}

bool UFemAppDelegate::respondsToCommand(const QString& command) const
{
    return CommandTarget::respondsToCommand(command)
        || UFemApplicationCommandHooks::hasHandler(command);
}

bool UFemAppDelegate::validateCommand(CommandItem& item)
{
    // An installation without the manual has nothing to open.
    if (item.command() == UFemOpenUsersManualCommand)
        return QFileInfo::exists(usersManualPath()) || QFileInfo::exists(usersManualTextPath());
    if (CommandTarget::respondsToCommand(item.command()))
        return CommandTarget::validateCommand(item);
    return UFemApplicationCommandHooks::validate(item);
}

void UFemAppDelegate::performCommand(const CommandItem& sender)
{
    if (CommandTarget::respondsToCommand(sender.command())) {
        CommandTarget::performCommand(sender);
        return;
    }
    CommandItem item(sender);
    if (!UFemApplicationCommandHooks::perform(item))
        Notifier::beep();
}

WindowController* UFemAppDelegate::activeWindowController() const
{
    return tracker_.mainWindowController();
}

void UFemAppDelegate::updateMainMenu()
{
    WindowController* controller = activeWindowController();
    const auto* window = dynamic_cast<const UFemMainMenuWindow*>(controller);
    const auto* document = controller == nullptr
        ? nullptr
        : dynamic_cast<const UFemDocument*>(controller->document());
    const UFemViewType viewType = window == nullptr ? UFemViewTypeNone : window->viewTypeMenuTag();
    updateViewTypeMenu(document, viewType);
    updateGraphicMoveModeMenu(window, viewType);
    updateViewSettingMenu(window);
    updateCaseMenu(window);
    updateOther(controller != nullptr, viewType);
}

void UFemAppDelegate::updateViewTypeMenu(const UFemDocument* document, UFemViewType viewType)
{
    const bool hasModelData = document != nullptr && document->hasModelData();
    setItem(mainMenu_.tableViewTypeMenuItem(), hasModelData, viewType == UFemViewTypeCard);
    setItem(mainMenu_.graphicViewTypeMenuItem(), hasModelData, viewType == UFemViewTypeGraphic);
    const UFemDocumentType type
        = document == nullptr ? UFemDocumentTypeNone : document->documentType();
    QAction* info = mainMenu_.projectInfoViewTypeMenuItem();
    const bool hasInfo = type == UFemDocumentTypeProject || type == UFemDocumentTypeResult;
    info->setText(type == UFemDocumentTypeResult ? tr("Result Info") : tr("Project Info"));
    setItem(info, hasInfo, hasInfo && viewType == UFemViewTypeInfo);
}

void UFemAppDelegate::updateGraphicMoveModeMenu(
    const UFemMainMenuWindow* window, UFemViewType viewType)
{
    QAction* item = mainMenu_.graphicMoveModeMenuItem();
    const bool isAvailable = viewType == UFemViewTypeGraphic && window != nullptr
        && window->isGraphicMoveModeAvailable();
    item->setEnabled(isAvailable);
    if (!isAvailable)
        return;
    const int tag = int(window->graphicMoveModeMenuTag());
    for (QAction* mode : item->menu()->actions())
        mode->setChecked(mode->data().toInt() == tag);
}

void UFemAppDelegate::updateViewSettingMenu(const UFemMainMenuWindow* window)
{
    QAction* item = mainMenu_.viewSettingMenuItem();
    QMenu* menu = window == nullptr ? nullptr : window->viewSettingMenu();
    if (menu != nullptr)
        item->setMenu(menu);
    item->setEnabled(menu != nullptr);
}

void UFemAppDelegate::updateCaseMenu(const UFemMainMenuWindow* window)
{
    QAction* item = mainMenu_.caseMenuItem();
    QMenu* menu = window == nullptr ? nullptr : window->caseMenu();
    item->setEnabled(menu != nullptr);
    if (menu == nullptr)
        return;
    item->setMenu(menu);
    const qint64 tag = window->selectedCaseMenuItemTag();
    for (QAction* action : menu->actions()) {
        if (action->data().toLongLong() == tag) {
            action->setCheckable(true);
            action->setChecked(true);
        }
    }
}

void UFemAppDelegate::updateOther(bool hasWindow, UFemViewType viewType)
{
    mainMenu_.findBaseMenuItem()->setEnabled(hasWindow && viewType != UFemViewTypeInfo);
    mainMenu_.setDirectionMenuItem()->setEnabled(viewType == UFemViewTypeGraphic);
}

void UFemAppDelegate::showAboutPanel(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::AltModifier) {
        showOpenGLInfo();
        return;
    }
    QWidget* panel = aboutPanel();
    if (panel == nullptr)
        panel = aboutPanel_.add(UFemAboutWindow::makeWindow());
    WindowFront::bring(*panel);
}

void UFemAppDelegate::showOpenGLInfo()
{
    UErrorPtr error;
    const std::optional<QString> text = UFemOpenGLInfoWindow::rendererInfoText(
        UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager(), &error);
    if (!text) {
        sheets_.runModalAlert(Alert::fromError(*error));
        return;
    }
    WindowFront::bring(*openGLInfoWindows_.add(UFemOpenGLInfoWindow::makeWindow(*text)));
}

std::vector<QWidget*> UFemAppDelegate::openGLInfoWindows() const
{
    return openGLInfoWindows_.windows();
}

QString UFemAppDelegate::usersManualTextPath() const
{
    const QFileInfo pdf(usersManualPath());
    return pdf.dir().filePath(pdf.completeBaseName() + QStringLiteral(".md"));
}

QWidget* UFemAppDelegate::usersManualWindow() const
{
    const std::vector<QWidget*> windows = usersManualWindow_.windows();
    return windows.empty() ? nullptr : windows.front();
}

// A desktop without a PDF viewer still gets the manual: the same text in a window of its own.
void UFemAppDelegate::openUsersManual()
{
    if (QFileInfo::exists(usersManualPath()) && openUrl_(QUrl::fromLocalFile(usersManualPath())))
        return;
    if (QWidget* shown = usersManualWindow()) {
        WindowFront::bring(*shown);
        return;
    }
    std::unique_ptr<QWidget> window = UFemManualWindow::makeWindow(usersManualTextPath());
    if (window == nullptr) {
        Notifier::beep();
        return;
    }
    WindowFront::bring(*usersManualWindow_.add(std::move(window)));
}

void UFemAppDelegate::openWebSite()
{
    if (!openUrl_(QUrl(UFemWebSiteAddress)))
        Notifier::beep();
}

UFemCalculationManager& UFemAppDelegate::calculationManager() const
{
    return calculationManager_ != nullptr ? *calculationManager_
                                          : UFemCalculationManager::sharedCalculationManager();
}

void UFemAppDelegate::quitApplication()
{
    // Not quit(): that first tries to close every window, and a window that waits for its
    // document's review refuses, so the program would stay.
    QCoreApplication::exit(0);
}

void UFemAppDelegate::terminate()
{
    if (isReviewingUnsaved_)
        return;
    UFemCalculationManager& calculations = calculationManager();
    if (calculations.calculationCount() != 0
        && !calculations.confirmQuitCalculating(calculations.calculationFileNameStrings()))
        return;
    isReviewingUnsaved_ = true;
    documentController_.reviewUnsavedDocuments([this](bool mayQuit) {
        isReviewingUnsaved_ = false;
        if (!mayQuit)
            return;
        // No calculation goes on unseen once the windows are gone.
        calculationManager().quitAllCalculations([this] {
            if (quit_)
                quit_();
        });
    });
}
