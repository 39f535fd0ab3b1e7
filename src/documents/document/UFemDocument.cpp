#include "documents/document/UFemDocument.h"

#include "appkit/Alert.h"
#include "appkit/DocumentController.h"
#include "appkit/SheetPresenter.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/calculation/UFemSaveBeforeCalculationPanelController.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "documents/document/UFemProjectFilePath.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QFileInfo>

namespace {

} // namespace

UFemDocument::UFemDocument(const UFemDataControllerServices& services)
    : services_(services)
    , dataController_(std::make_unique<UFemDataController>(services))
    , userPreferencesCache_(UFemUserPreferencesCache::standardUserPreferencesCache())
{
    dataController_->setDelegate(this);
    dataController_->setUndoManager(&undoManager());
    dataController_->setNotificationCenter(&UNotificationCenter::defaultCenter());
    calculationDoneObservation_ = UNotificationCenter::defaultCenter().observe(
        UFemCalculationDoneNotification, nullptr, [this](const UNotification& notification) {
            calculationDoneWithNotification(notification);
        });
    addCalculationCommands();
}

UFemDocument::~UFemDocument()
{
    finish();
}

void UFemDocument::clearState()
{
    documentType_ = UFemDocumentTypeNone;
    isProjectDocumentEdited_ = false;
    project_ = {};
    hasProjectData_ = false;
    doesProjectFileContainData_ = false;
    hasModelData_ = false;
    modelFileStamp_ = {};
    isEasyLocked_ = false;
    isStrongLocked_ = false;
    calculationIdentifierNumber_ = UFemNoCalculationIdentifierNumber;
}

UFemUserPreferencesPtr UFemDocument::documentUserPreferences() const
{
    return userPreferencesCache_->userPreferences();
}

void UFemDocument::reset()
{
    clearState();
    userPreferencesCache_->dropUserPreferences();
    dataController_->reset();
    undoManager().removeAllActions();
    updateOutsideLock();
}

void UFemDocument::finish()
{
    if (finished_)
        return;
    finished_ = true;
    // The windows let go of the model before it finishes.
    finishWindowControllers();
    calculationDoneObservation_.reset();
    clearState();
    dataController_->finish();
    dataController_->setDelegate(nullptr);
}

void UFemDocument::setFileType(const QString& fileType)
{
    const UFemDocumentType type = UFemDocumentTypeOfTypeName(fileType);
    if (type != UFemDocumentTypeNone)
        documentType_ = type;
    if (type == UFemDocumentTypeModel && !hasModelData_) {
        // A model document always has a model, possibly empty.
        setHasModelData(true);
        updateOutsideLock();
    }
    Document::setFileType(fileType);
}

void UFemDocument::announce(const QString& key, bool done)
{
    if (done)
        emit valueDidChange(key);
    else
        emit valueWillChange(key);
}

void UFemDocument::setHasModelData(bool hasModelData)
{
    announce(UFemHasModelDataKey, false);
    hasModelData_ = hasModelData;
    announce(UFemHasModelDataKey, true);
}

// ---- Project fields

void UFemDocument::setProjectField(
    std::optional<QString>& field, const std::optional<QString>& value)
{
    field = value;
    setProjectDocumentEdited(true);
}

void UFemDocument::setProjectTitleString(const std::optional<QString>& title)
{
    setProjectField(project_.projectTitleString, title);
}

void UFemDocument::setProjectVersionString(const std::optional<QString>& version)
{
    setProjectField(project_.projectVersionString, version);
}

void UFemDocument::setProjectCommentString(const std::optional<QString>& comment)
{
    setProjectField(project_.projectCommentString, comment);
}

void UFemDocument::setProjectModelFilePathString(const std::optional<QString>& path)
{
    setProjectField(project_.projectModelFilePathString, path);
}

void UFemDocument::setProjectResultFilePathString(const std::optional<QString>& path)
{
    setProjectField(project_.projectResultFilePathString, path);
}

void UFemDocument::setProjectDoesLoadModelDataAuto(bool doesLoad)
{
    project_.projectDoesLoadModelDataAuto = doesLoad;
    setProjectDocumentEdited(true);
}

void UFemDocument::setProjectDoesLoadResultDataAuto(bool doesLoad)
{
    project_.projectDoesLoadResultDataAuto = doesLoad;
    setProjectDocumentEdited(true);
}

void UFemDocument::setProjectPreferencesDictionary(const std::optional<QVariantMap>& preferences)
{
    project_.projectPreferencesDictionary = preferences;
    setProjectDocumentEdited(true);
}

// ---- Derived values

bool UFemDocument::hasResultData() const
{
    return hasModelData_ && dataController_->hasResultData();
}

UErrorPtr UFemDocument::resultDataCalculationError() const
{
    return dataController_->resultDataCalculationError();
}

