#include "VantrelApplication.h"

#include "appkit/FileDialogPanels.h"
#include "appkit/SheetPresenter.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "documents/application/UFemAppDelegate.h"
#include "documents/application/UFemApplicationCommandHooks.h"
#include "documents/application/UFemApplicationShell.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/UFemConstants.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/UFemGraphicViewPreferences.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "platform/UStackReserve.h"
#include "tables/UFemFindPanelController.h"
#include "tables/UFemTableViewController.h"
#include "tables/UFemTableViewPreferences.h"
#include "tables/modeledit/ModelEditWindowController.h"
#include "tools/divider/UFemToolElementDivider.h"
#include "tools/merger/UFemToolNodeMerger.h"

#include <QTimer>

#include <memory>

int main(int argc, char** argv)
{
    UReserveStack(UMainThreadStackReserve);
    VantrelApplication app(argc, argv);
    app.setApplicationVersion(UFemProgramVersionString);
    // Closing the last window does not quit: quitting goes through the review of unsaved
    // documents, and the start window returns when no document window is left.
    app.setQuitOnLastWindowClosed(false);

    SheetPresenter sheets;
    FileDialogPanels panels(sheets);
    // The card table is the document window's card view, the 3-D view its graphic view.
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays(
        UFemTableViewPreferences::defaultTableViewPreferencesFolderArray(),
        UFemGraphicViewPreferences::defaultGraphicViewPreferencesFolderArray());
    UFemWindowController::setRegisteredMainViewControllerMaker(
        &UFemGraphicViewController::makeMainViewController);
    // The delegate extends the shared services; the 3-D view's value-range tasks go in first.
    UFemDataControllerServices services = UFemDataControllerServices::shared();
    UFemInstallGraphicViewValueRangeServices(services);
    UFemDataControllerServices::setShared(std::move(services));
    UFemAppDelegate::initialize(sheets);
    UFemApplicationShell shell(sheets, panels);
    WindowTracker& tracker = shell.windowTracker();
    UFemFindPanelController findPanel(tracker);
    UFemFindPanel::setShared(&findPanel);
    UFemApplicationCommandHooks::setHandler(
        QStringLiteral("divideSelectedElements:"), [&tracker, &sheets](const CommandItem&) {
            UFemToolElementDivider::apply(tracker, sheets);
        });
    UFemApplicationCommandHooks::setHandler(QStringLiteral("mergeNodeOnSameLocation:"),
        [&tracker, &sheets](const CommandItem&) { UFemToolNodeMerger::apply(tracker, sheets); });
    shell.start();
    // The model edit window is made on first use and lives until the application ends.
    std::unique_ptr<ModelEditWindowController> modelEditWindow;
    UFemApplicationCommandHooks::setHandler(QStringLiteral("openModelEditWindow:"),
        [&modelEditWindow, &shell, &sheets](const CommandItem&) {
            if (modelEditWindow == nullptr)
                modelEditWindow
                    = std::make_unique<ModelEditWindowController>(shell.windowTracker(), sheets);
            modelEditWindow->showWindow();
        });
    const QStringList files = app.arguments().mid(1);
    QTimer::singleShot(0, &shell, [&shell, files] { shell.openFiles(files); });
    return app.exec();
}
