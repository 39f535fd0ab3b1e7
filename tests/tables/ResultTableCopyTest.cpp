#include "ResultTableRodModel.h"

#include "NotifierRecorder.h"
#include "tables/resulttable/UFemResultTableTextWriter.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QMimeData>

namespace {

const QString tabMime = QStringLiteral("text/tab-separated-values");

} // namespace

class ResultTableCopy : public ResultTableRod {
protected:
    void SetUp() override
    {
        ResultTableRod::SetUp();
        show(QStringLiteral("#(type:Elem): Length, VonMisesStress;"), { "R1" }, { "C1", "C2" });
    }
    void selectRows(std::initializer_list<int> rows)
    {
        view.clearSelection();
        for (int row : rows)
            view.selectionModel()->select(view.model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    UFemNumberFormatter formatter = UFemNumberFormatter::defaultWritingFileNumberFormatter();
};

// Columns: Length, then the stress at the bar's two nodes.
TEST_F(ResultTableCopy, CommaFormPadsCellsAndEndsRowsWithSeparator)
{
    // Selected out of order: copied in row order. Row 6 is the spacer.
    selectRows({ 6, 2, 0, 1, 4 });
    view.copyRows(UFemColumnSeparatingCharacterTypeComma);
    ASSERT_EQ(formatter.stringLength(), 18u);
    const QString expected = QStringLiteral("R1 (Row:5)\n"
                                            "                                 , Length             "
                                            ", VonMisesStress (1) , VonMisesStress (2) , \n"
                                            "C1                               , +2.00000000000E+00 "
                                            ", +2.00000000000E+00 , +2.00000000000E+00 , \n"
                                            "Max                              , +2.00000000000E+00 "
                                            ", +4.00000000000E+00 , +4.00000000000E+00 , \n"
                                            "\n");
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasFormat(tabMime));
    // Copying drops the values; the next look evaluates them again.
    EXPECT_FALSE(model().resultCardAndValueArray()[0].cardTableValueArray.has_value());
}

TEST_F(ResultTableCopy, TabFormJoinsCellsWithoutPadding)
{
    selectRows({ 0, 1, 3, 5, 6 });
    CommandItem sender(QStringLiteral("copyAsTabSeparatedText:"));
    ASSERT_TRUE(view.validateCommand(sender));
    view.performCommand(sender);
    const QString expected
        = QStringLiteral("R1 (Row:5)\n"
                         "\tLength\tVonMisesStress (1)\tVonMisesStress (2)\n"
                         "C2\t+2.00000000000E+00\t+4.00000000000E+00\t+4.00000000000E+00\n"
                         "Min\t+2.00000000000E+00\t+2.00000000000E+00\t+2.00000000000E+00\n"
                         "\n");
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
    EXPECT_EQ(QString::fromUtf8(QApplication::clipboard()->mimeData()->data(tabMime)), expected);
}

TEST_F(ResultTableCopy, ErrorsAndDashesAreCopiedAsText)
{
    window.select({ "R2" });
    selectRows({ 3, 4 });
    view.copyRows(UFemColumnSeparatingCharacterTypeTab);
    const QString text = QApplication::clipboard()->text();
    const QStringList lines = text.split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    const QStringList c2 = lines[0].split(u'\t');
    ASSERT_EQ(c2.size(), 4);
    EXPECT_EQ(c2[1], QStringLiteral("+2.00000000000E+00"));
    EXPECT_FALSE(c2[2].isEmpty());
    EXPECT_EQ(c2[2], c2[3]);
    // Length needs no results and keeps its maximum.
    EXPECT_EQ(lines[1], QStringLiteral("Max\t+2.00000000000E+00\t---\t---"));
}

TEST_F(ResultTableCopy, WithoutSelectionCopyIsRefusedAndBeeps)
{
    NotifierRecorder beeps;
    view.clearSelection();
    CommandItem copy(QStringLiteral("copy:"));
    EXPECT_FALSE(view.validateCommand(copy));
    view.copyRows(UFemColumnSeparatingCharacterTypeComma);
    EXPECT_EQ(beeps.sounds, QStringList { QString() });
    CommandItem undo(QStringLiteral("undo:"));
    EXPECT_FALSE(view.validateCommand(undo));
    EXPECT_EQ(undo.title(), "Undo");
    CommandItem find(QStringLiteral("findNext:"));
    EXPECT_FALSE(view.validateCommand(find));
    view.performCommand(find);
    EXPECT_EQ(beeps.sounds.size(), 2);
    CommandItem selectAll(QStringLiteral("selectAll:"));
    EXPECT_TRUE(view.validateCommand(selectAll));
}

TEST(ResultTableTextWriter, WholeBlockInCommaForm)
{
    ResultTableTestWindow window(rodModelText);
    UFemCardValueExprList list;
    ASSERT_TRUE(list.setCardValueExprListString(QStringLiteral("#(type:Elem): Length;"), nullptr));
    const UFemNumberFormatter formatter = UFemNumberFormatter::defaultWritingFileNumberFormatter();
    QString text;
    ASSERT_TRUE(UFemResultTableTextWriter::writeResultTableValueToResultTextString(
        text, list, *window.card("R1"), {}, formatter));
    const auto width = qsizetype(formatter.stringLength());
    EXPECT_EQ(text,
        QStringLiteral("R1 (Row:5)\n") + QString(32, u' ') + " , "
            + QStringLiteral("Length").leftJustified(width) + " , \n"
            + QStringLiteral("<NO CASE>").leftJustified(32) + " , "
            + formatter.stringWithValue(rodL).leftJustified(width) + " , \n");
    // A card the list has nothing for writes nothing.
    QString none;
    EXPECT_FALSE(UFemResultTableTextWriter::writeResultTableValueToResultTextString(
        none, list, *window.card("N1"), {}, formatter));
    EXPECT_TRUE(none.isEmpty());
}
