#include "ResultTableRodModel.h"

#include "tables/resulttable/UFemResultTablePane.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QSplitter>

namespace {

// Where the picture goes when the environment asks for it (looked at by hand under Xvfb).
const char* const grabDirectoryVariable = "VANTREL_GRAB_DIR";

} // namespace

// The pane beside the rod model: the name row and the label row take their fills, the bold
// block grid is drawn over them, and Max/Min rows have their own fill.
TEST_F(ResultTableRod, PictureShowsFillsAndBlockGrid)
{
    view.finish();
    UFemResultTablePane pane;
    auto* modelView = new QPlainTextEdit(window.model.modelTextOfAllCards());
    pane.setMainView(modelView);
    pane.setUFemWindowController(&window);
    UErrorPtr error;
    ASSERT_TRUE(pane.setResultTableViewCardValueExprListString(
        QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): VonMisesStress;\n"), &error));
    window.setCases({ "C1", "C2" });
    window.select({ "N2", "R1", "R2" });
    pane.resize(1000, 640);
    pane.mainViewSplitView()->setSizes({ 200, 440 });
    pane.show();
    UFemResultTableView& table = *pane.resultTableView();
    const QImage image = table.viewport()->grab().toImage();
    if (const QByteArray directory = qgetenv(grabDirectoryVariable); !directory.isEmpty())
        pane.grab().save(QDir(QString::fromLocal8Bit(directory)).filePath("resulttable.png"));

    const UFemResultTableColors& colors = table.colors();
    const auto pixelInRow = [&](int row, int column) {
        const QRect cell = table.visualRect(table.model()->index(row, column));
        return image.pixelColor(cell.right() - 6, cell.center().y());
    };
    EXPECT_EQ(pixelInRow(0, 2).rgb(), colors.cardNameRowColor.rgb());
    EXPECT_EQ(pixelInRow(1, 3).rgb(), colors.valueLabelRowColor.rgb());
    EXPECT_EQ(pixelInRow(4, 2).rgb(), colors.maxMinValueRowColor.rgb());
    // The bold line at the top of the label row, in the grid colour.
    const QRect label = table.visualRect(table.model()->index(1, 2));
    EXPECT_EQ(image.pixelColor(label.center().x(), label.top()).rgb(),
        table.palette().color(QPalette::Mid).rgb());
    // No fill and no grid in the spacer row.
    const QRect spacer = table.visualRect(table.model()->index(6, 2));
    EXPECT_EQ(image.pixelColor(spacer.center()).rgb(), table.palette().color(QPalette::Base).rgb());
    pane.finish();
}
