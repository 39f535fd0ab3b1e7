#include "CardTableViewTestSupport.h"

#include "cardmodel/card/UFemCardString.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowNotifications.h"
#include "platform/UUndoManager.h"

#include <QLineEdit>

class CardTableViewEdit : public CardTableViewFixture {
protected:
    static constexpr int n2Row = 3;
    static constexpr int bogusRow = 6;

    QLineEdit* editRow(int row)
    {
        table->selectRowRange(row, row);
        sendKey(table, Qt::Key_Return);
        return controller->cellEditor();
    }
    QString cardString(int row) const { return UFemCardString(*harness.windowCard(quint64(row))); }
};

TEST_F(CardTableViewEdit, UnchangedTextIsANoOpButAnErrorCardIsReadAgain)
{
    const UFemCard* n2 = harness.windowCard(n2Row).get();
    sendKey(editRow(n2Row), Qt::Key_Return);
    EXPECT_EQ(harness.windowCard(n2Row).get(), n2);
    EXPECT_FALSE(harness.document->undoManager().canUndo());

    const UFemCard* bogus = harness.windowCard(bogusRow).get();
    sendKey(editRow(bogusRow), Qt::Key_Return);
    EXPECT_NE(harness.windowCard(bogusRow).get(), bogus);
    EXPECT_TRUE(harness.windowCard(bogusRow)->isErrorCard());
    EXPECT_TRUE(cardString(bogusRow).startsWith("Bogus , X1 , 1 ,"));
}

// Applying re-makes the card and reloads the table; the editor keeps what the user sees.
TEST_F(CardTableViewEdit, ApplyWithoutClosingSurvivesTheReload)
{
    QLineEdit* editor = editRow(n2Row);
    editor->setText(QStringLiteral("Node , N2 ,  , 2.5 , 0 , 0 ,"));
    editor->setSelection(15, 3);
    const UFemCard* before = harness.windowCard(n2Row).get();
    quint64 row = UFemNotFound;
    UErrorPtr error;
    EXPECT_EQ(controller->cardStringFieldEditor(&row, true, false, &error), editor);
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(row, quint64(n2Row));
    EXPECT_NE(harness.windowCard(n2Row).get(), before);
    EXPECT_EQ(cell(n2Row, UFemCardTableModel::CardStringColumn), "Node , N2 ,  , 2.5 , 0 , 0 ,");
    EXPECT_TRUE(table->isEditingCell());
    EXPECT_EQ(editor->text(), "Node , N2 ,  , 2.5 , 0 , 0 ,");
    EXPECT_EQ(editor->selectedText(), "2.5");

    // Closing selects the edited row alone.
    EXPECT_EQ(controller->cardStringFieldEditor(&row, true, true, &error), nullptr);
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_EQ(selectedRows(), (QList<int> { n2Row }));
}

TEST_F(CardTableViewEdit, EscAbandonsAndALockedModelRefusesTyping)
{
    QLineEdit* editor = editRow(n2Row);
    editor->setText(QStringLiteral("Node , N2 ,  , 9 , 9 , 9 ,"));
    sendKey(editor, Qt::Key_Escape);
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_EQ(cardString(n2Row), "Node , N2 ,  , 1.5 , 0 , 0 ,");

    // A search may open the editor on a locked model; the first keystroke is refused.
    harness.model().setLockedOutside(true);
    UErrorPtr error;
    ASSERT_TRUE(controller->selectSearchCardStringRange({ n2Row, 0, n2Row, 0 }, &error));
    QKeyEvent typing(QEvent::KeyPress, Qt::Key_X, {}, QStringLiteral("x"));
    QApplication::sendEvent(editor, &typing);
    EXPECT_EQ(editor->text(), "Node , N2 ,  , 1.5 , 0 , 0 ,");
    EXPECT_EQ(harness.sheets.alerts.size(), 1u);
}

TEST_F(CardTableViewEdit, ALineBreakOrAModifyErrorGivesASheetAndKeepsTheCard)
{
    QLineEdit* editor = editRow(n2Row);
    editor->setText(QStringLiteral("Node , N2 ,  , 1 , 0 , 0 ,\nNode , N3 ,  , 2 , 0 , 0 ,"));
    controller->tableViewSetObjectValue(n2Row, editor->text());
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(cardString(n2Row), "Node , N2 ,  , 1.5 , 0 , 0 ,");
    EXPECT_EQ(harness.model().cardCount(), 8u);
}

