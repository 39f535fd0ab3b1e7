#include "appkit/DocumentController.h"

#include "appkit/CommandNames.h"
#include "appkit/Document.h"
#include "appkit/FilePanels.h"
#include "appkit/OwnedList.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowController.h"
#include "appkit/WindowTracker.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QFileInfo>
#include <QPointer>

#include <algorithm>

namespace {

const QString UntitledName = QStringLiteral("Untitled");

QString canonicalPath(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

} // namespace

DocumentController::DocumentController(
    SheetPresenter& sheets, FilePanels& panels, WindowTracker& tracker)
    : sheets_(sheets)
    , panels_(panels)
    , tracker_(tracker)
{
    addCommand(OpenDocumentCommand, [this](const CommandItem&) { openWithPanel(); });
}

DocumentController::~DocumentController() = default;

void DocumentController::registerDocumentType(DocumentType type)
{
    types_.push_back(std::move(type));
}

const DocumentType* DocumentController::findType(const QString& typeName) const
{
    const auto it = std::find_if(types_.begin(), types_.end(),
        [&typeName](const DocumentType& type) { return type.name == typeName; });
    return it == types_.end() ? nullptr : &*it;
}

QString DocumentController::typeForPath(const QString& path) const
{
    const QString suffix = QFileInfo(path).suffix();
    for (const DocumentType& type : types_) {
        if (type.extensions.contains(suffix, Qt::CaseInsensitive)) {
            return type.name;
        }
    }
    return QString();
}

QStringList DocumentController::extensionsForType(const QString& typeName) const
{
    const DocumentType* type = findType(typeName);
    return type == nullptr ? QStringList() : type->extensions;
}

std::vector<Document*> DocumentController::documents() const
{
    std::vector<Document*> open;
    for (const auto& document : documents_) {
        open.push_back(document.get());
    }
    return open;
}

Document* DocumentController::documentForPath(const QString& path) const
{
    const QString wanted = canonicalPath(path);
    if (wanted.isEmpty()) {
        return nullptr;
    }
    for (const auto& document : documents_) {
        if (!document->filePath().isEmpty() && canonicalPath(document->filePath()) == wanted) {
            return document.get();
        }
    }
    return nullptr;
}

Document* DocumentController::currentDocument() const
{
    WindowController* main = tracker_.mainWindowController();
    return main == nullptr ? nullptr : main->document();
}

bool DocumentController::hasEditedDocuments() const
{
    return std::any_of(documents_.begin(), documents_.end(),
        [](const auto& document) { return document->isDocumentEdited(); });
}

Document* DocumentController::openDocument(const QString& path, bool display, UErrorPtr* error)
{
    if (Document* open = documentForPath(path)) {
        if (display) {
            open->showWindows();
        }
        return open;
    }
    const QString typeName = typeForPath(path);
    const DocumentType* type = findType(typeName);
    if (type == nullptr) {
        UFemSetError(error, UFemUnknownFileTypeError_withFileTypeString(QFileInfo(path).suffix()));
        return nullptr;
    }
    std::unique_ptr<Document> document = type->make();
    document->setDocumentController(this);
    if (!document->readFromFile(path, typeName, error)) {
        return nullptr;
    }
    Document* added = addDocument(std::move(document));
    if (display) {
        showDocument(*added);
    }
    return added;
}

Document* DocumentController::openUntitledDocumentOfType(
    const QString& typeName, bool display, UErrorPtr* error)
{
    const DocumentType* type = findType(typeName);
    if (type == nullptr) {
        UFemSetError(error, UFemUnknownFileTypeError_withFileTypeString(typeName));
        return nullptr;
    }
    std::unique_ptr<Document> document = type->make();
    document->setFileType(typeName);
    document->setUntitledName(nextUntitledName());
    Document* added = addDocument(std::move(document));
    if (display) {
        showDocument(*added);
    }
    return added;
}

QString DocumentController::nextUntitledName() const
{
    for (int number = 1;; ++number) {
        const QString name
            = number == 1 ? UntitledName : UntitledName + QStringLiteral(" %1").arg(number);
        const bool used = std::any_of(documents_.begin(), documents_.end(), [&](const auto& open) {
            return open->filePath().isEmpty() && open->displayName() == name;
        });
        if (!used) {
            return name;
        }
    }
}

Document* DocumentController::addDocument(std::unique_ptr<Document> document)
{
    document->setDocumentController(this);
    documents_.push_back(std::move(document));
    return documents_.back().get();
}

void DocumentController::showDocument(Document& document)
{
    if (document.windowControllers().empty()) {
        document.makeWindowControllers();
    }
    document.showWindows();
}

void DocumentController::removeDocument(Document* document)
{
    if (std::unique_ptr<Document> removed = takeOwned(documents_, document)) {
        removed.release()->deleteLater();
    }
}

void DocumentController::reviewUnsavedDocuments(std::function<void(bool mayQuit)> done)
{
    const auto edited = std::find_if(documents_.begin(), documents_.end(),
        [](const auto& document) { return document->isDocumentEdited(); });
    if (edited == documents_.end()) {
        done(true);
        return;
    }
    Document* document = edited->get();
    document->canClose([this, document = QPointer<Document>(document), done = std::move(done)](
                           bool mayClose) mutable {
        if (!mayClose || !document) {
            done(false);
            return;
        }
        document->close();
        reviewUnsavedDocuments(std::move(done));
    });
}

void DocumentController::openWithPanel()
{
    OpenPanelOptions options;
    for (const DocumentType& type : types_) {
        options.allowedExtensions += type.extensions;
    }
    options.allowsMultipleSelection = true;
    // The folder of the document in front, where its neighbours are.
    if (WindowController* front = tracker_.mainWindowController()) {
        if (front->document() != nullptr && !front->document()->filePath().isEmpty())
            options.directory = QFileInfo(front->document()->filePath()).absolutePath();
    }
    panels_.beginOpenPanel(nullptr, options, [this](const QStringList& paths) {
        for (const QString& path : paths) {
            UErrorPtr error;
            if (openDocument(path, true, &error) == nullptr) {
                sheets_.presentError(nullptr, *error);
            }
        }
    });
}
