#pragma once

#include "appkit/CommandTarget.h"
#include "cardmodel/data/UFemCardSetManager.h"
#include "cardmodel/text/UFemSearchCardStringRange.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UError.h"

#include <QRectF>
#include <QSize>
#include <QVariantMap>

#include <memory>
#include <vector>

class Document;
class QLineEdit;
class QPainter;
class QWidget;
class UFemCard;
class UFemDataController;
class UFemFindPanel;
class UFemUserPreferences;
class UUndoManager;
class UFemWindowCardTable;
class UFemWindowController;
class UFemWindowDocument;

// The base of the controllers a document window shows in its main area, one at a time: the card
// table, the 3-D view and the information views. It implements once, for every main view, the
// edit, find and problem-card commands of the Edit menu and their validation, and draws the
// project information overlay. What differs between views (where new cards go, the current
// search range, the field editor) each subclass answers through the virtual operations below.
//
// The controller is a command target: the window puts it in the command chain at its main view,
// so the Edit menu reaches it while that view (or a child) has the focus.
class UFemMainViewController : public CommandTarget {
public:
    explicit UFemMainViewController(UFemWindowController& windowController);
    ~UFemMainViewController() override;
    UFemMainViewController(const UFemMainViewController&) = delete;
    UFemMainViewController& operator=(const UFemMainViewController&) = delete;

    // Drops the link to the window controller; called before release.
    virtual void finish();

    UFemWindowController* windowController() const { return windowController_; }
    Document* document() const;
    UFemWindowDocument* ufemDocument() const;
    UFemDataController& dataController() const;
    UFemWindowCardTable& windowCardTable() const;
    const UFemCardVector& selectedCardArray() const;
    QWidget* window() const;
    std::shared_ptr<const UFemUserPreferences> documentUserPreferences() const;

    quint64 optionalCardStringEditorEditedRow() const { return optionalCardStringEditorEditedRow_; }
    void setOptionalCardStringEditorEditedRow(quint64 row)
    {
        optionalCardStringEditorEditedRow_ = row;
    }

    // ---- The main-view interface the window controller and this base ask of every subclass
    virtual QWidget* mainView() const { return nullptr; }
    virtual QWidget* mainViewBox() const { return nullptr; }
    virtual QSize minimumMainViewBoxSize() const { return {}; }
    // Whether view settings apply to this kind of view.
    virtual bool useViewPreferences() const { return false; }
    virtual QVariantMap viewPreferences() const { return {}; }
    [[nodiscard]] virtual bool setViewPreferences(
        const QVariantMap& viewPreferences, UErrorPtr* error);
    virtual void viewWillSwapOut() { }
    virtual void viewDidSwapIn() { }
    virtual QWidget* printView() const { return mainView(); }
    // The model row new cards go to, UFemNotFound for the end; on error UFemNotFound
    // and the error.
    virtual quint64 cardRowIndexToAddCard(UErrorPtr* error) = 0;
    virtual _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr* error) = 0;
    // A range starting at UFemRangeNotFound selects nothing.
    [[nodiscard]] virtual bool selectSearchCardStringRange(
        const _UFemSearchCardStringRange& range, UErrorPtr* error)
        = 0;
    // The range the replacement now covers; *isReplaced tells whether anything was replaced.
    // Only an open field editor replaces: its selected characters, applied without closing it.
    virtual _UFemSearchCardStringRange replaceSelectedSearchCardStringRange(
        const QString& replaceString, bool* isReplaced, UErrorPtr* error);
    // The open field editor and its card row (*editedRow), null when none is open.
    [[nodiscard]] virtual QLineEdit* cardStringFieldEditor(quint64* editedRow,
        bool doesApplyFieldEditorChange, bool doesCloseFieldEditor, UErrorPtr* error);
    virtual void applyAndCloseCardStringFieldEditor() { }
    // Ends editing without applying while a search moves the selection; an optional editor is
    // only disabled.
    virtual void deactivateCardStringFieldEditorTemporary() { }
    // Applies the open editor (without closing it), then selects nothing.
    [[nodiscard]] virtual bool deselectSearchCardStringRange(UErrorPtr* error);
    // Optional: only views that can scroll their selection into sight answer true.
    virtual bool respondsToScrollToSelection() const { return false; }
    virtual void scrollToSelection() { }

    // ---- Commands (the view that received the action is the one this controller shows)
    bool ufemMainView_validateUserInterfaceItem(CommandItem& item);
    void ufemMainView_undo();
    void ufemMainView_redo();
    void ufemMainView_insert();
    void ufemMainView_delete();
    void ufemMainView_selectAll();
    void ufemMainView_copy(const CommandItem& sender);
    void ufemMainView_cut(const CommandItem& sender);
    void ufemMainView_paste(const CommandItem& sender);
    void ufemMainView_retryAllErrorCards();
    void ufemMainView_findNext();
    void ufemMainView_findPrevious();
    void ufemMainView_replaceSelection();
    void ufemMainView_replaceSelectionAndFindNext();
    void ufemMainView_replaceAll();
    void ufemMainView_useSelectionForFind();
    void ufemMainView_fineNextErrorCard();
    void ufemMainView_findPreviousErrorCard();
    void ufemMainView_fineNextIncompleteCard();
    void ufemMainView_findPreviousIncompleteCard();
    // Draws the overlay when the window asks for it; `visibleRect` in the view's (y-down)
    // coordinates.
    void ufemMainView_drawOverlaidProjectInfoIfNeeded(QPainter& painter, const QRectF& visibleRect);

    bool validateCommand(CommandItem& item) override;

protected:
    bool isModelEditable() const;
    bool hasModelData() const;
    // Shows the error as a sheet on the window.
    void presentError(const UErrorPtr& error) const;
    // The window card table's cards as the search machinery reads them.
    std::vector<UFemCard*> windowCards() const;
    // False, with the error, for a range over several rows with characters.
    [[nodiscard]] static bool isSelectableSearchCardStringRange(
        const _UFemSearchCardStringRange& range, UErrorPtr* error);
    // Applies the open field editor's text (closing it when `doesClose`); false, with the
    // error, when that fails.
    [[nodiscard]] bool applyCardStringFieldEditor(bool doesClose, UErrorPtr* error);
    // The open field editor's selection after applying it; false when none is open. A failure
    // gives no range, the error and true.
    [[nodiscard]] bool getEditedSearchCardStringRange(
        _UFemSearchCardStringRange* range, UErrorPtr* error);

private:
    void registerCommands();
    void undoOrRedo(void (UUndoManager::*step)());
    void findInDirection(bool doesSearchBackDirection);
    [[nodiscard]] bool replaceAllOccurrences(
        UFemFindPanel& panel, quint64* replacedCount, UErrorPtr* error);
    void navigateToProblemCard(bool forward, bool separatePasses);
    void selectOnlyCard(UFemCard* card);

    UFemWindowController* windowController_;
    quint64 optionalCardStringEditorEditedRow_;
};