TEST_F(CardTableViewEdit, NoticesOfOtherViewsCloseTheEditorItsOwnDoNot)
{
    QLineEdit* editor = editRow(n2Row);
    editor->setText(QStringLiteral("Node , N2 ,  , 3 , 0 , 0 ,"));
    UNotificationCenter* modelCenter = harness.model().notificationCenter();
    UNotificationCenter& center
        = modelCenter != nullptr ? *modelCenter : UNotificationCenter::defaultCenter();
    center.post(UFemCardStringEditorShouldCloseNotification, &harness.model(),
        { { UFemCardStringEditorSenderKeyTableViewController,
            QVariant::fromValue(quintptr(controller)) } });
    EXPECT_TRUE(table->isEditingCell());
    // Another model's notice is not for this editor either.
    UFemDataController otherModel;
    center.post(UFemCardStringEditorShouldCloseNotification, &otherModel,
        { { UFemCardStringEditorSenderKeyGraphicViewController, 1 } });
    EXPECT_TRUE(table->isEditingCell());
    center.post(UFemCardStringEditorShouldCloseNotification, &harness.model(),
        { { UFemCardStringEditorSenderKeyGraphicViewController, 1 } });
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_EQ(cardString(n2Row), "Node , N2 ,  , 3 , 0 , 0 ,");
}

TEST_F(CardTableViewEdit, HiddenCardStringColumnUsesTheOptionalEditor)
{
    table->setCardStringColumnActive(false);
    UFemWindow& window = harness.window->ufemWindow();
    UErrorPtr error;
    ASSERT_TRUE(controller->selectSearchCardStringRange({ n2Row, 7, n2Row, 9 }, &error));
    EXPECT_FALSE(table->isEditingCell());
    ASSERT_TRUE(harness.window->isOptionalCardStringEditorValid());
    EXPECT_EQ(window.optionalCardStringEditorCardRowIndexTextFieldOutlet->text(), "4");
    EXPECT_EQ(window.optionalCardStringEditorTextFieldOutlet->selectedText(), "N2");
    EXPECT_EQ(controller->selectedSearchCardStringRange(&error),
        (_UFemSearchCardStringRange { n2Row, 7, n2Row, 9 }));

    // Esc leaves without applying.
    window.optionalCardStringEditorTextFieldOutlet->setText(
        QStringLiteral("Node , N2 ,  , 9 , 0 , 0 ,"));
    sendKey(window.optionalCardStringEditorTextFieldOutlet, Qt::Key_Escape);
    EXPECT_FALSE(harness.window->isOptionalCardStringEditorValid());
    EXPECT_EQ(cardString(n2Row), "Node , N2 ,  , 1.5 , 0 , 0 ,");

    ASSERT_TRUE(controller->selectSearchCardStringRange({ n2Row, 7, n2Row, 9 }, &error));
    window.optionalCardStringEditorTextFieldOutlet->setText(
        QStringLiteral("Node , N2 ,  , 4 , 0 , 0 ,"));
    quint64 row = UFemNotFound;
    EXPECT_EQ(controller->cardStringFieldEditor(&row, true, true, &error), nullptr);
    EXPECT_EQ(row, quint64(n2Row));
    EXPECT_FALSE(harness.window->isOptionalCardStringEditorValid());
    EXPECT_EQ(cardString(n2Row), "Node , N2 ,  , 4 , 0 , 0 ,");

    selectCards({ "N1", "N2" });
    harness.window->setOptionalCardStringEditorValid(true);
    EXPECT_EQ(controller->cardStringFieldEditor(&row, true, false, &error), nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(error->localizedDescription(),
        "Unexpected error occurred. Number of SelectedCard is not 1 when OptionalCardStringEditor "
        "Valid.");
}

// A row shows the head of a long line; the cell editor and the optional editor get the whole line,
// so Return on either unchanged leaves the card as it was.
TEST_F(CardTableViewEdit, HugeTokenReportRowShowsAnExcerptAndEditsTheWholeLine)
{
    const QString line
        = QStringLiteral("Node , N2 ,  , 1.5 , 0 , 0 ,    \\ ") + QString(40000, u'c');
    UErrorPtr error;
    ASSERT_TRUE(harness.model().modifyCardAtIndex(
        quint64(n2Row), line, UFemColumnSeparatingCharacterTypeComma, true, &error));
    harness.finishEventTurn();
    harness.document->undoManager().removeAllActions();
    EXPECT_EQ(cell(n2Row, UFemCardTableModel::CardStringColumn),
        line.left(UFemShownCardStringLength) + QStringLiteral("…"));

    const UFemCard* n2 = harness.windowCard(n2Row).get();
    QLineEdit* editor = editRow(n2Row);
    EXPECT_EQ(editor->text(), line);
    sendKey(editor, Qt::Key_Return);
    EXPECT_EQ(harness.windowCard(n2Row).get(), n2);
    EXPECT_EQ(cardString(n2Row), line);

    table->setCardStringColumnActive(false);
    ASSERT_TRUE(controller->selectSearchCardStringRange({ n2Row, 7, n2Row, 9 }, &error));
    QLineEdit* field = harness.window->ufemWindow().optionalCardStringEditorTextFieldOutlet;
    EXPECT_EQ(field->text(), line);
    sendKey(field, Qt::Key_Return);
    EXPECT_EQ(harness.windowCard(n2Row).get(), n2);
    EXPECT_EQ(cardString(n2Row), line);
    EXPECT_FALSE(harness.document->undoManager().canUndo());
}
