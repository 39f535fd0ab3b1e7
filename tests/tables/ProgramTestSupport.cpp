#include "ProgramTestSupport.h"

#include "calculation/results/UFemResultDataServices.h"
#include "documents/document/UFemProjectFile.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/preferences/UFemUserPreferencesCache.h"
#include "tables/UFemTableViewController.h"
#include "tables/UFemTableViewPreferences.h"

#include <QDesktopServices>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

const QStringList RecordedUrlSchemes
    = { QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https") };

// Stand-in results, and the program's own reader of clipboard card values.
UFemDataControllerServices programServices()
{
    UFemDataControllerServices services = FakeResultData::services();
    UFemDataControllerServices real;
    UFemInstallResultDataServices(real, {});
    services.makeClipboardCardValueResultDataManager = real.makeClipboardCardValueResultDataManager;
    return services;
}

} // namespace

ProgramHarness::ProgramHarness()
    : ShellHarness(programServices())
{
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays(
        UFemTableViewPreferences::defaultTableViewPreferencesFolderArray(), {});
    UFemUserPreferences::applicationUserPreferencesCache().dropUserPreferences();
    UFemWindowController::setRegisteredMainViewControllerMaker(
        &UFemTableViewController::makeMainViewController);
    findPanel.search = QStringLiteral("Steel");
    findPanel.replacement = QStringLiteral("Iron");
    auto* recorder = new UrlRecorder(openedUrls);
    recorder->setParent(shell.get());
    for (const QString& scheme : RecordedUrlSchemes)
        QDesktopServices::setUrlHandler(scheme, recorder, "open");
    shell->start();
}

ProgramHarness::~ProgramHarness()
{
    for (const QString& scheme : RecordedUrlSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
    UFemWindowController::setRegisteredMainViewControllerMaker({});
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays({}, {});
    UFemUserPreferences::applicationUserPreferencesCache().dropUserPreferences();
}

UFemDocument* ProgramHarness::openProject(const QString& modelText, bool withResults)
{
    UFemProjectFileContents contents;
    contents.projectModelFilePathString = QStringLiteral("p.vtmodel");
    contents.projectDoesLoadModelDataAuto = true;
    contents.projectResultFilePathString = QStringLiteral("p.vtresult");
    contents.projectDoesLoadResultDataAuto = true;
    writeHomeFile(QStringLiteral("p.vtproj"), UFemProjectFileData(contents));
    writeHomeFile(QStringLiteral("p.vtmodel"), modelText.toUtf8());
    if (withResults)
        writeHomeFile(
            QStringLiteral("p.vtresult"), FakeResultData::fileData(canonicalModelText(modelText)));
    shell->openFiles({ homePath(QStringLiteral("p.vtproj")) });
    finishEventTurn();
    return documentAt(homePath(QStringLiteral("p.vtproj")));
}

UFemDocument* ProgramHarness::openModel(const QString& name, const QString& modelText)
{
    writeHomeFile(name, modelText.toUtf8());
    shell->openFiles({ homePath(name) });
    finishEventTurn();
    return documentAt(homePath(name));
}

UFemWindowController* ProgramHarness::windowOf(Document* document, size_t index)
{
    if (document == nullptr || document->windowControllers().size() <= index)
        return nullptr;
    return dynamic_cast<UFemWindowController*>(document->windowControllers()[index].get());
}

UFemTableViewController* ProgramHarness::tableOf(Document* document) const
{
    UFemWindowController* window = windowOf(document);
    return window == nullptr ? nullptr
                             : dynamic_cast<UFemTableViewController*>(window->mainViewController());
}
