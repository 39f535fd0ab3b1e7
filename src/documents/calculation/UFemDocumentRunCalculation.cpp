// Starting a calculation from a document: where the result goes, the result file, the hand-over to
// the calculation manager and the lock while the document waits.
#include "documents/document/UFemDocument.h"

#include "appkit/Alert.h"
#include "appkit/DocumentController.h"
#include "appkit/SheetPresenter.h"
#include "calculation/UFemDataControllerRunCalculation.h"
#include "calculation/results/UFemResultFileWriter.h"
#include "documents/calculation/UFemCalculationManager.h"
#include "documents/calculation/UFemSaveBeforeCalculationPanelController.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/files/UFemFileIdentity.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// The "Model with Error" settings among the card table's default view settings.
constexpr quint64 ModelWithErrorFolderIndex = 2;

enum ExistingFileAnswer { AnswerCancel = 0, AnswerRetry = 1, AnswerOverwrite = 2 };

// Whether a result file can be written in place of `path`: a temporary file beside it is made and
// dropped, so that nothing at `path` is touched until a calculation has its results.
bool canWriteFileAt(const QString& path)
{
    QSaveFile probe(path);
    const bool opened = probe.open(QIODevice::WriteOnly);
    probe.cancelWriting();
    return opened;
}

} // namespace

UFemCalculationManager& UFemDocument::calculationManager() const
{
    return calculationManager_ ? *calculationManager_
                               : UFemCalculationManager::sharedCalculationManager();
}

// A new window listing the cards that stop the calculation, with their errors shown.
void UFemDocument::showCardsWithErrorToRun()
{
    UFemWindowController* window = makeNewWindow();
    if (window == nullptr)
        return;
    window->setViewType(UFemViewTypeCard);
    window->setCardFilterString(QStringLiteral("hasError"));
    UErrorPtr dropped;
    static_cast<void>(window->mainViewController()->setViewPreferences(
        UFemUserPreferences::defaultTableViewPreferencesOfFolder(ModelWithErrorFolderIndex),
        &dropped));
}

bool UFemDocument::checkModelToRun(UErrorPtr* error)
{
    return UFemCheckToRunCalculation(
        *dataController_, [this](UFemDataController&) { showCardsWithErrorToRun(); }, 0, error);
}

int UFemDocument::runModalAlert(const Alert& alert)
{
    if (documentController() != nullptr)
        return documentController()->sheetPresenter().runModalAlert(alert);
    SheetPresenter presenter;
    return presenter.runModalAlert(alert);
}

void UFemDocument::startCalculation()
{
    UErrorPtr error;
    if (!startCalculation(&error))
        presentError(error);
}

void UFemDocument::checkToRunCalculation()
{
    UErrorPtr error;
    if (!checkModelToRun(&error)) {
        presentError(error);
        return;
    }
    Alert alert;
    alert.messageText = QStringLiteral("Checking model completed. No error found.");
    alert.style = UFemAlertStyleInformational;
    if (documentController() != nullptr)
        documentController()->sheetPresenter().beginAlertSheet(windowForSheet(), alert);
}

bool UFemDocument::startCalculation(UErrorPtr* error)
{
    if (documentType_ != UFemDocumentTypeProject)
        return startCalculationWithArgument(std::nullopt, error);
    if (documentController() == nullptr)
        return startCalculationWithArgument(std::nullopt, error);
    UFemSaveBeforeCalculationPanelController& controller = saveBeforeCalculationPanelController();
    controller.beginSheet(windowForSheet(), documentController()->sheetPresenter(), {});
    controller.updateProjectVersionStringFromDelegate();
    return true;
}

UFemSaveBeforeCalculationPanelController& UFemDocument::saveBeforeCalculationPanelController()
{
    if (!saveBeforeCalculationPanelController_)
        saveBeforeCalculationPanelController_
            = std::make_unique<UFemSaveBeforeCalculationPanelController>(
                UFemSaveBeforeCalculationPanelController::Delegate {
                    [this] { return projectVersionString().value_or(QString()); },
                    [this](int tag) { return saveBeforeCalculationPanelButtonPushed(tag); } });
    return *saveBeforeCalculationPanelController_;
}

