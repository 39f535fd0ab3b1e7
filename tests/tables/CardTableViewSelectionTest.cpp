#include "CardTableViewTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "platform/UUndoManager.h"

#include <QLineEdit>

class CardTableViewSelection : public CardTableViewFixture { };

TEST_F(CardTableViewSelection, TableSelectionBecomesTheWindowsAndBack)
{
    table->selectRowRange(2, 3);
    EXPECT_EQ(selectedCardNames(), (QStringList { "N1", "N2" }));

    selectCards({ "R1", "Steel" });
    EXPECT_EQ(selectedRows(), (QList<int> { 0, 5 }));

    harness.window->clearSelectedCardArray();
    EXPECT_TRUE(selectedRows().isEmpty());
}

// The window's did-change that follows the table's own change must not select again: that
// would move the anchor a shift-click extends from.
TEST_F(CardTableViewSelection, OwnChangeKeepsAnchorAndCurrentRow)
{
    const QRect row2 = table->visualRect(model->index(2, 2));
    clickAt(table->viewport(), row2.center());
    int changes = 0;
    QObject::connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, table,
        [&changes] { ++changes; });
    const QRect row4 = table->visualRect(model->index(4, 2));
    clickAt(table->viewport(), row4.center(), Qt::ShiftModifier);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(selectedRows(), (QList<int> { 2, 3, 4 }));
    EXPECT_EQ(selectedCardNames().size(), 3);
    EXPECT_EQ(table->currentIndex().row(), 4);
    const QRect row6 = table->visualRect(model->index(6, 2));
    clickAt(table->viewport(), row6.center(), Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(), (QList<int> { 2, 3, 4, 5, 6 }));
}

TEST_F(CardTableViewSelection, ClickOnEndRowClearsAndNeverSelectsIt)
{
    selectCards({ "N1" });
    const QRect end = table->visualRect(model->index(int(model->endRow()), 2));
    clickAt(table->viewport(), end.center());
    EXPECT_TRUE(selectedRows().isEmpty());
    EXPECT_TRUE(harness.window->selectedCardArray().empty());
}

TEST_F(CardTableViewSelection, FilteredOutSelectedCardIsSkipped)
{
    selectCards({ "N1", "R1" });
    harness.window->setCardFilterString(QStringLiteral("type:Node"));
    harness.finishEventTurn();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_TRUE(cell(0, UFemCardTableModel::CardStringColumn).startsWith("Node , N1 ,"));
    EXPECT_EQ(selectedRows(), (QList<int> { 0 }));
}

TEST_F(CardTableViewSelection, CardRowToAddIsTheFirstSelectedCardsModelRow)
{
    UErrorPtr error;
    EXPECT_EQ(controller->cardRowIndexToAddCard(&error), UFemNotFound);
    harness.window->setCardFilterString(QStringLiteral("type:Node"));
    harness.finishEventTurn();
    table->selectRowRange(1, 1);
    EXPECT_EQ(controller->cardRowIndexToAddCard(&error), 3u);
}

// Undo of the only card leaves the table with its "<end>" row alone; redo brings the row back
// selected.
TEST(CardTableViewUndo, UndoToAnEmptyTableLeavesNoStaleRow)
{
    WindowHarness harness(
        UFemDocumentTypeModel, QString(""), &UFemTableViewController::makeMainViewController);
    auto* controller = dynamic_cast<UFemTableViewController*>(harness.window->mainViewController());
    ASSERT_NE(controller, nullptr);
    UFemCardTableModel& model = *controller->cardTableModel();
    ASSERT_EQ(model.rowCount(), 1);
    UErrorPtr error;
    ASSERT_EQ(harness.model().addCardsWithModelText(
                  QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"), UFemNotFound, true, &error),
        1u);
    harness.finishEventTurn();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, UFemCardTableModel::CardStringColumn)).toString(),
        "Node , N1 ,  , 0 , 0 , 0 ,");

    harness.document->undoManager().undo();
    EXPECT_EQ(harness.model().cardCount(), 0u);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "<end>");
    EXPECT_TRUE(controller->cardTableView()->selectedRowList().isEmpty());

    harness.document->undoManager().redo();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(controller->cardTableView()->selectedRowList(), (QList<int> { 0 }));
    EXPECT_EQ(harness.window->selectedCardArray().size(), 1u);
}

