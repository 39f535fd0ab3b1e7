#include "CardTableViewTestSupport.h"

#include "cardmodel/card/UFemCardTextColumns.h"
#include "tables/UFemCardTableCellDelegate.h"
#include "tables/UFemCardTableStyle.h"
#include "tables/UFemTableViewPreferences.h"

#include <QHeaderView>
#include <QImage>

#include <cmath>

namespace {

using Column = UFemCardTableModel::Column;

QStringList styleKeysOf(const UFemCardTableModel& model, int row, int column)
{
    QStringList keys;
    const auto text = model.data(model.index(row, column), UFemCardTableModel::AttributedStringRole)
                          .value<UAttributedString>();
    for (const UAttributedString::Run& run : text.runs)
        keys.append(run.styleKey);
    return keys;
}

// Pixels of a cell that are mostly of one hue.
int pixelsLike(const QImage& image, const QRect& rect, bool (*isLike)(const QColor&))
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += isLike(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool isRed(const QColor& color)
{
    return color.red() > 180 && color.green() < 90 && color.blue() < 90;
}

bool isGreen(const QColor& color)
{
    return color.green() > 70 && color.red() < 60 && color.blue() < 60;
}

} // namespace

class CardTableViewDisplay : public CardTableViewFixture { };

TEST_F(CardTableViewDisplay, RowsPerCardThenEndRowInTheFirstShownColumn)
{
    ASSERT_EQ(model->rowCount(), 9);
    EXPECT_EQ(cell(0, Column::CardRowIndexColumn), "1");
    EXPECT_EQ(cell(7, Column::CardRowIndexColumn), "8");
    EXPECT_EQ(cell(3, Column::CardStringColumn), "Node , N2 ,  , 1.5 , 0 , 0 ,");
    EXPECT_EQ(cell(8, Column::CardRowIndexColumn), "<end>");
    EXPECT_EQ(cell(8, Column::CardStringColumn), "");
    EXPECT_FALSE(model->flags(model->index(8, 0)).testFlag(Qt::ItemIsSelectable));
    EXPECT_EQ(
        model->data(model->index(8, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
    EXPECT_EQ(model->data(model->index(0, 0), Qt::ForegroundRole).value<QColor>(),
        UFemCardTableStyle::rowIndexColor());
    EXPECT_EQ(model->data(model->index(0, 0), Qt::TextAlignmentRole).toInt(),
        int(Qt::AlignRight | Qt::AlignVCenter));

    table->setCardRowIndexColumnActive(false);
    EXPECT_EQ(cell(8, Column::CardRowIndexColumn), "");
    EXPECT_EQ(cell(8, Column::CardStringColumn), "<end>");
    // Painted by the stock delegate in gray, not as card text.
    EXPECT_FALSE(model
                     ->data(model->index(8, Column::CardStringColumn),
                         UFemCardTableModel::AttributedStringRole)
                     .isValid());
    EXPECT_EQ(
        model->data(model->index(8, Column::CardStringColumn), Qt::ForegroundRole).value<QColor>(),
        QColor(Qt::gray));
}

TEST_F(CardTableViewDisplay, NameAndErrorCellsByCardKind)
{
    table->setCardNameStringColumnActive(true);
    EXPECT_EQ(cell(2, Column::CardNameStringColumn), "N1");
    EXPECT_EQ(cell(4, Column::CardNameStringColumn), "members");
    EXPECT_EQ(styleKeysOf(*model, 4, Column::CardNameStringColumn),
        QStringList { UFemCardStringAttributesKeyForComment });
    EXPECT_EQ(cell(6, Column::CardNameStringColumn), "** ERROR **");
    EXPECT_EQ(styleKeysOf(*model, 6, Column::CardNameStringColumn),
        QStringList { UFemCardStringAttributesKeyForError });

    // With the error column hidden the card string carries the error tail; shown, the error
    // column holds it alone.
    const QString withTail = cell(6, Column::CardStringColumn);
    table->setErrorStringColumnActive(true);
    const QString withoutTail = cell(6, Column::CardStringColumn);
    const QString error = cell(6, Column::ErrorStringColumn);
    EXPECT_TRUE(withoutTail.startsWith("Bogus , X1 , 1"));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_GT(withTail.size(), withoutTail.size());
    EXPECT_TRUE(withTail.contains(error));
    EXPECT_EQ(styleKeysOf(*model, 6, Column::ErrorStringColumn),
        QStringList { UFemCardStringAttributesKeyForError });
    // The rod refers to nothing missing and the node reads: no error text.
    EXPECT_EQ(cell(3, Column::ErrorStringColumn), "");
    // The case names a restraint set and a force set that do not exist: an error to run.
    EXPECT_FALSE(cell(7, Column::ErrorStringColumn).isEmpty());
    // The comment of a card is its own run.
    EXPECT_EQ(styleKeysOf(*model, 2, Column::CardStringColumn).last(),
        UFemCardStringAttributesKeyForComment);
}

TEST_F(CardTableViewDisplay, CardTextIsPaintedInTheColoursOfItsRuns)
{
    const QImage image = table->viewport()->grab().toImage();
    const auto cellRect
        = [&](int row) { return table->visualRect(model->index(row, Column::CardStringColumn)); };
    EXPECT_GT(pixelsLike(image, cellRect(6), isRed), 10);
    EXPECT_EQ(pixelsLike(image, cellRect(3), isRed), 0);
    EXPECT_GT(pixelsLike(image, cellRect(4), isGreen), 10);
    EXPECT_GT(pixelsLike(image, cellRect(2), isGreen), 10);
    EXPECT_EQ(pixelsLike(image, cellRect(3), isGreen), 0);
}

TEST_F(CardTableViewDisplay, NarrowCellEndsInAnEllipsis)
{
    const QFontMetrics metrics(table->font());
    const QString text = cell(2, Column::CardStringColumn);
    const int width
        = metrics.horizontalAdvance(text.left(10)) + metrics.horizontalAdvance(QChar(0x2026));
    const qsizetype visible
        = UFemCardTableCellDelegate::visibleLengthOfElidedText(metrics, text, width);
    EXPECT_GE(visible, 9);
    EXPECT_LE(visible, 10);
    EXPECT_EQ(
        UFemCardTableCellDelegate::visibleLengthOfElidedText(metrics, text, 10000), text.size());
}

TEST_F(CardTableViewDisplay, ColumnsComeBackInPlaceAndShareTheWidth)
{
    QHeaderView& header = *table->horizontalHeader();
    table->setCardRowIndexColumnActive(false);
    table->setCardNameStringColumnActive(true);
    table->setColumnWidth(Column::CardNameStringColumn, 200);
    table->setCardRowIndexColumnActive(true);
    EXPECT_EQ(header.visualIndex(Column::CardRowIndexColumn), 0);
    EXPECT_EQ(table->columnWidth(Column::CardRowIndexColumn), 50);
    EXPECT_EQ(table->columnWidth(Column::CardNameStringColumn), 200);

    table->setCardNameStringColumnActive(false);
    const int available = table->viewport()->width() - 50;
    EXPECT_EQ(table->columnWidth(Column::CardStringColumn), available);
    table->setErrorStringColumnActive(true);
    const int cardWidth = int(std::ceil(available * 0.55));
    EXPECT_EQ(table->columnWidth(Column::CardStringColumn), cardWidth);
    EXPECT_EQ(table->columnWidth(Column::ErrorStringColumn), available - cardWidth);
    // Widths stay within each column's bounds.
    table->setColumnWidth(Column::CardRowIndexColumn, 500);
    EXPECT_EQ(table->columnWidth(Column::CardRowIndexColumn), 60);
}