bool UFemDocument::saveBeforeCalculationPanelButtonPushed(int tag)
{
    using Controller = UFemSaveBeforeCalculationPanelController;
    if (tag == Controller::CancelTag)
        return true;
    const QString version = saveBeforeCalculationPanelController_->projectVersionString();
    if (version != projectVersionString().value_or(QString()))
        setProjectVersionString(version);
    if (tag == Controller::SaveAndCalculateTag) {
        save([this](bool saved) {
            if (saved)
                startCalculationAfterSaveBeforeSheet();
        });
    } else {
        // After the sheet has ended, so that the next sheet is not queued behind it.
        QMetaObject::invokeMethod(
            this, [this] { startCalculationAfterSaveBeforeSheet(); }, Qt::QueuedConnection);
    }
    return true;
}

void UFemDocument::startCalculationAfterSaveBeforeSheet()
{
    UErrorPtr error;
    if (!startCalculationWithArgument(std::nullopt, &error))
        presentError(error);
}

bool UFemDocument::startCalculationWithArgument(
    const std::optional<UFemCalculationStartArgument>& argument, UErrorPtr* error)
{
    if (hasResultData() && resultDataCalculationError() == nullptr) {
        UFemSetError(error, UFemResultDataAlreadyExistError());
        return false;
    }
    if (isCalculating()) {
        UFemSetError(error, UFemDocumentNowCalculatingError());
        return false;
    }
    if (!checkModelToRun(error))
        return false;

    UFemCalculationStartArgument start;
    if (argument) {
        start = *argument;
    } else if (documentType_ == UFemDocumentTypeProject) {
        const std::optional<QString>& path = project_.projectResultFilePathString;
        if (!path || path->isEmpty()) {
            beginCalculationSettingSheet();
            return true;
        }
        if (!isProjectResultFilePathValid()) {
            UFemSetError(error, UFemFilePathInvalidError_withFilePathString(*path));
            return false;
        }
        start.resultFilePath = projectResultFileURL(error);
        if (!start.resultFilePath)
            return false;
        start.doesLoadWhenDone = project_.projectDoesLoadResultDataAuto;
    } else if (documentType_ == UFemDocumentTypeModel) {
        beginCalculationSettingSheet();
        return true;
    } else if (documentType_ == UFemDocumentTypeResult) {
        UFemSetError(error, UFemCanNotCalculateResultDocumentError());
        return false;
    } else {
        UFemSetError(
            error, UFemUnexpectedError_withDescription(QStringLiteral("Unknown document type.")));
        return false;
    }

    // The hand-over's refusals come before the old result file is looked at.
    if (!checkToHandOver(start.doesLoadWhenDone, error))
        return false;
    if (start.resultFilePath) {
        if (!checkResultFileIsNotModelFile(*start.resultFilePath, error))
            return false;
        bool proceeds = false;
        if (!prepareResultFile(
                *start.resultFilePath, start.doesAllowOverwriteResultFile, &proceeds, error))
            return false;
        if (!proceeds)
            return true;
    }
    return startCalculationWithResultFile(start.resultFilePath, start.doesLoadWhenDone, error);
}

bool UFemDocument::checkResultFileIsNotModelFile(
    const QString& resultFilePath, UErrorPtr* error) const
{
    UErrorPtr pathError;
    const std::optional<QString> modelFilePath
        = documentType_ == UFemDocumentTypeProject ? projectModelFileURL(&pathError) : filePath();
    return !modelFilePath || modelFilePath->isEmpty()
        || UFemCheckResultFileIsNotModelFile(resultFilePath, *modelFilePath, error);
}