class CardTableViewKeys : public CardTableViewFixture {
protected:
    void press(int key, Qt::KeyboardModifiers modifiers = {}) { sendKey(table, key, modifiers); }
    // The editor commits and closes on the next event turn.
    void pressInEditor(int key, Qt::KeyboardModifiers modifiers = {})
    {
        sendKey(QApplication::focusWidget(), key, modifiers);
        harness.finishEventTurn();
    }
};

TEST_F(CardTableViewKeys, CtrlArrowsJumpToFirstAndLastCard)
{
    selectCards({ "N2" });
    table->setCurrentIndex(model->index(3, 0));
    selectCards({ "N2" });
    press(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(), (QList<int> { 3, 4, 5, 6, 7 }));
    EXPECT_EQ(harness.window->selectedCardArray().size(), 5u);
    press(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(selectedRows(), (QList<int> { 7 }));
    press(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(selectedRows(), (QList<int> { 0 }));
    EXPECT_EQ(selectedCardNames(), (QStringList { "Steel" }));
    selectCards({ "N2" });
    table->setCurrentIndex(model->index(3, 0));
    selectCards({ "N2" });
    press(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(), (QList<int> { 0, 1, 2, 3 }));
    press(Qt::Key_Escape);
    EXPECT_TRUE(selectedRows().isEmpty());
    EXPECT_TRUE(harness.window->selectedCardArray().empty());
    // Extending needs a selected row.
    press(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(selectedRows().isEmpty());
}

TEST(CardTableViewKeysEmpty, CtrlArrowsDoNothingWithoutCards)
{
    WindowHarness harness(
        UFemDocumentTypeModel, QString(""), &UFemTableViewController::makeMainViewController);
    auto* controller = dynamic_cast<UFemTableViewController*>(harness.window->mainViewController());
    sendKey(controller->cardTableView(), Qt::Key_Down, Qt::ControlModifier);
    sendKey(controller->cardTableView(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_TRUE(controller->cardTableView()->selectedRowList().isEmpty());
}

TEST_F(CardTableViewKeys, ReturnEditsTheFirstSelectedCardStringAllSelected)
{
    press(Qt::Key_Return);
    EXPECT_FALSE(table->isEditingCell());

    selectCards({ "N2", "R1" });
    press(Qt::Key_Return);
    ASSERT_TRUE(table->isEditingCell());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "Node , N2 ,  , 1.5 , 0 , 0 ,");
    EXPECT_EQ(editor->selectedText(), editor->text());
    editor->setText(QStringLiteral("Node , N2 ,  , 2.5 , 0 , 0 ,"));
    sendKey(editor, Qt::Key_Return);
    harness.finishEventTurn();
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_EQ(cell(3, UFemCardTableModel::CardStringColumn), "Node , N2 ,  , 2.5 , 0 , 0 ,");
    EXPECT_TRUE(harness.model().modelTextOfAllCards().contains("Node , N2 ,  , 2.5 , 0 , 0 ,"));
}

TEST_F(CardTableViewKeys, TabAndBacktabEndEditingAndMoveOneRow)
{
    selectCards({ "R1" });
    press(Qt::Key_Return);
    pressInEditor(Qt::Key_Tab);
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_EQ(selectedRows(), (QList<int> { 6 }));
    press(Qt::Key_Return);
    pressInEditor(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(), (QList<int> { 5 }));
    // The last card stays where it is.
    selectCards({ "Dead" });
    press(Qt::Key_Return);
    pressInEditor(Qt::Key_Tab);
    EXPECT_EQ(selectedRows(), (QList<int> { 7 }));
    EXPECT_EQ(harness.model().cardCount(), 8u);
}

TEST_F(CardTableViewKeys, ReturnDoesNotEditALockedModelOrAHiddenColumn)
{
    selectCards({ "N1" });
    table->setCardStringColumnActive(false);
    press(Qt::Key_Return);
    EXPECT_FALSE(table->isEditingCell());
    table->setCardStringColumnActive(true);
    harness.model().setLockedOutside(true);
    press(Qt::Key_Return);
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_EQ(harness.sheets.alerts.size(), 1u);
}

// A card added where the window's filter hides it: redo selects the next card the window shows.
TEST_F(CardTableViewSelection, RedoOfAHiddenCardSelectsTheNextShownCard)
{
    harness.window->setCardFilterString(QStringLiteral("type:Node"));
    harness.finishEventTurn();
    UErrorPtr error;
    ASSERT_EQ(harness.model().addCardsWithModelText(
                  QStringLiteral("Rod , R9 , RP , N1 , N2 ,\n"), 3, true, &error),
        1u);
    harness.finishEventTurn();
    EXPECT_TRUE(selectedRows().isEmpty());
    harness.document->undoManager().undo();
    harness.document->undoManager().redo();
    EXPECT_EQ(harness.model().lastEditedCardRowIndex(), 3u);
    EXPECT_EQ(selectedRows(), (QList<int> { 1 }));
    EXPECT_EQ(selectedCardNames(), (QStringList { "N2" }));
}

// Many selected cards in a filtered window take the one-walk lookup; unfiltered, the rows come
// straight from the cards.
TEST(CardTableViewLargeSelection, ManySelectedCardsMapToTheirRows)
{
    QString text;
    for (int i = 0; i < 150; ++i)
        text += QStringLiteral("Node , N%1 ,  , %1 , 0 , 0 ,\n").arg(i);
    text += QStringLiteral("Material , Steel , 210000 , 0.3 ,\nRodProp , RP , Steel , 0.5 ,\n");
    for (int i = 0; i < 149; i += 10)
        text += QStringLiteral("Rod , R%1 , RP , N%1 , N%2 ,\n").arg(i).arg(i + 1);
    WindowHarness harness(
        UFemDocumentTypeModel, text, &UFemTableViewController::makeMainViewController);
    auto& controller
        = dynamic_cast<UFemTableViewController&>(*harness.window->mainViewController());
    UFemCardTableView& table = *controller.cardTableView();

    // Unfiltered: every card from the second on, the rods interleaved at the end.
    table.selectRowRange(1, int(harness.model().cardCount()) - 1);
    EXPECT_EQ(harness.window->selectedCardArray().size(), harness.model().cardCount() - 1);
    controller.reload();
    EXPECT_EQ(table.selectedRowList().size(), qsizetype(harness.model().cardCount()) - 1);
    EXPECT_EQ(table.selectedRowList().first(), 1);

    harness.window->setCardFilterString(QStringLiteral("type:Node"));
    harness.finishEventTurn();
    ASSERT_EQ(controller.cardTableModel()->cardCount(), 150u);
    QList<int> expected;
    for (int row = 1; row < 150; ++row)
        expected.append(row);
    EXPECT_EQ(table.selectedRowList(), expected);
}

// While the project information is drawn over the table, a click only takes it away.
TEST_F(CardTableViewSelection, ClickOnTheOverlayOnlyClearsIt)
{
    harness.window->setDoesDrawOverlaidProjectInfo(true);
    clickAt(table->viewport(), table->visualRect(model->index(2, 2)).center());
    EXPECT_FALSE(harness.window->doesDrawOverlaidProjectInfo());
    EXPECT_TRUE(selectedRows().isEmpty());
    clickAt(table->viewport(), table->visualRect(model->index(2, 2)).center());
    EXPECT_EQ(selectedRows(), (QList<int> { 2 }));
}
