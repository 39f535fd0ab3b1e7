#pragma once

#include "appkit/CommandTarget.h"
#include "foundation/errors/UError.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class Document;
class FilePanels;
class SheetPresenter;
class WindowTracker;

// A kind of document: its type name, the file extensions that open as it (the first is the one
// saving adds) and how to make an empty document of it.
struct DocumentType {
    QString name;
    QStringList extensions;
    std::function<std::unique_ptr<Document>()> make;
};

// Holds the open documents: opens files by their extension (a file already open is not opened
// twice, whatever path names it), makes untitled documents ("Untitled", "Untitled 2" …) and
// reviews the unsaved documents before the program quits. It also gives documents the sheets,
// panels and window tracking of the program.
class DocumentController : public QObject, public CommandTarget {
    Q_OBJECT
public:
    DocumentController(SheetPresenter& sheets, FilePanels& panels, WindowTracker& tracker);
    ~DocumentController() override;

    SheetPresenter& sheetPresenter() const { return sheets_; }
    FilePanels& filePanels() const { return panels_; }
    WindowTracker& windowTracker() const { return tracker_; }

    void registerDocumentType(DocumentType type);
    // The type that opens `path`, by its extension (any case); empty when none.
    QString typeForPath(const QString& path) const;
    QStringList extensionsForType(const QString& typeName) const;

    std::vector<Document*> documents() const;
    // The open document of the file at `path` (compared as canonical paths), else null.
    Document* documentForPath(const QString& path) const;
    // The document of the main window, else null.
    Document* currentDocument() const;
    bool hasEditedDocuments() const;

    // Opens the file, or gives the document that has it already (showing its windows).
    [[nodiscard]] virtual Document* openDocument(
        const QString& path, bool display, UErrorPtr* error);
    [[nodiscard]] virtual Document* openUntitledDocumentOfType(
        const QString& typeName, bool display, UErrorPtr* error);
    Document* addDocument(std::unique_ptr<Document> document);
    // Forgets the document at once and deletes it after the current event.
    void removeDocument(Document* document);

    // Runs the close prompt of each edited document in turn, closing those that agree; `done`
    // learns whether the program may quit (false as soon as one prompt is cancelled or a save
    // fails).
    void reviewUnsavedDocuments(std::function<void(bool mayQuit)> done);

private:
    const DocumentType* findType(const QString& typeName) const;
    QString nextUntitledName() const;
    void showDocument(Document& document);
    void openWithPanel();

    SheetPresenter& sheets_;
    FilePanels& panels_;
    WindowTracker& tracker_;
    std::vector<DocumentType> types_;
    std::vector<std::unique_ptr<Document>> documents_;
};
