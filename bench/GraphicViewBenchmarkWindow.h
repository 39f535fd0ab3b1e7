#pragma once

// A model document opened from a file in a window switched to the 3-D view, for the graphic
// view benchmarks.
#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "appkit/FileDialogPanels.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "documents/document/UFemDocumentTypeRegistration.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/threads/UThreadCountPreference.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/UFemGraphicViewPreferences.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "platform/UUserDefaults.h"
#include "tables/UFemTableViewPreferences.h"

#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

struct GraphicViewBenchmarkWindow {
    explicit GraphicViewBenchmarkWindow(const QString& modelText, QSize viewSize = { 1200, 800 })
        : panels(sheets)
        , controller(sheets, panels, tracker)
    {
        UFemRegisterDocumentTypes(controller, UFemDataControllerServices::shared(), nullptr);
        const QString path = folder.filePath(QStringLiteral("model.vtmodel"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write the benchmark model");
        file.write(modelText.toUtf8());
        file.close();
        UErrorPtr error;
        Document* document = controller.openDocument(path, true, &error);
        if (document == nullptr || document->windowControllers().empty())
            throw std::runtime_error("benchmark document does not open");
        auto* window
            = dynamic_cast<UFemWindowController*>(document->windowControllers().front().get());
        window->setViewType(UFemViewTypeGraphic);
        graphic = dynamic_cast<UFemGraphicViewController*>(window->mainViewController());
        graphic->graphicView()->resize(viewSize);
        graphic->updateViewSize();
        graphic->fitObjectInView();
    }

    // The program's setup as the application makes it, the frame limited to `threadCount`
    // threads.
    static void setUpProgram(quint64 threadCount)
    {
        UFemDataControllerServices services = UFemDataControllerServices::shared();
        UFemInstallGraphicViewValueRangeServices(services);
        UFemDataControllerServices::setShared(std::move(services));
        UUserDefaults::standardUserDefaults().registerDefaults(
            { { UFemReferenceThreadCountPreferencesKey, qulonglong(threadCount) } });
        UFemUserPreferences::setDefaultViewPreferencesFolderArrays(
            UFemTableViewPreferences::defaultTableViewPreferencesFolderArray(),
            UFemGraphicViewPreferences::defaultGraphicViewPreferencesFolderArray());
        UFemWindowController::setRegisteredMainViewControllerMaker(
            &UFemGraphicViewController::makeMainViewController);
    }

    QTemporaryDir folder;
    WindowTracker tracker;
    SheetPresenter sheets;
    FileDialogPanels panels;
    DocumentController controller;
    UFemGraphicViewController* graphic = nullptr;
};
