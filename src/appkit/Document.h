#pragma once

#include "appkit/CommandTarget.h"
#include "appkit/FilePanels.h"
#include "foundation/errors/UError.h"
#include "platform/UFileStamp.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUndoManager.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DocumentController;
class QWidget;
class WindowController;

enum class DocumentChange { Done, Undone, Redone, Cleared };

// A document: its file, its type, the reading and writing of its contents (through the subclass),
// its change count and its windows. Every save (menu, toolbar, close and quit prompts, saving
// before other work) goes through save(), and every file is written whole through QSaveFile, so a
// failed save leaves the old file as it was and the document edited. A save that would write over
// a file that another document or program changed since this document read or wrote it asks
// first, in a sheet, whether to save anyway.
//
// The change count follows the undo manager: +1 for each closed group of changes, -1 for an undo,
// +1 for a redo, 0 after a save; the document is edited while it is not 0.
class Document : public QObject, public CommandTarget {
    Q_OBJECT
public:
    using Completion = std::function<void(bool succeeded)>;

    // The answers of the close prompt, in the order of its buttons.
    enum CloseAnswer { CloseAnswerSave = 0, CloseAnswerCancel = 1, CloseAnswerDontSave = 2 };
    // The answers of the sheet asking whether to write over a file changed on disk.
    enum SaveOverChangedAnswer {
        SaveOverChangedAnswerSaveAnyway = 0,
        SaveOverChangedAnswerCancel = 1
    };

    Document();
    ~Document() override;

    DocumentController* documentController() const { return controller_; }
    // Set by the controller that holds the document.
    void setDocumentController(DocumentController* controller) { controller_ = controller; }

    QString filePath() const { return filePath_; }
    void setFilePath(const QString& filePath);
    // The last component of the path; empty without a file.
    QString fileName() const;
    QString fileType() const { return fileType_; }
    virtual void setFileType(const QString& fileType);
    // The file name, else the untitled name the controller gave.
    QString displayName() const;
    void setUntitledName(const QString& name);

    [[nodiscard]] virtual bool readFromData(
        const QByteArray& data, const QString& type, UErrorPtr* error)
        = 0;
    [[nodiscard]] virtual std::optional<QByteArray> dataOfType(
        const QString& type, UErrorPtr* error)
        = 0;

    // Reads the file at `path` as `type`; on success the document has that file and is clean.
    // Subclasses that load more once the file is known (what a project names) extend it.
    [[nodiscard]] virtual bool readFromFile(
        const QString& path, const QString& type, UErrorPtr* error);
    // The whole file at `path`, as UFemReadFileData reads it, and, when asked, its stamp from just
    // before the reading: a file replaced meanwhile then looks changed later, never the reverse.
    [[nodiscard]] static std::optional<QByteArray> readFileData(
        const QString& path, UErrorPtr* error, UFileStamp* stamp = nullptr);
    // The contents of `type` written whole to `path`; the document's state is unchanged.
    [[nodiscard]] bool writeToFile(const QString& path, const QString& type, UErrorPtr* error);

    // Saves to the document's file, or through the save panel when it has none. A failure is
    // shown as a sheet; `done` learns the outcome, a save cancelled at the changed-file sheet
    // (SaveOverChangedAnswer) as a failure.
    void save(Completion done = {});
    // Saves to a file chosen in the save panel, which the document then has.
    void saveAs(Completion done = {});
    // Reads the document's file again, dropping the changes and the undo steps.
    [[nodiscard]] bool revertToSaved(UErrorPtr* error);

    UUndoManager& undoManager() { return undoManager_; }
    qint64 changeCount() const { return changeCount_; }
    void updateChangeCount(DocumentChange change);
    virtual bool isDocumentEdited() const { return changeCount_ != 0; }

    // Makes the document's windows; a document shown without windows makes none.
    virtual void makeWindowControllers() { }
    WindowController* addWindowController(std::unique_ptr<WindowController> controller);
    // The controller goes after the current event; its window is hidden at once.
    void removeWindowController(WindowController* controller);
    const std::vector<std::unique_ptr<WindowController>>& windowControllers() const
    {
        return windowControllers_;
    }
    void showWindows();
    // The main window when it is one of this document's, else its first window, else null.
    QWidget* windowForSheet() const;

    // Asks through the close prompt, when the document is edited, whether it may close: Save
    // saves (and closing goes ahead only when the save succeeded), Don't Save goes ahead, Cancel
    // stops.
    void canClose(Completion done);
    // Closes the document when canClose agrees.
    void closeAfterPrompt();
    // Closes the windows and lets the controller release the document.
    void close();

    void presentError(const UErrorPtr& error, std::function<void(int)> done = {});

    bool validateCommand(CommandItem& item) override;

signals:
    void editedChanged(bool edited);
    void displayNameChanged();

protected:
    // Writes the document for a save to `path`; on success marks clean what it wrote. Subclasses
    // that write more than one file clear only what they wrote.
    [[nodiscard]] virtual bool saveToFile(
        const QString& path, const QString& type, UErrorPtr* error);
    // Reads the document again for a revert; the default reads the file as for opening.
    [[nodiscard]] virtual bool revertToContentsOf(
        const QString& path, const QString& type, UErrorPtr* error);
    virtual SavePanelOptions savePanelOptions() const;
    // The names of the files a save to `path` writes over that changed on disk since this
    // document read or wrote them; by default the document's own file.
    virtual QStringList filesChangedOnDisk(const QString& path) const;
    // Takes the file at `path` as the document's own version of its file, once read or written.
    void stampFile(const QString& path) { fileStamp_ = UFileStamp::ofFile(path); }
    // After a write that is no save (an export), when it went to the document's own file.
    void refreshFileStampIfAt(const QString& path) { fileStamp_.refreshIfAt(path); }
    // Tells the windows and observers when isDocumentEdited() changed.
    void editedStateMayHaveChanged();

private:
    // Asks first when a file to be written over changed on disk.
    void finishSave(const QString& path, Completion done);
    void writeSave(const QString& path, const Completion& done);
    void confirmRevert();
    void syncWindowTitles();

    DocumentController* controller_ = nullptr;
    QString filePath_;
    QString fileType_;
    QString untitledName_;
    UFileStamp fileStamp_;
    UUndoManager undoManager_;
    std::vector<UNotificationObservation> undoObservations_;
    qint64 changeCount_ = 0;
    bool lastEdited_ = false;
    bool closePromptShown_ = false;
    std::vector<std::unique_ptr<WindowController>> windowControllers_;
};
