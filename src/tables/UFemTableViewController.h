#pragma once

#include "cardmodel/card/UFemCardTextColumns.h"
#include "documents/preferences/UFemPreferencesViewController.h"
#include "documents/window/UFemWindowController.h"
#include "platform/UNotificationCenter.h"
#include "tables/UFemCardStringCellEditor.h"
#include "tables/UFemCardTableStyle.h"
#include "tables/UFemCardTableView.h"
#include "tables/UFemOptionalCardStringEditor.h"
#include "tables/resulttable/UFemMainViewWithResultTableController.h"
#include "tables/resulttable/UFemResultTablePane.h"

#include <QPointer>

#include <memory>
#include <vector>

class QMimeData;
class UFemCardTableCellDelegate;
class UFemCardTableModel;
class UFemTableViewPreferencesViewController;

// The card view of a document window: one row per card the window shows and a closing "<end>"
// row, with the result table below it. The table's selection and the window's selected cards
// follow each other; a change of the model, the cases or the window's cards reloads the table.
class UFemTableViewController : public UFemMainViewWithResultTableController,
                                public UFemCardTableViewDelegate,
                                public UFemPreferencesViewControllerOwner {
public:
    static constexpr QSize minimumBoxSize { 400, 300 };
    // Above this many selected cards a filtered window is walked once rather than searched.
    static constexpr size_t searchedSelectionLimit = 64;

    explicit UFemTableViewController(UFemWindowController& windowController);
    // The window's maker of main views for the card view type; null for the others.
    static std::unique_ptr<UFemMainViewController> makeMainViewController(
        UFemWindowController& windowController, UFemViewType viewType);
    ~UFemTableViewController() override;

    void finish() override;

    QWidget* mainView() const override;
    QWidget* mainViewBox() const override;
    QSize minimumMainViewBoxSize() const override { return minimumBoxSize; }
    bool useViewPreferences() const override { return true; }
    QVariantMap viewPreferences() const override { return currentViewPreferences_; }
    [[nodiscard]] bool setViewPreferences(
        const QVariantMap& viewPreferences, UErrorPtr* error) override;
    UFemTableViewPreferencesViewController& tableViewPreferencesViewController();
    // What the window's view settings sheet edits.
    UFemPreferencesViewController* preferencesViewController() override;
    void viewWillSwapOut() override { }
    void viewDidSwapIn() override;

    quint64 cardRowIndexToAddCard(UErrorPtr* error) override;
    _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr* error) override;
    [[nodiscard]] bool selectSearchCardStringRange(
        const _UFemSearchCardStringRange& range, UErrorPtr* error) override;
    [[nodiscard]] bool deselectSearchCardStringRange(UErrorPtr* error) override;
    [[nodiscard]] QLineEdit* cardStringFieldEditor(quint64* editedRow,
        bool doesApplyFieldEditorChange, bool doesCloseFieldEditor, UErrorPtr* error) override;
    void applyAndCloseCardStringFieldEditor() override;
    void deactivateCardStringFieldEditorTemporary() override;
    bool respondsToScrollToSelection() const override { return true; }
    void scrollToSelection() override;

    const UFemCardStringAttributesDictionary& cardStringAttributesDictionary() const
    {
        return cardStringAttributesDictionary_;
    }
    void setCardStringAttributesDictionary(const UFemCardStringAttributesDictionary& attributes);
    QString cardTableViewOtherValueListString() const { return cardTableViewOtherValueListString_; }

    void reload();
    void updateSelectionOnViewBySelectedCardSetManager();
    void scrollRowToVisibleLastEditedCardWithDoesSelectLastEditedCard(bool doesSelect);

    UFemCardTableView* cardTableView() const { return cardTableViewOutlet_; }
    UFemCardTableModel* cardTableModel() const { return model_; }

    // The card string edit of a cell: nothing when unchanged (an error card is read again).
    void tableViewSetObjectValue(quint64 row, const QString& cardString);
    UFemCardStringCellEditor* cellEditor() const { return cellEditor_; }
    // The window row of the open cell editor, UFemNotFound when none is open.
    quint64 cellEditorRow() const { return cellEditorRow_; }

    // ---- Drag and drop: rows above which a drop goes, "<end>" being the card count
    std::unique_ptr<QMimeData> mimeDataForRows(const QList<int>& rows);
    Qt::DropAction validateDrop(
        const QMimeData& data, quint64 row, bool isOnRow, Qt::DropActions possibleActions);
    bool acceptDrop(const QMimeData& data, quint64 row, bool isOnRow, Qt::DropAction action);

    // ---- Card table view delegate
    void cardTableViewEditCardStringOfRow(quint64 row) override;
    void cardTableViewDoubleClicked(const QModelIndex& index) override;
    bool cardTableViewDoesDrawOverlay() const override;
    void cardTableViewClearOverlay() override;
    void ufemTableViewDrawRect(QPainter& painter, const QRectF& visibleRect) override;
    bool cardTableViewIsEditingCell() const override { return cellEditorRow_ != UFemNotFound; }
    void cardTableViewUpdateEditorGeometry() override;
    QMimeData* cardTableViewMimeDataForRows(const QList<int>& rows) override;
    Qt::DropAction cardTableViewValidateDrop(
        const QMimeData& data, quint64 row, bool isOnRow, Qt::DropActions possibleActions) override
    {
        return validateDrop(data, row, isOnRow, possibleActions);
    }
    bool cardTableViewAcceptDrop(
        const QMimeData& data, quint64 row, bool isOnRow, Qt::DropAction action) override
    {
        return acceptDrop(data, row, isOnRow, action);
    }
    void cardTableViewDeleteSelectedCards() override;
    void cardTableViewShowContextMenu(const QPoint& globalPosition) override;

