#pragma once

#include "NotifierRecorder.h"
#include "QStringPrinting.h"
#include "RecordingFilePanels.h"
#include "RecordingSheetPresenter.h"
#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/mainview/UFemFindPanel.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowDocument.h"
#include "platform/UNotificationCenter.h"

#include <QStringList>

#include <memory>

// A document of any kind around a real data controller, recording what the window asks of it.
class WindowTestDocument : public Document, public UFemWindowDocument {
public:
    explicit WindowTestDocument(UFemDocumentType type = UFemDocumentTypeModel);
    ~WindowTestDocument() override;

    bool readFromData(const QByteArray&, const QString&, UErrorPtr*) override { return true; }
    std::optional<QByteArray> dataOfType(const QString&, UErrorPtr*) override
    {
        return QByteArray();
    }

    // Reads the model text (error cards allowed); the document then has model data.
    void readModel(const QString& modelText);

    UFemDocumentType documentType() const override { return type; }
    UFemDataController& dataController() const override { return *dataController_; }
    bool hasModelData() const override { return hasModel; }
    bool hasResultData() const override { return hasResult; }
    bool canSetEasyLocked() const override { return true; }
    bool isEasyLocked() const override { return easyLocked; }
    void setEasyLocked(bool locked) override { easyLocked = locked; }
    bool isProjectResultFilePathValid() const override { return resultPathValid; }
    bool loadProjectResultData(UErrorPtr* error) override;
    bool loadResultDataWithResultFileURL(const QString& path, UErrorPtr* error) override;
    void unloadResultData() override { hasResult = false; }
    bool loadClipboardCardValue(
        const QString& text, UFemColumnSeparatingCharacterType type, UErrorPtr* error) override;
    void unloadClipboardCardValue() override { }
    const std::optional<QString>& projectTitleString() const override { return title; }
    const std::optional<QString>& projectVersionString() const override { return version; }
    const std::optional<QString>& projectCommentString() const override { return comment; }
    std::shared_ptr<const UFemUserPreferences> documentUserPreferences() const override
    {
        return userPreferences;
    }

    UFemDocumentType type;
    bool hasModel = false;
    bool hasResult = false;
    bool easyLocked = false;
    bool resultPathValid = false;
    UErrorPtr loadError;
    QStringList loadedResultPaths;
    int projectResultLoads = 0;
    QStringList clipboardTexts;
    std::vector<UFemColumnSeparatingCharacterType> clipboardTypes;
    std::optional<QString> title;
    std::optional<QString> version;
    std::optional<QString> comment;
    // None by default: the document then has no renderer.
    std::shared_ptr<const UFemUserPreferences> userPreferences;

private:
    std::unique_ptr<UFemDataController> dataController_;
};

// The find panel's state as the main views read and write it.
class FakeFindPanel : public UFemFindPanel {
public:
    FakeFindPanel() { UFemFindPanel::setShared(this); }
    ~FakeFindPanel() override { UFemFindPanel::setShared(nullptr); }

    bool isWindowLoaded() const override { return loaded; }
    void loadWindow() override { loaded = true; }
    void showFindPanel() override { loaded = true; }
    QString searchString() const override { return search; }
    void setSearchString(const QString& text) override { search = text; }
    QString replaceString() const override { return replacement; }
    std::shared_ptr<UFemStringSearchManager> stringSearchManagerWithDoesSearchBackDirection(
        bool doesSearchBackDirection, UErrorPtr* error) override;
    void setReplaceAllMessageString(const QString& text) override { message = text; }
    void resetMessageString() override { message.clear(); }

    bool loaded = true;
    bool wrapAround = true;
    QString search;
    QString replacement;
    QString message;
};

// Names of notifications in the order they were posted, by any of the given senders.
class NotificationLog {
public:
    NotificationLog(const QStringList& names, std::initializer_list<const void*> senders);
    QStringList names;

private:
    std::vector<UNotificationObservation> observations_;
};

// A window on a document, with recorders for sheets, panels and beeps.
struct WindowHarness {
    explicit WindowHarness(UFemDocumentType type = UFemDocumentTypeModel,
        const QString& modelText = QString(),
        UFemWindowController::MainViewControllerMaker maker = {});
    ~WindowHarness();

    UFemDataController& model() const { return document->dataController(); }
    // The window card table's card at `row`.
    UFemCardPtr windowCard(quint64 row) const;
    int beepCount() const { return int(beeps.sounds.size()); }
    // Closes the open undo group, as the end of an event does.
    void finishEventTurn() const;

    WindowTracker tracker;
    RecordingSheetPresenter sheets;
    RecordingFilePanels panels;
    DocumentController controller;
    NotifierRecorder beeps;
    WindowTestDocument* document;
    UFemWindowController* window;
};

// Two nodes, a rod between them, restraints, forces, two cases and a null card.
inline const QString WindowModelText
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "RodProp , RP , Steel , 0.5 ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,\n"
                     "Node , N2 ,  , 1.5 , 0 , 0 ,\n"
                     "Rod , R1 , RP , N1 , N2 ,\n"
                     "FixNode , F1 , N1 , YES , YES , YES , NO , NO , NO ,\n"
                     "RestraintSet , RS1 , F1 ,\n"
                     "Force , L1 , N2 ,  , 0 , -10 , 0 , 0 , 0 , 0 ,\n"
                     "ForceSet , FS1 , 1 , L1 ,\n"
                     "Case , Dead , LINEAR_STATIC , RS1 , FS1 ,\n"
                     "Case , Live , LINEAR_STATIC , RS1 , L1 ,\n"
                     "\n");
