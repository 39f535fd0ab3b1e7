#include "appkit/Document.h"

#include "appkit/CommandNames.h"
#include "appkit/DocumentController.h"
#include "appkit/OwnedList.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowController.h"
#include "appkit/WindowTracker.h"
#include "foundation/files/UFemFileReading.h"
#include "foundation/files/UFemFileWriting.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace {

const QString DefaultUntitledName = QStringLiteral("Untitled");
enum RevertAnswer { RevertAnswerRevert = 0 };

void call(const Document::Completion& done, bool succeeded)
{
    if (done) {
        done(succeeded);
    }
}

Alert saveOverChangedFilesAlert(const QStringList& fileNames)
{
    QStringList quoted;
    for (const QString& name : fileNames) {
        quoted << QStringLiteral("“%1”").arg(name);
    }
    Alert alert;
    alert.messageText = fileNames.size() == 1
        ? QStringLiteral("The file %1 has been changed by another document or program since it "
                         "was opened or saved.")
              .arg(quoted.front())
        : QStringLiteral("The files %1 have been changed by another document or program since "
                         "they were opened or saved.")
              .arg(quoted.join(QStringLiteral(" and ")));
    alert.informativeText
        = QStringLiteral("If you save anyway, the changes made there will be lost.");
    alert.buttons = { QStringLiteral("Save Anyway"), QStringLiteral("Cancel") };
    return alert;
}

} // namespace

Document::Document()
{
    auto& center = UNotificationCenter::defaultCenter();
    const auto observe = [&](const QString& name, DocumentChange change) {
        undoObservations_.push_back(center.observe(name, &undoManager_,
            [this, change](const UNotification&) { updateChangeCount(change); }));
    };
    observe(UUndoManagerDidCloseUndoGroupNotification, DocumentChange::Done);
    observe(UUndoManagerDidUndoChangeNotification, DocumentChange::Undone);
    observe(UUndoManagerDidRedoChangeNotification, DocumentChange::Redone);
    addCommand(SaveDocumentCommand, [this](const CommandItem&) { save(); });
    addCommand(SaveDocumentAsCommand, [this](const CommandItem&) { saveAs(); });
    addCommand(RevertDocumentToSavedCommand, [this](const CommandItem&) { confirmRevert(); });
    addCommand(UndoCommand, [this](const CommandItem&) { undoManager_.undo(); });
    addCommand(RedoCommand, [this](const CommandItem&) { undoManager_.redo(); });
}

Document::~Document()
{
    // Windows go first: their controllers still ask the document while they close.
    windowControllers_.clear();
}

void Document::setFilePath(const QString& filePath)
{
    filePath_
        = filePath.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(filePath).absoluteFilePath());
    syncWindowTitles();
}

QString Document::fileName() const
{
    return filePath_.isEmpty() ? QString() : QFileInfo(filePath_).fileName();
}

void Document::setFileType(const QString& fileType)
{
    fileType_ = fileType;
}

QString Document::displayName() const
{
    if (!filePath_.isEmpty()) {
        return fileName();
    }
    return untitledName_.isEmpty() ? DefaultUntitledName : untitledName_;
}

void Document::setUntitledName(const QString& name)
{
    untitledName_ = name;
    syncWindowTitles();
}

void Document::syncWindowTitles()
{
    for (const auto& controller : windowControllers_) {
        controller->synchronizeWindowTitleWithDocumentName();
    }
    emit displayNameChanged();
}

std::optional<QByteArray> Document::readFileData(
    const QString& path, UErrorPtr* error, UFileStamp* stamp)
{
    if (stamp != nullptr) {
        *stamp = UFileStamp::ofFile(path);
    }
    return UFemReadFileData(path, error);
}

bool Document::readFromFile(const QString& path, const QString& type, UErrorPtr* error)
{
    UFileStamp stamp;
    const std::optional<QByteArray> data = readFileData(path, error, &stamp);
    if (!data) {
        return false;
    }
    setFileType(type);
    if (!readFromData(*data, type, error)) {
        return false;
    }
    setFilePath(path);
    fileStamp_ = stamp;
    updateChangeCount(DocumentChange::Cleared);
    return true;
}