bool UFemDocument::isModelAnyLocked() const
{
    return dataController_->isLocked();
}

QString UFemDocument::fileNameString() const
{
    return filePath().isEmpty() ? QString() : fileName();
}

QString UFemDocument::projectFileNameString() const
{
    return documentType_ == UFemDocumentTypeProject ? fileNameString() : QString();
}

QString UFemDocument::projectDirectoryPathString() const
{
    if (documentType_ != UFemDocumentTypeProject || filePath().isEmpty())
        return {};
    QString directory = UFemAbbreviatedFilePath(QFileInfo(filePath()).absolutePath());
    if (!directory.endsWith(u'/'))
        directory += u'/';
    return directory;
}

bool UFemDocument::isProjectModelFilePathValid() const
{
    return project_.projectModelFilePathString
        && UFemIsProjectFilePathValid(*project_.projectModelFilePathString, UFemModelFileExtension);
}

bool UFemDocument::isProjectResultFilePathValid() const
{
    return project_.projectResultFilePathString
        && UFemIsProjectFilePathValid(
            *project_.projectResultFilePathString, UFemResultFileExtension);
}

// ---- Edited state

void UFemDocument::setProjectDocumentEdited(bool edited)
{
    isProjectDocumentEdited_ = edited;
    editedStateMayHaveChanged();
}

void UFemDocument::setModelDocumentEdited(bool edited)
{
    if (edited)
        UFemRaiseProgramError(
            QStringLiteral("aBool==YES, use this method with aBool==NO to clear ( "
                           "when modelDocument unloaded or loaded new"));
    updateChangeCount(DocumentChange::Cleared);
}

bool UFemDocument::isDocumentEdited() const
{
    switch (documentType_) {
    case UFemDocumentTypeProject:
        return isProjectDocumentEdited_ || isModelDocumentEdited();
    case UFemDocumentTypeModel:
        return isModelDocumentEdited();
    default:
        return false;
    }
}

// ---- Reading and writing by type

bool UFemDocument::readFromData(const QByteArray& data, const QString& type, UErrorPtr* error)
{
    switch (UFemDocumentTypeOfTypeName(type)) {
    case UFemDocumentTypeProject:
        return loadProjectFileData(data, error);
    case UFemDocumentTypeModel:
        return loadModelFileData(data, error);
    case UFemDocumentTypeResult:
        return loadResultFileData(data, error);
    case UFemDocumentTypeNone:
        break;
    }
    UFemSetError(error, UFemUnknownFileTypeError_withFileTypeString(type));
    return false;
}

std::optional<QByteArray> UFemDocument::dataOfType(const QString& type, UErrorPtr* error)
{
    switch (UFemDocumentTypeOfTypeName(type)) {
    case UFemDocumentTypeProject:
        return projectFileData(error);
    case UFemDocumentTypeModel:
        return modelFileData(error);
    case UFemDocumentTypeResult:
        return resultFileData(error);
    case UFemDocumentTypeNone:
        break;
    }
    UFemSetError(error, UFemUnknownFileTypeError_withFileTypeString(type));
    return std::nullopt;
}

bool UFemDocument::revertToContentsOf(const QString& path, const QString& type, UErrorPtr* error)
{
    reset();
    setFileType(type);
    return readFromFile(path, type, error);
}

// ---- Delegate and commands

void UFemDocument::showCardIdentifierNumberLimitWarningAlert(
    const QString& messageText, const QString& informativeText, quint64 alertStyle)
{
    if (documentController() == nullptr)
        return;
    Alert alert;
    alert.messageText = messageText;
    alert.informativeText = informativeText;
    alert.style = alertStyle;
    documentController()->sheetPresenter().beginAlertSheet(windowForSheet(), alert);
}

void UFemDocument::addCalculationCommands()
{
    addCommand(UFemStartCalculationCommand, [this](const CommandItem&) { startCalculation(); });
    addCommand(
        UFemCheckToRunCalculationCommand, [this](const CommandItem&) { checkToRunCalculation(); });
    addCommand(
        UFemSaveModelDocumentToCommand, [this](const CommandItem&) { saveModelDocumentTo(); });
    addCommand(UFemMakeNewWindowCommand, [this](const CommandItem&) { makeNewWindow(); });
}

bool UFemDocument::validateCommand(CommandItem& item)
{
    const QString& command = item.command();
    if (command == SaveDocumentAsCommand)
        return documentType_ == UFemDocumentTypeModel;
    if (command == UFemCheckToRunCalculationCommand || command == UFemStartCalculationCommand)
        return hasModelData_ && (!hasResultData() || resultDataCalculationError() != nullptr);
    if (command == UFemRunPageLayoutCommand || command == UFemPrintDocumentCommand)
        return false;
    return Document::validateCommand(item);
}
