#include "documents/mainview/UFemMainViewController.h"

#include "appkit/Document.h"
#include "appkit/SheetPresenter.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/mainview/UFemProjectInfoOverlay.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowDocument.h"
#include "foundation/UFemNotFound.h"
#include "platform/UUndoManager.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

#include <functional>

namespace {

const QString TabularTextMimeType = QStringLiteral("text/tab-separated-values");

bool clipboardHasPlainText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

} // namespace

UFemMainViewController::UFemMainViewController(UFemWindowController& windowController)
    : windowController_(&windowController)
    , optionalCardStringEditorEditedRow_(UFemNotFound)
{
    registerCommands();
}

UFemMainViewController::~UFemMainViewController() = default;

void UFemMainViewController::finish()
{
    windowController_ = nullptr;
}

Document* UFemMainViewController::document() const
{
    return windowController_->document();
}

UFemWindowDocument* UFemMainViewController::ufemDocument() const
{
    return windowController_->ufemDocument();
}

UFemDataController& UFemMainViewController::dataController() const
{
    return windowController_->dataController();
}

UFemWindowCardTable& UFemMainViewController::windowCardTable() const
{
    return windowController_->windowCardTable();
}

const UFemCardVector& UFemMainViewController::selectedCardArray() const
{
    return windowController_->selectedCardArray();
}

QWidget* UFemMainViewController::window() const
{
    return windowController_->window();
}

std::shared_ptr<const UFemUserPreferences> UFemMainViewController::documentUserPreferences() const
{
    return windowController_->documentUserPreferences();
}

bool UFemMainViewController::setViewPreferences(const QVariantMap&, UErrorPtr*)
{
    return true;
}

QLineEdit* UFemMainViewController::cardStringFieldEditor(quint64* editedRow, bool, bool, UErrorPtr*)
{
    if (editedRow != nullptr)
        *editedRow = UFemNotFound;
    return nullptr;
}

bool UFemMainViewController::deselectSearchCardStringRange(UErrorPtr* error)
{
    return selectSearchCardStringRange({}, error);
}

bool UFemMainViewController::hasModelData() const
{
    return ufemDocument() != nullptr && ufemDocument()->hasModelData();
}

bool UFemMainViewController::isModelEditable() const
{
    return hasModelData() && !dataController().isLocked();
}

void UFemMainViewController::presentError(const UErrorPtr& error) const
{
    if (error == nullptr)
        return;
    if (SheetPresenter* sheets = windowController_->sheetPresenter())
        sheets->presentError(window(), *error);
}

std::vector<UFemCard*> UFemMainViewController::windowCards() const
{
    const UFemCardArray& cards = windowCardTable().cardArray();
    std::vector<UFemCard*> pointers;
    pointers.reserve(cards.count());
    for (quint64 index = 0; index < cards.count(); ++index)
        pointers.push_back(cards.objectAtIndex(index).get());
    return pointers;
}