bool Document::writeToFile(const QString& path, const QString& type, UErrorPtr* error)
{
    const std::optional<QByteArray> data = dataOfType(type, error);
    if (!data) {
        return false;
    }
    return UFemWriteFileData(path, *data, error);
}

void Document::save(Completion done)
{
    if (filePath_.isEmpty()) {
        saveAs(std::move(done));
        return;
    }
    finishSave(filePath_, std::move(done));
}

void Document::saveAs(Completion done)
{
    FilePanels& panels = controller_->filePanels();
    const SavePanelOptions options = savePanelOptions();
    panels.beginSavePanel(windowForSheet(), options,
        [document = QPointer<Document>(this), extensions = options.allowedExtensions,
            done = std::move(done)](const QString& path) {
            if (!document || path.isEmpty()) {
                call(done, false);
                return;
            }
            // The document keeps its own type: a typed foreign extension does not change it.
            UErrorPtr error;
            const std::optional<QString> savePath = FilePanelSavePath(path, extensions, &error);
            if (!savePath) {
                document->presentError(error);
                call(done, false);
                return;
            }
            document->finishSave(*savePath, done);
        });
}

void Document::finishSave(const QString& path, Completion done)
{
    const QStringList changed = filesChangedOnDisk(path);
    if (changed.isEmpty()) {
        writeSave(path, done);
        return;
    }
    controller_->sheetPresenter().beginAlertSheet(windowForSheet(),
        saveOverChangedFilesAlert(changed),
        [document = QPointer<Document>(this), path, done = std::move(done)](int answer) {
            if (document && answer == SaveOverChangedAnswerSaveAnyway) {
                document->writeSave(path, done);
            } else {
                call(done, false);
            }
        });
}

void Document::writeSave(const QString& path, const Completion& done)
{
    UErrorPtr error;
    if (!saveToFile(path, fileType_, &error)) {
        presentError(error);
        call(done, false);
        return;
    }
    if (path != filePath_) {
        setFilePath(path);
    }
    call(done, true);
}

bool Document::saveToFile(const QString& path, const QString& type, UErrorPtr* error)
{
    if (!writeToFile(path, type, error)) {
        return false;
    }
    stampFile(path);
    updateChangeCount(DocumentChange::Cleared);
    return true;
}

QStringList Document::filesChangedOnDisk(const QString& path) const
{
    if (fileStamp_.isChangedOnDisk(path)) {
        return { QFileInfo(path).fileName() };
    }
    return {};
}

SavePanelOptions Document::savePanelOptions() const
{
    SavePanelOptions options;
    options.allowedExtensions = controller_->extensionsForType(fileType_);
    options.directory
        = filePath_.isEmpty() ? QDir::homePath() : QFileInfo(filePath_).absolutePath();
    const QString extension = options.allowedExtensions.value(0);
    if (!filePath_.isEmpty()) {
        options.fileName = fileName();
    } else {
        options.fileName = extension.isEmpty() ? displayName() : displayName() + u'.' + extension;
    }
    return options;
}

bool Document::revertToSaved(UErrorPtr* error)
{
    if (!revertToContentsOf(filePath_, fileType_, error)) {
        return false;
    }
    undoManager_.removeAllActions();
    updateChangeCount(DocumentChange::Cleared);
    return true;
}

bool Document::revertToContentsOf(const QString& path, const QString& type, UErrorPtr* error)
{
    return readFromFile(path, type, error);
}

void Document::confirmRevert()
{
    Alert alert;
    alert.messageText
        = QStringLiteral("Do you want to revert to the most recently saved version of the "
                         "document “%1”?")
              .arg(displayName());
    alert.informativeText = QStringLiteral("Your current changes will be lost.");
    alert.buttons = { QStringLiteral("Revert"), QStringLiteral("Cancel") };
    controller_->sheetPresenter().beginAlertSheet(
        windowForSheet(), alert, [document = QPointer<Document>(this)](int answer) {
            UErrorPtr error;
            if (document && answer == RevertAnswerRevert && !document->revertToSaved(&error)) {
                document->presentError(error);
            }
        });
}

