#include "CardTableViewTestSupport.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "cards/Node.h"
#include "cards/loads/Case.h"
#include "tables/UFemTableViewPreferences.h"
#include "tables/resulttable/UFemResultTablePane.h"
#include "tables/resulttable/UFemResultTableView.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QSplitter>

namespace {

// Where the picture goes when the environment asks for it (looked at by hand under Xvfb).
const char* const grabDirectoryVariable = "VANTREL_GRAB_DIR";

// Twenty lines: a braced frame of rods, its supports and load, a comment line and one line that
// does not read.
const QString pictureModelText
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "RodProp , RP , Steel , 0.5 ,\n"
                     "\\ nodes of the frame\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,\n"
                     "Node , N2 ,  , 1 , 0 , 0 ,\n"
                     "Node , N3 ,  , 2 , 0 , 0 ,\n"
                     "Node , N4 ,  , 0 , 1 , 0 , \\ top left\n"
                     "Node , N5 ,  , 1 , 1 , 0 ,\n"
                     "Node , N6 ,  , 2 , 1 , 0 ,\n"
                     "Rod , R1 , RP , N1 , N2 ,\n"
                     "Rod , R2 , RP , N2 , N3 ,\n"
                     "Rod , R3 , RP , N4 , N5 ,\n"
                     "Rod , R4 , RP , N5 , N6 ,\n"
                     "Rod , R5 , RP , N2 , N5 ,\n"
                     "Rodd , R6 , RP , N3 , N6 ,\n"
                     "FixNode , F1 , N1 , YES , YES , YES , NO , NO , NO ,\n"
                     "RestraintSet , RS1 , F1 ,\n"
                     "Force , L1 , N6 ,  , 0 , -10 , 0 , 0 , 0 , 0 ,\n"
                     "ForceSet , FS1 , 1 , L1 ,\n"
                     "Case , Dead , LINEAR_STATIC , RS1 , FS1 ,\n");

// Results as a calculation would attach them: every node moves down in proportion to x.
void attachResults(UFemDataController& model)
{
    const auto results
        = UFemResultDataManagerImpl::createWithDataController(model, [](const UFemCard& caseCard) {
              return dynamic_cast<const Case&>(caseCard).restraintCardName();
          });
    const QStringList nodes = results->nodeCardNameStringArray();
    std::vector<_UFemNode3DOFState> states(2 * quint64(nodes.size()));
    std::vector<quint64> combNodeNos;
    std::vector<double> values;
    for (quint64 node = 0; node < quint64(nodes.size()); ++node) {
        states[2 * node].setInteger(UFemNode3DOFStateAllValid);
        combNodeNos.push_back(2 * node);
        values.insert(values.end(), { 0.0, -1.0e-3 * double(node), 0.0 });
    }
    UErrorPtr error;
    ASSERT_TRUE(results->addResultDataWithNodeDOFStateTable(
        states.data(), values.data(), combNodeNos.data(), combNodeNos.size(), { 0 }, &error));
    EXPECT_TRUE(results->finalizeAddResultData(nullptr));
    ASSERT_TRUE(model.setResultDataManager(results, true, &error));
    for (const UFemCardPtr& card : model.nodeCardArray().toVector()) {
        auto& node = dynamic_cast<Node&>(*card);
        node.setNodeNo(quint64(nodes.indexOf(*node.cardNameString())));
    }
    dynamic_cast<Case&>(*model.caseCardArray().objectAtIndex(0)).setCaseNo(0);
}

bool isRed(const QColor& color)
{
    return color.red() > 180 && color.green() < 90 && color.blue() < 90;
}

} // namespace

class CardTableViewPicture : public CardTableViewFixture {
protected:
    CardTableViewPicture()
        : CardTableViewFixture(pictureModelText)
    {
    }
};

// The card view with its result table below: the line that does not read shows red in its row,
// and the selected cards' values fill the result table.
TEST_F(CardTableViewPicture, TwentyCardsWithAnErrorAndResultsBelow)
{
    ASSERT_EQ(model->rowCount(), 21);
    attachResults(harness.model());
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(
        UFemTableViewPreferences::tableViewPreferences(true, true, true, true, true,
            QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): Length;\n")),
        &error));
    harness.window->selectAllCases();
    selectCards({ "N5", "N6", "R4" });
    harness.window->window()->resize(1000, 760);
    controller->resultTablePane()->mainViewSplitView()->setSizes({ 470, 260 });
    harness.finishEventTurn();

    QWidget& box = *controller->mainViewBox();
    const QImage tableImage = table->viewport()->grab().toImage();
    if (const QByteArray directory = qgetenv(grabDirectoryVariable); !directory.isEmpty())
        box.grab().save(QDir(QString::fromLocal8Bit(directory)).filePath("cardtable.png"));

    const QRect errorRow
        = table->visualRect(model->index(14, UFemCardTableModel::CardStringColumn));
    int red = 0;
    for (int x = errorRow.left(); x <= errorRow.right(); ++x)
        red += isRed(tableImage.pixelColor(x, errorRow.center().y())) ? 1 : 0;
    EXPECT_GT(red, 0);
    EXPECT_EQ(selectedRows(), (QList<int> { 7, 8, 12 }));
    UFemResultTableView& results = *controller->resultTablePane()->resultTableView();
    EXPECT_GT(results.model()->rowCount(), 0);
}

// Two rods dragged above the nodes, then a node's coordinate found and shown in the cell editor:
// the editor lies over its cell and shows its selection.
TEST_F(CardTableViewPicture, CellEditedBesideMovedCards)
{
    const std::unique_ptr<QMimeData> rods = controller->mimeDataForRows({ 9, 10 });
    ASSERT_TRUE(controller->acceptDrop(*rods, 3, false, Qt::MoveAction));
    harness.finishEventTurn();
    EXPECT_EQ(cell(3, UFemCardTableModel::CardNameStringColumn), "R1");
    EXPECT_EQ(cell(4, UFemCardTableModel::CardNameStringColumn), "R2");
    UErrorPtr error;
    ASSERT_TRUE(controller->setViewPreferences(
        UFemTableViewPreferences::tableViewPreferences(true, true, true, true, false, QString()),
        &error));
    ASSERT_TRUE(controller->selectSearchCardStringRange({ 9, 15, 9, 16 }, &error));
    harness.window->window()->resize(900, 560);
    harness.finishEventTurn();

    QLineEdit& editor = *controller->cellEditor();
    const QRect cellRect = table->visualRect(model->index(9, UFemCardTableModel::CardStringColumn));
    EXPECT_EQ(editor.geometry(), cellRect);
    EXPECT_EQ(editor.selectedText(), "1");
    if (const QByteArray directory = qgetenv(grabDirectoryVariable); !directory.isEmpty())
        harness.window->window()->grab().save(
            QDir(QString::fromLocal8Bit(directory)).filePath("cardtable-editing.png"));
    const QImage image = editor.grab().toImage();
    const QColor highlight = editor.palette().color(QPalette::Highlight);
    int highlighted = 0;
    for (int x = 0; x < image.width(); ++x)
        highlighted += image.pixelColor(x, image.height() / 2) == highlight ? 1 : 0;
    EXPECT_GT(highlighted, 0);
}