private:
    // ---- Editing
    QString cellEditorTextOfRow(quint64 row) const;
    void beginCellEditing(quint64 row, qsizetype start, qsizetype end);
    void endCellEditing(UFemCardStringCellEditor::Ending ending);
    void closeCellEditor();
    void optionalCardStringEditorDidEndEditing();
    [[nodiscard]] QLineEdit* cellFieldEditor(
        quint64* row, bool doesApply, bool doesClose, UErrorPtr* error);
    [[nodiscard]] QLineEdit* optionalFieldEditor(
        quint64* row, bool doesApply, bool doesClose, UErrorPtr* error);
    void selectCharacterRangeOfRow(quint64 row, quint64 start, quint64 end);
    // ---- Dropping
    [[nodiscard]] bool moveCardsOfPayload(
        const std::vector<quint64>& modelRows, quint64 insertionRow, UErrorPtr* error);
    [[nodiscard]] bool moveCards(const std::vector<quint64>& modelRows, quint64 insertionRow,
        quint64* moved, UErrorPtr* error);
    // Puts removed cards back after a failed insert of a move.
    void restoreRemovedCards(const std::vector<UFemCardTextColumnsPtr>& records,
        const std::vector<quint64>& rows, quint64 cardCountBeforeInsert, quint64 insertionRow);
    [[nodiscard]] bool copyCardsOfText(const QString& text, quint64 insertionRow, UErrorPtr* error);
    quint64 modelRowOfDropRow(quint64 row) const;
    std::vector<quint64> modelRowsOfCards(const std::vector<UFemCardPtr>& cards);
    quint64 modelIdentifier() const;
    void selectModelRows(quint64 first, quint64 count);

    void loadTableBox();
    void observeNotifications();
    void tableViewSelectionDidChange();
    void selectRowAlone(quint64 row);
    std::vector<int> windowRowsOfSelectedCards();
    // The window row of the model row's card, else of the first later card the window shows.
    quint64 windowRowAtOrAfterModelRow(quint64 modelRow);

    UFemCardTableView* cardTableViewOutlet_ = nullptr;
    UFemCardTableModel* model_ = nullptr;
    UFemCardTableCellDelegate* cellDelegate_ = nullptr;
    QMetaObject::Connection selectionConnection_;
    bool doesRefuseSelectedCardArrayChangeFromTableView_ = false;
    QVariantMap currentViewPreferences_;
    UFemCardStringAttributesDictionary cardStringAttributesDictionary_;
    std::unique_ptr<UFemTableViewPreferencesViewController> preferencesViewController_;
    QString cardTableViewOtherValueListString_;
    std::vector<UNotificationObservation> observations_;
    bool isFinished_ = false;
    UFemCardStringCellEditor* cellEditor_ = nullptr;
    quint64 cellEditorRow_ = UFemNotFound;
    // Also applies the cell editor's text, so that one flag guards both against re-entry.
    UFemOptionalCardStringEditor optionalEditor_;
};
