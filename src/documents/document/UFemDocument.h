#pragma once

#include "appkit/Document.h"
#include "cardmodel/data/UFemDataControllerDelegate.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cardmodel/text/UFemModelTextTypes.h"
#include "documents/calculation/UFemCalculationSettingPanelController.h"
#include "documents/document/UFemDocumentType.h"
#include "documents/document/UFemProjectFile.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/preferences/UFemUserPreferencesCache.h"
#include "documents/window/UFemWindowDocument.h"
#include "platform/UNotification.h"

#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

struct Alert;
class UFemCalculationManager;
class UFemWindowController;
class UFemDataController;
class UFemDocumentPrompt;
class UFemSaveBeforeCalculationPanelController;
class UFemResultDataManager;

// Keys of the values windows show; valueWillChange and valueDidChange name them.
inline const QString UFemHasProjectDataKey = QStringLiteral("hasProjectData_key");
inline const QString UFemDoesProjectFileContainDataKey
    = QStringLiteral("doesProjectFileContainData_key");
inline const QString UFemHasModelDataKey = QStringLiteral("hasModelData_key");
inline const QString UFemHasResultDataKey = QStringLiteral("hasResultData_key");

inline constexpr quint64 UFemNoCalculationIdentifierNumber = ~quint64(0);

// Where a calculation started from a document writes its results and whether the document takes
// them when the calculation is done.
struct UFemCalculationStartArgument {
    std::optional<QString> resultFilePath;
    bool doesLoadWhenDone = true;
    bool doesAllowOverwriteResultFile = false;
};