void UFemMainViewController::registerCommands()
{
    using Command = void (UFemMainViewController::*)();
    const std::pair<QString, Command> plain[] = {
        { UndoCommand, &UFemMainViewController::ufemMainView_undo },
        { RedoCommand, &UFemMainViewController::ufemMainView_redo },
        { UFemInsertCommand, &UFemMainViewController::ufemMainView_insert },
        { DeleteCommand, &UFemMainViewController::ufemMainView_delete },
        { SelectAllCommand, &UFemMainViewController::ufemMainView_selectAll },
        { UFemRetryAllErrorCardsCommand, &UFemMainViewController::ufemMainView_retryAllErrorCards },
        { UFemFindNextCommand, &UFemMainViewController::ufemMainView_findNext },
        { UFemFindPreviousCommand, &UFemMainViewController::ufemMainView_findPrevious },
        { UFemReplaceSelectionCommand, &UFemMainViewController::ufemMainView_replaceSelection },
        { UFemReplaceSelectionAndFindNextCommand,
            &UFemMainViewController::ufemMainView_replaceSelectionAndFindNext },
        { UFemReplaceAllCommand, &UFemMainViewController::ufemMainView_replaceAll },
        { UFemUseSelectionForFindCommand,
            &UFemMainViewController::ufemMainView_useSelectionForFind },
        { UFemFineNextErrorCardCommand, &UFemMainViewController::ufemMainView_fineNextErrorCard },
        { UFemFindPreviousErrorCardCommand,
            &UFemMainViewController::ufemMainView_findPreviousErrorCard },
        { UFemFineNextIncompleteCardCommand,
            &UFemMainViewController::ufemMainView_fineNextIncompleteCard },
        { UFemFindPreviousIncompleteCardCommand,
            &UFemMainViewController::ufemMainView_findPreviousIncompleteCard },
        { UFemScrollToSelectionCommand, &UFemMainViewController::scrollToSelection },
    };
    // Named pairs rather than structured bindings: clang 14 cannot capture those.
    for (const auto& entry : plain) {
        const Command command = entry.second;
        addCommand(entry.first, [this, command](const CommandItem&) { (this->*command)(); });
    }
    using SenderCommand = void (UFemMainViewController::*)(const CommandItem&);
    const std::pair<QString, SenderCommand> withSender[] = {
        { CopyCommand, &UFemMainViewController::ufemMainView_copy },
        { UFemCopyAsTabSeparatedTextCommand, &UFemMainViewController::ufemMainView_copy },
        { CutCommand, &UFemMainViewController::ufemMainView_cut },
        { UFemCutAsTabSeparatedTextCommand, &UFemMainViewController::ufemMainView_cut },
        { PasteCommand, &UFemMainViewController::ufemMainView_paste },
        { UFemPasteAsTabSeparatedTextCommand, &UFemMainViewController::ufemMainView_paste },
    };
    for (const auto& entry : withSender) {
        const SenderCommand command = entry.second;
        addCommand(
            entry.first, [this, command](const CommandItem& sender) { (this->*command)(sender); });
    }
}

bool UFemMainViewController::validateCommand(CommandItem& item)
{
    return ufemMainView_validateUserInterfaceItem(item);
}

bool UFemMainViewController::ufemMainView_validateUserInterfaceItem(CommandItem& item)
{
    const QString& command = item.command();
    const bool selected = !windowController_->selectedCardArray().empty();
    if (command == UndoCommand || command == RedoCommand) {
        const bool isUndo = command == UndoCommand;
        UUndoManager* undo = dataController().undoManager();
        if (undo == nullptr)
            return false;
        if (item.action() != nullptr)
            item.setTitle(isUndo ? undo->undoMenuItemTitle() : undo->redoMenuItemTitle());
        return isModelEditable() && (isUndo ? undo->canUndo() : undo->canRedo());
    }
    static const QStringList editableSelected
        = { CutCommand, UFemCutAsTabSeparatedTextCommand, DeleteCommand };
    static const QStringList modelSelected = { CopyCommand, UFemCopyAsTabSeparatedTextCommand,
        UFemUseSelectionForFindCommand, UFemScrollToSelectionCommand };
    static const QStringList pasting = { PasteCommand, UFemPasteAsTabSeparatedTextCommand };
    static const QStringList editable = { UFemInsertCommand, UFemReplaceSelectionCommand,
        UFemReplaceSelectionAndFindNextCommand, UFemReplaceAllCommand };
    static const QStringList model
        = { SelectAllCommand, UFemFindNextCommand, UFemFindPreviousCommand };
    // Retrying without error cards would change nothing.
    if (command == UFemRetryAllErrorCardsCommand)
        return isModelEditable() && dataController().errorCardArray().count() != 0;
    if (editableSelected.contains(command))
        return isModelEditable() && selected;
    if (modelSelected.contains(command))
        return hasModelData() && selected;
    if (pasting.contains(command))
        return isModelEditable() && clipboardHasPlainText();
    if (editable.contains(command))
        return isModelEditable();
    if (model.contains(command))
        return hasModelData();
    return true;
}

void UFemMainViewController::ufemMainView_drawOverlaidProjectInfoIfNeeded(
    QPainter& painter, const QRectF& visibleRect)
{
    if (windowController_ == nullptr || !windowController_->doesDrawOverlaidProjectInfo())
        return;
    if (const auto texts = UFemProjectInfoTextsOfDocument(*ufemDocument(), dataController()))
        UFemDrawProjectInfoOverlay(painter, visibleRect, *texts);
}