void Document::updateChangeCount(DocumentChange change)
{
    switch (change) {
    case DocumentChange::Done:
    case DocumentChange::Redone:
        ++changeCount_;
        break;
    case DocumentChange::Undone:
        --changeCount_;
        break;
    case DocumentChange::Cleared:
        changeCount_ = 0;
        break;
    }
    editedStateMayHaveChanged();
}

void Document::editedStateMayHaveChanged()
{
    const bool edited = isDocumentEdited();
    if (edited == lastEdited_) {
        return;
    }
    lastEdited_ = edited;
    for (const auto& controller : windowControllers_) {
        controller->setDocumentEdited(edited);
    }
    emit editedChanged(edited);
}

WindowController* Document::addWindowController(std::unique_ptr<WindowController> controller)
{
    WindowController* added = controller.get();
    windowControllers_.push_back(std::move(controller));
    added->setDocument(this);
    return added;
}

void Document::removeWindowController(WindowController* controller)
{
    std::unique_ptr<WindowController> removed = takeOwned(windowControllers_, controller);
    if (!removed) {
        return;
    }
    removed->window()->hide();
    removed->setDocument(nullptr);
    removed.release()->deleteLater();
}

void Document::showWindows()
{
    for (const auto& controller : windowControllers_) {
        controller->showWindow();
    }
}

QWidget* Document::windowForSheet() const
{
    if (controller_ != nullptr) {
        WindowController* main = controller_->windowTracker().mainWindowController();
        if (main != nullptr && main->document() == this) {
            return main->window();
        }
    }
    return windowControllers_.empty() ? nullptr : windowControllers_.front()->window();
}

void Document::canClose(Completion done)
{
    if (!isDocumentEdited()) {
        call(done, true);
        return;
    }
    Alert alert;
    alert.messageText
        = QStringLiteral("Do you want to save the changes you made in the document “%1”?")
              .arg(displayName());
    alert.informativeText = QStringLiteral("Your changes will be lost if you don't save them.");
    alert.buttons
        = { QStringLiteral("Save"), QStringLiteral("Cancel"), QStringLiteral("Don't Save") };
    controller_->sheetPresenter().beginAlertSheet(windowForSheet(), alert,
        [document = QPointer<Document>(this), done = std::move(done)](int answer) {
            if (!document) {
                call(done, false);
            } else if (answer == CloseAnswerSave) {
                document->save(done);
            } else {
                call(done, answer == CloseAnswerDontSave);
            }
        });
}

void Document::closeAfterPrompt()
{
    if (closePromptShown_) {
        return;
    }
    closePromptShown_ = true;
    canClose([document = QPointer<Document>(this)](bool mayClose) {
        if (!document) {
            return;
        }
        document->closePromptShown_ = false;
        if (mayClose) {
            document->close();
        }
    });
}

void Document::close()
{
    for (const auto& controller : windowControllers_) {
        controller->window()->hide();
    }
    if (controller_ != nullptr) {
        controller_->removeDocument(this);
    }
}

void Document::presentError(const UErrorPtr& error, std::function<void(int)> done)
{
    controller_->sheetPresenter().presentError(windowForSheet(), *error, std::move(done));
}

bool Document::validateCommand(CommandItem& item)
{
    if (item.command() == RevertDocumentToSavedCommand) {
        return !filePath_.isEmpty() && isDocumentEdited();
    }
    if (item.command() == UndoCommand) {
        item.setTitle(undoManager_.undoMenuItemTitle());
        return undoManager_.canUndo();
    }
    if (item.command() == RedoCommand) {
        item.setTitle(undoManager_.redoMenuItemTitle());
        return undoManager_.canRedo();
    }
    return true;
}