bool UFemDocument::prepareResultFile(
    const QString& path, bool doesAllowOverwrite, bool* proceeds, UErrorPtr* error)
{
    *proceeds = false;
    for (;;) {
        const QFileInfo info(path);
        if (!info.exists()) {
            if (!canWriteFileAt(path)) {
                UFemSetError(error, UFemCreatingFileFailedError_withFilePathString(path));
                return false;
            }
            *proceeds = true;
            return true;
        }
        if (info.isDir()) {
            UFemSetError(error, UFemDirectoryAlreadyExistOfFileNameError_withFilePathString(path));
            return false;
        }
        // A device, FIFO or socket would take the whole calculation and then refuse its results.
        if (!UFemCheckResultFileCanBeWritten(path, error))
            return false;
        if (doesAllowOverwrite) {
            // The old file stays until the new results replace it whole.
            if (!canWriteFileAt(path)) {
                runModalAlert(
                    Alert::fromError(*UFemRemovingFileFailedError_withFilePathString(path)));
                return true;
            }
            *proceeds = true;
            return true;
        }
        Alert alert;
        alert.messageText = QStringLiteral("File '%1' is already exist.").arg(path);
        alert.informativeText = QStringLiteral("Would you like to overwrite it?");
        alert.buttons
            = { QStringLiteral("Cancel"), QStringLiteral("Retry"), QStringLiteral("Overwrite") };
        const int answer = runModalAlert(alert);
        if (answer == AnswerOverwrite)
            doesAllowOverwrite = true;
        else if (answer != AnswerRetry)
            return true;
    }
}

bool UFemDocument::checkToHandOver(bool loadWhenDone, UErrorPtr* error) const
{
    return !loadWhenDone || checkToStartCalculation(error);
}

bool UFemDocument::startCalculationWithResultFile(
    const std::optional<QString>& resultFilePath, bool loadWhenDone, UErrorPtr* error)
{
    if (!checkToHandOver(loadWhenDone, error))
        return false;
    UFemCalculationManager& manager = calculationManager();
    if (documentController() != nullptr)
        manager.setSheetPresenter(&documentController()->sheetPresenter());
    const quint64 identifier = manager.startCalculationDocument(*this, resultFilePath, error);
    if (identifier == UFemNoCalculationIdentifierNumber)
        return false;
    if (loadWhenDone)
        calculationDidStart(identifier);
    return true;
}

// ---- Calculation-setting sheet

UFemCalculationSettingPanelController& UFemDocument::calculationSettingPanelController()
{
    if (!calculationSettingPanelController_)
        calculationSettingPanelController_
            = std::make_unique<UFemCalculationSettingPanelController>(this);
    return *calculationSettingPanelController_;
}

void UFemDocument::setDefaultResultFilePath(UFemCalculationSettingPanelController& controller) const
{
    const QString extension = QLatin1Char('.') + UFemResultFileExtension;
    if (filePath().isEmpty()) {
        controller.setResultFilePathString(QStringLiteral("~/Untitled") + extension);
        return;
    }
    controller.setBaseURL(filePath());
    controller.setResultFilePathString(QFileInfo(filePath()).completeBaseName() + extension);
}

void UFemDocument::beginCalculationSettingSheet()
{
    UFemCalculationSettingPanelController& controller = calculationSettingPanelController();
    controller.reset();
    setDefaultResultFilePath(controller);
    controller.setDoesLoadWhenDone(true);
    if (documentController() != nullptr)
        controller.beginSheet(windowForSheet(), documentController()->sheetPresenter(),
            documentController()->filePanels());
}

bool UFemDocument::calculationSettingPanelButtonPushed(
    UFemCalculationSettingPanelController& controller, int tag)
{
    if (tag != UFemCalculationSettingPanelController::OKTag)
        return true;
    UFemCalculationStartArgument argument;
    argument.doesLoadWhenDone = controller.doesLoadWhenDone();
    if (controller.doesSaveResultFile()) {
        UErrorPtr pathError;
        argument.resultFilePath = controller.resultFileURL(&pathError);
        if (!argument.resultFilePath) {
            setDefaultResultFilePath(controller);
            return false;
        }
    }
    UErrorPtr error;
    if (startCalculationWithArgument(argument, &error))
        return true;
    runModalAlert(Alert::fromError(*error));
    return false;
}
