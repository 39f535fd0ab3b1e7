#include "CardTableViewTestSupport.h"

#include "cardmodel/card/UFemCardString.h"

#include <QLineEdit>

class CardTableViewFind : public CardTableViewFixture {
protected:
    static constexpr quint64 n2Row = 3;
    static constexpr quint64 bogusRow = 6;
    static constexpr quint64 all = UFemRangeNotFound;
};

TEST_F(CardTableViewFind, RangesSelectCharactersInTheEditorOrWholeRows)
{
    UErrorPtr error;
    ASSERT_TRUE(controller->selectSearchCardStringRange({ n2Row, 7, n2Row, 9 }, &error));
    ASSERT_TRUE(table->isEditingCell());
    EXPECT_EQ(controller->cellEditor()->selectedText(), "N2");
    EXPECT_EQ(selectedRows(), (QList<int> { int(n2Row) }));
    EXPECT_EQ(controller->selectedSearchCardStringRange(&error),
        (_UFemSearchCardStringRange { n2Row, 7, n2Row, 9 }));

    EXPECT_FALSE(controller->selectSearchCardStringRange({ 2, 0, 3, 4 }, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->localizedDescription(),
        "Unexpected error occurred. Multi-Row String Range selection. ( Not supported. )");
    error.reset();

    ASSERT_TRUE(controller->selectSearchCardStringRange({ 2, all, 4, all }, &error));
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_EQ(selectedRows(), (QList<int> { 2, 3, 4 }));
    EXPECT_EQ(controller->selectedSearchCardStringRange(&error),
        (_UFemSearchCardStringRange { 2, all, 4, all }));

    ASSERT_TRUE(controller->deselectSearchCardStringRange(&error));
    EXPECT_TRUE(selectedRows().isEmpty());
    EXPECT_TRUE(controller->selectedSearchCardStringRange(&error).isNotFound());
}

TEST_F(CardTableViewFind, ReplaceAppliesAndReturnsTheReplacedRange)
{
    UErrorPtr error;
    bool isReplaced = true;
    EXPECT_TRUE(
        controller->replaceSelectedSearchCardStringRange("x", &isReplaced, &error).isNotFound());
    EXPECT_FALSE(isReplaced);

    ASSERT_TRUE(controller->selectSearchCardStringRange({ n2Row, 15, n2Row, 18 }, &error));
    ASSERT_EQ(controller->cellEditor()->selectedText(), "1.5");
    const _UFemSearchCardStringRange replaced
        = controller->replaceSelectedSearchCardStringRange("12.75", &isReplaced, &error);
    EXPECT_EQ(error, nullptr);
    EXPECT_TRUE(isReplaced);
    EXPECT_EQ(replaced, (_UFemSearchCardStringRange { n2Row, 15, n2Row, 20 }));
    EXPECT_EQ(UFemCardString(*harness.windowCard(n2Row)), "Node , N2 ,  , 12.75 , 0 , 0 ,");
    EXPECT_EQ(controller->cellEditor()->selectedText(), "12.75");
}

// A search counting the error tail may pass the end of the text the editor shows.
TEST_F(CardTableViewFind, OffsetsPastTheEditorTextEndAtIt)
{
    table->setErrorStringColumnActive(true);
    const QString text
        = model->data(model->index(int(bogusRow), UFemCardTableModel::CardStringColumn)).toString();
    ASSERT_LT(text.size(), UFemCardString(*harness.windowCard(bogusRow)).size());
    UErrorPtr error;
    ASSERT_TRUE(controller->selectSearchCardStringRange(
        { bogusRow, quint64(text.size()) - 2, bogusRow, quint64(text.size()) + 40 }, &error));
    EXPECT_EQ(controller->cellEditor()->text(), text);
    EXPECT_EQ(controller->cellEditor()->selectedText(), text.right(2));
    ASSERT_TRUE(controller->selectSearchCardStringRange(
        { bogusRow, quint64(text.size()) + 9, bogusRow, all }, &error));
    EXPECT_EQ(controller->selectedSearchCardStringRange(&error),
        (_UFemSearchCardStringRange {
            bogusRow, quint64(text.size()), bogusRow, quint64(text.size()) }));
}

TEST_F(CardTableViewFind, DoubleClickSelectsTheWholeCardStringOrNothing)
{
    const QRect n2 = table->visualRect(model->index(int(n2Row), 0));
    QMouseEvent click(QEvent::MouseButtonDblClick, n2.center(),
        table->viewport()->mapToGlobal(n2.center()), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(table->viewport(), &click);
    ASSERT_TRUE(table->isEditingCell());
    EXPECT_EQ(controller->cellEditor()->selectedText(), UFemCardString(*harness.windowCard(n2Row)));

    const QRect end = table->visualRect(model->index(int(model->endRow()), 0));
    QMouseEvent endClick(QEvent::MouseButtonDblClick, end.center(),
        table->viewport()->mapToGlobal(end.center()), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(table->viewport(), &endClick);
    EXPECT_FALSE(table->isEditingCell());
    EXPECT_TRUE(selectedRows().isEmpty());
}
