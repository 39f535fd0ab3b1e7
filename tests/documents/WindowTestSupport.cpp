#include "WindowTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "cardmodel/text/UFemStringSearchManager.h"
#include "cards/UFemCardClasses.h"
#include "platform/UUndoManager.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

WindowTestDocument::WindowTestDocument(UFemDocumentType documentType)
    : type(documentType)
    , dataController_(std::make_unique<UFemDataController>())
{
    UFemInstallCardClasses();
    dataController_->setUndoManager(&undoManager());
    dataController_->setNotificationCenter(&UNotificationCenter::defaultCenter());
}

WindowTestDocument::~WindowTestDocument()
{
    dataController_->finish();
}

void WindowTestDocument::readModel(const QString& modelText)
{
    UErrorPtr error;
    ASSERT_TRUE(dataController_->resetWithModelText(modelText, true, &error));
    hasModel = true;
}

bool WindowTestDocument::loadProjectResultData(UErrorPtr* error)
{
    ++projectResultLoads;
    *error = loadError;
    return loadError == nullptr;
}

bool WindowTestDocument::loadResultDataWithResultFileURL(const QString& path, UErrorPtr* error)
{
    loadedResultPaths.append(path);
    *error = loadError;
    return loadError == nullptr;
}

bool WindowTestDocument::loadClipboardCardValue(
    const QString& text, UFemColumnSeparatingCharacterType columnType, UErrorPtr* error)
{
    clipboardTexts.append(text);
    clipboardTypes.push_back(columnType);
    *error = loadError;
    return loadError == nullptr;
}

std::shared_ptr<UFemStringSearchManager>
FakeFindPanel::stringSearchManagerWithDoesSearchBackDirection(
    bool doesSearchBackDirection, UErrorPtr* error)
{
    return UFemStringSearchManager::stringSearchManagerWithSearchString(search,
        UFemStringSearchFunctionContains, UFemStringSearchTargetCardString, doesSearchBackDirection,
        false, false, wrapAround, error);
}

NotificationLog::NotificationLog(
    const QStringList& watched, std::initializer_list<const void*> senders)
{
    for (const QString& name : watched)
        for (const void* sender : senders)
            observations_.push_back(UNotificationCenter::defaultCenter().observe(
                name, sender, [this](const UNotification& note) { names.append(note.name); }));
}

WindowHarness::WindowHarness(UFemDocumentType type, const QString& modelText,
    UFemWindowController::MainViewControllerMaker maker)
    : controller(sheets, panels, tracker)
{
    auto made = std::make_unique<WindowTestDocument>(type);
    document = made.get();
    controller.addDocument(std::move(made));
    if (!modelText.isNull())
        document->readModel(modelText);
    window = static_cast<UFemWindowController*>(document->addWindowController(
        std::make_unique<UFemWindowController>(tracker, std::move(maker))));
    window->windowDidLoad();
    finishEventTurn();
}

WindowHarness::~WindowHarness()
{
    window->finish();
}

UFemCardPtr WindowHarness::windowCard(quint64 row) const
{
    return window->windowCardTable().cardAtIndex(row);
}

void WindowHarness::finishEventTurn() const
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