// The one document class of the program, for projects, models and results. It owns the data
// controller that every window of the document shows, decides when the model may be edited (it
// is the controller's delegate for the lock error), takes the results of a finished background
// calculation, and reads and writes the three kinds of file. A project has two edited parts: its
// own fields, saved in the project file, and the model, saved in the model file it names.
class UFemDocument : public Document,
                     public UFemDataControllerDelegate,
                     public UFemWindowDocument,
                     public UFemCalculationSettingPanelDelegate {
    Q_OBJECT
public:
    explicit UFemDocument(
        const UFemDataControllerServices& services = UFemDataControllerServices::shared());
    ~UFemDocument() override;

    // Back to a document of no kind with an empty model; used before a revert.
    void reset();
    // Stops observing and finishes the data controller; a second call does nothing.
    void finish();

    UFemDocumentType documentType() const override { return documentType_; }
    void setFileType(const QString& fileType) override;
    UFemDataController& dataController() const override { return *dataController_; }
    const UFemDataControllerServices& dataControllerServices() const { return services_; }
    // Asks the questions of reading a file; by default modal alerts of the program's sheets.
    void setPrompt(UFemDocumentPrompt* prompt) { prompt_ = prompt; }

    // ---- Project fields; every setter marks the project edited.
    const std::optional<QString>& projectTitleString() const override
    {
        return project_.projectTitleString;
    }
    void setProjectTitleString(const std::optional<QString>& title);
    const std::optional<QString>& projectVersionString() const override
    {
        return project_.projectVersionString;
    }
    void setProjectVersionString(const std::optional<QString>& version);
    const std::optional<QString>& projectCommentString() const override
    {
        return project_.projectCommentString;
    }
    void setProjectCommentString(const std::optional<QString>& comment);
    const std::optional<QString>& projectModelFilePathString() const
    {
        return project_.projectModelFilePathString;
    }
    void setProjectModelFilePathString(const std::optional<QString>& path);
    bool projectDoesLoadModelDataAuto() const { return project_.projectDoesLoadModelDataAuto; }
    // Marks the project edited like its result twin, so that the change is not lost on close.
    void setProjectDoesLoadModelDataAuto(bool doesLoad);
    const std::optional<QString>& projectResultFilePathString() const
    {
        return project_.projectResultFilePathString;
    }
    void setProjectResultFilePathString(const std::optional<QString>& path);
    bool projectDoesLoadResultDataAuto() const { return project_.projectDoesLoadResultDataAuto; }
    void setProjectDoesLoadResultDataAuto(bool doesLoad);
    const std::optional<QVariantMap>& projectPreferencesDictionary() const
    {
        return project_.projectPreferencesDictionary;
    }
    void setProjectPreferencesDictionary(const std::optional<QVariantMap>& preferences);

    // ---- State and derived values
    bool hasProjectData() const { return hasProjectData_; }
    bool doesProjectFileContainData() const { return doesProjectFileContainData_; }
    bool hasModelData() const override { return hasModelData_; }
    bool hasResultData() const override;
    UErrorPtr resultDataCalculationError() const;
    bool isModelAnyLocked() const;
    // Null strings without a file, or for another kind.
    QString fileNameString() const;
    QString projectFileNameString() const;
    // The project's folder with the home directory as "~", ending in "/".
    QString projectDirectoryPathString() const;
    bool isProjectModelFilePathValid() const;
    bool isProjectResultFilePathValid() const override;

    // ---- Locks
    bool isEasyLocked() const override { return isEasyLocked_; }
    void setEasyLocked(bool locked) override;
    bool isStrongLocked() const { return isStrongLocked_; }
    void setStrongLocked(bool locked);
    bool canSetEasyLocked() const override;
    bool shouldDataControllerLockOutside() const;
    UErrorPtr modelDataLockedErrorWithDataController(
        const UFemDataController& dataController) override;

    // ---- Edited state
    bool isProjectDocumentEdited() const { return isProjectDocumentEdited_; }
    void setProjectDocumentEdited(bool edited);
    bool isModelDocumentEdited() const { return changeCount() != 0; }
    // Only clears (a model loaded or unloaded); true is a program error.
    void setModelDocumentEdited(bool edited);
    bool isDocumentEdited() const override;

    // ---- Calculation: what the calculation service asks of and gives to the document
    quint64 calculationIdentifierNumber() const { return calculationIdentifierNumber_; }
    bool isCalculating() const
    {
        return calculationIdentifierNumber_ != UFemNoCalculationIdentifierNumber;
    }
    // Whether a calculation may start: not with results loaded, nor while one runs.
    [[nodiscard]] bool checkToStartCalculation(UErrorPtr* error) const;
    // A calculation started for this document under `identifier`: the model locks.
    void calculationDidStart(quint64 identifier);
    // A calculation ended: without `calculationError` its results are attached. Another
    // identifier, or none running, changes nothing. A failed check shows its error and, unlike a
    // successful one, attaches nothing; both unlock.
    void calculationDone(quint64 identifier,
        const std::shared_ptr<UFemDataController>& calculatedDataController,
        const UErrorPtr& calculationError);
    void calculationDoneWithNotification(const UNotification& notification);

    // ---- Starting a calculation (main thread). The menu actions show their errors as sheets.
    void startCalculation();
    void checkToRunCalculation();
    // A project asks first whether to save; a model asks where the result file goes.
    [[nodiscard]] bool startCalculation(UErrorPtr* error);
    // Without an argument the project's settings or the calculation-setting sheet decide. True
    // without an error also when the user cancelled.
    [[nodiscard]] bool startCalculationWithArgument(
        const std::optional<UFemCalculationStartArgument>& argument, UErrorPtr* error);
    // Hands the model to the calculation manager and, when the results are to be taken, locks.
    [[nodiscard]] bool startCalculationWithResultFile(
        const std::optional<QString>& resultFilePath, bool loadWhenDone, UErrorPtr* error);
    // The shared calculation manager unless another is set (tests).
    void setCalculationManager(UFemCalculationManager* manager) { calculationManager_ = manager; }
    UFemCalculationSettingPanelController& calculationSettingPanelController();
    UFemSaveBeforeCalculationPanelController& saveBeforeCalculationPanelController();
    bool calculationSettingPanelButtonPushed(
        UFemCalculationSettingPanelController& controller, int tag) override;

    // ---- Reading and writing by type
    [[nodiscard]] bool readFromData(
        const QByteArray& data, const QString& type, UErrorPtr* error) override;
    [[nodiscard]] std::optional<QByteArray> dataOfType(
        const QString& type, UErrorPtr* error) override;
    // Reads the file, then for a project loads what it names.
    [[nodiscard]] bool readFromFile(
        const QString& path, const QString& type, UErrorPtr* error) override;

    // ---- Project file
    [[nodiscard]] std::optional<QByteArray> projectFileData(UErrorPtr* error) const;
    // Nullopt: no project; empty data: a new project.
    [[nodiscard]] bool loadProjectFileData(const std::optional<QByteArray>& data, UErrorPtr* error);
    [[nodiscard]] std::optional<QString> projectModelFileURL(UErrorPtr* error) const;
    [[nodiscard]] std::optional<QString> projectResultFileURL(UErrorPtr* error) const;
    [[nodiscard]] bool loadProjectModelData(UErrorPtr* error);
    [[nodiscard]] bool loadProjectResultData(UErrorPtr* error) override;

    // ---- Model data; nullopt data unloads
    [[nodiscard]] bool loadModelFileData(const std::optional<QByteArray>& data, UErrorPtr* error);
    [[nodiscard]] std::optional<QByteArray> modelFileData(UErrorPtr* error) const;
    [[nodiscard]] bool loadModelDataWithModelFileURL(const QString& path, UErrorPtr* error);
    void unloadModelData();

    // ---- Result data; nullopt data unloads
    [[nodiscard]] bool loadResultFileData(const std::optional<QByteArray>& data, UErrorPtr* error);
    [[nodiscard]] std::optional<QByteArray> resultFileData(UErrorPtr* error) const;
    [[nodiscard]] bool loadResultDataWithResultFileURL(
        const QString& path, UErrorPtr* error) override;
    void unloadResultData() override;
    [[nodiscard]] bool loadClipboardCardValue(const QString& clipboardCardValueString,
        UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error) override;
    void unloadClipboardCardValue() override;

    // ---- Export of the model text to a file chosen in the save panel
    void saveModelDocumentTo();

    // ---- Data controller delegate
    UFemUserPreferencesPtr documentUserPreferences() const override;
    void showCardIdentifierNumberLimitWarningAlert(
        const QString& messageText, const QString& informativeText, quint64 alertStyle) override;

    bool validateCommand(CommandItem& item) override;
    // One document window, shown with the card view when there is model data.
    void makeWindowControllers() override;
    // One more window on the same model, with the program's menus, made key and brought to the
    // front; null without a document controller.
    UFemWindowController* makeNewWindow();

signals:
    void valueWillChange(const QString& key);
    void valueDidChange(const QString& key);

protected:
    // A project writes its project file and its model file; each part is marked saved only when
    // its own file was written, and any failure fails the save.
    [[nodiscard]] bool saveToFile(
        const QString& path, const QString& type, UErrorPtr* error) override;
    [[nodiscard]] bool revertToContentsOf(
        const QString& path, const QString& type, UErrorPtr* error) override;
    // A project writes its model file too.
    QStringList filesChangedOnDisk(const QString& path) const override;

private:
    // Posts the lock will-change notification now and the did-change one when it ends.
    class LockStatusChange {
    public:
        explicit LockStatusChange(const UFemDocument& document);
        ~LockStatusChange();
        LockStatusChange(const LockStatusChange&) = delete;
        LockStatusChange& operator=(const LockStatusChange&) = delete;

    private:
        const UFemDocument& document_;
    };

    void clearState();
    void finishWindowControllers();
    void updateOutsideLock();
    void setLock(bool& flag, bool locked);
    void postLockStatus(const QString& name) const;
    void setProjectField(std::optional<QString>& field, const std::optional<QString>& value);
    void setHasModelData(bool hasModelData);
    void announce(const QString& key, bool done);

    [[nodiscard]] std::optional<QString> resolvedProjectPath(const std::optional<QString>& path,
        const QString& extension, const char* invalidDescription, UErrorPtr* error) const;
    void openProject();
    void fillNewProjectDefaults();
    [[nodiscard]] bool readModelText(const QByteArray& data, UErrorPtr* error);
    void unloadModelFileData();
    // Attaches (or, with none, detaches) results between the lock notifications; a calculation
    // that delivered them ends inside the same bracket.
    [[nodiscard]] bool attachResults(std::shared_ptr<UFemResultDataManager> manager,
        bool doesAllowCalculationError, bool endsCalculation, UErrorPtr* error);
    [[nodiscard]] bool loadResultsOfResultDocument(
        const std::shared_ptr<UFemResultDataManager>& manager, UErrorPtr* error);
    void unloadResultFileData();
    [[nodiscard]] bool checkCalculatedData(UFemDataController& calculated, UErrorPtr* error) const;
    void endCalculation();
    [[nodiscard]] bool writeModelFile(QString* modelFileName, UErrorPtr* error);
    void exportModelText(const QString& path);
    QString proposedExportPath() const;
    bool askToReplaceRestraintExpression();
    void addCalculationCommands();
    // A new window listing the cards that stop a calculation.
    void showCardsWithErrorToRun();
    // The pre-run check of the model; a card that stops the run is shown in a new window.
    [[nodiscard]] bool checkModelToRun(UErrorPtr* error);
    [[nodiscard]] bool checkToHandOver(bool loadWhenDone, UErrorPtr* error) const;
    void beginCalculationSettingSheet();
    void setDefaultResultFilePath(UFemCalculationSettingPanelController& controller) const;
    bool saveBeforeCalculationPanelButtonPushed(int tag);
    void startCalculationAfterSaveBeforeSheet();
    // False with 11018 when the result file is the document's model file: it would be lost.
    [[nodiscard]] bool checkResultFileIsNotModelFile(
        const QString& resultFilePath, UErrorPtr* error) const;
    // Finds out whether the result file may be written; false without an error: the user
    // cancelled.
    [[nodiscard]] bool prepareResultFile(
        const QString& path, bool doesAllowOverwrite, bool* proceeds, UErrorPtr* error);
    int runModalAlert(const Alert& alert);
    UFemCalculationManager& calculationManager() const;

    UFemDataControllerServices services_;
    std::unique_ptr<UFemDataController> dataController_;
    // Rebuilt after every change of the defaults; worker threads read it through its own lock.
    std::unique_ptr<UFemUserPreferencesCache> userPreferencesCache_;
    UFemDocumentPrompt* prompt_ = nullptr;
    UNotificationObservation calculationDoneObservation_;
    UFemDocumentType documentType_ = UFemDocumentTypeNone;
    bool isProjectDocumentEdited_ = false;
    UFemProjectFileContents project_;
    bool hasProjectData_ = false;
    bool doesProjectFileContainData_ = false;
    bool hasModelData_ = false;
    // The project's model file as the project last read or wrote it.
    UFileStamp modelFileStamp_;
    bool isEasyLocked_ = false;
    bool isStrongLocked_ = false;
    quint64 calculationIdentifierNumber_ = UFemNoCalculationIdentifierNumber;
    bool finished_ = false;
    UFemCalculationManager* calculationManager_ = nullptr;
    std::unique_ptr<UFemCalculationSettingPanelController> calculationSettingPanelController_;
    std::unique_ptr<UFemSaveBeforeCalculationPanelController> saveBeforeCalculationPanelController_;
};
