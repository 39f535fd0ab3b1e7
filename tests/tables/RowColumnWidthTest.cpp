#include "CardTableViewTestSupport.h"

#include "foundation/UFemNotFound.h"

#include <QFontDatabase>
#include <QFontMetrics>

// Room for the cell's text margins on both sides of a row number.
constexpr int CellTextMargins = 2 * 3;

TEST(RowColumnWidth, theLargestRowNumberOfAnyModelShowsWhole)
{
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EXPECT_EQ(UFemCardTableView::rowIndexColumnWidthForCardCount(12, metrics),
        UFemCardTableView::rowIndexWidths.initial);
    for (const quint64 cardCount : { 99999ull, 1000000ull, 1234567ull, 123456789ull }) {
        SCOPED_TRACE(cardCount);
        const int width = UFemCardTableView::rowIndexColumnWidthForCardCount(cardCount, metrics);
        EXPECT_GE(width, metrics.horizontalAdvance(QString::number(cardCount)) + CellTextMargins);
    }
}

class RowColumnWidthInTable : public CardTableViewFixture { };

TEST_F(RowColumnWidthInTable, growsWhenTheCardsOutgrowIt)
{
    QFont large = table->font();
    large.setPixelSize(40);
    table->setFont(large);
    const int before = table->columnWidth(UFemCardTableModel::CardRowIndexColumn);
    ASSERT_LT(
        before, table->fontMetrics().horizontalAdvance(QStringLiteral("10")) + CellTextMargins);

    UErrorPtr error;
    ASSERT_EQ(harness.model().addCardsWithModelText(
                  QStringLiteral("\n\n\n\n"), UFemNotFound, true, &error),
        4u);
    harness.finishEventTurn();
    const QString largest = QString::number(model->cardCount());
    ASSERT_EQ(largest.size(), 2);
    const int grown = table->columnWidth(UFemCardTableModel::CardRowIndexColumn);
    EXPECT_GE(grown, table->fontMetrics().horizontalAdvance(largest) + CellTextMargins);
}
