#include "ResultTableRodModel.h"

#include "tables/resulttable/UFemResultTablePane.h"
#include "tables/resulttable/UFemResultTableSettingPanel.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSplitter>

namespace {

const QString nodeDisplacementList = QStringLiteral("#(type:Node): Displacement;");

} // namespace

// The rod model without results, so that it can be edited.
class ResultTableUnsolved : public ::testing::Test {
protected:
    void SetUp() override { view.setUFemWindowController(&window); }
    void TearDown() override { view.finish(); }
    void showR1(const QString& list)
    {
        ASSERT_TRUE(view.setCardValueExprListString(list, nullptr));
        window.select({ "R1" });
    }

    ResultTableTestWindow window { rodModelText };
    UFemResultTableView view;
    UFemResultTableModel& model = view.resultTableModel();
};

TEST_F(ResultTableUnsolved, EachMessageStateShowsItsTextAndStaysMarkedForUpdate)
{
    EXPECT_EQ(view.viewCenterMessageString(), "No Card Value Expression.");
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 1);

    ASSERT_TRUE(view.setCardValueExprListString(QStringLiteral("#(type:Elem): Length;"), nullptr));
    EXPECT_EQ(view.viewCenterMessageString(), "");
    EXPECT_EQ(view.errorString(), "Select cards.");
    EXPECT_TRUE(model.needsUpdateTableContents());

    window.select({ "N1", "N2" });
    EXPECT_EQ(view.errorString(), "No card for Value. ( No card matched with Card Filter. )");
    EXPECT_EQ(model.columnCount(), 1);

    window.select({ "N1", "R1" });
    EXPECT_EQ(view.errorString(), "");
    EXPECT_FALSE(model.needsUpdateTableContents());
    EXPECT_EQ(model.resultCardAndValueArray().size(), 1u);
    EXPECT_EQ(model.columnCount(), 2);

    // A list that does not parse is refused with its error and shows no expression.
    UErrorPtr error;
    EXPECT_FALSE(view.setCardValueExprListString(QStringLiteral("#(type:Elem: Length;"), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(view.cardValueExprListString(), "#(type:Elem: Length;");
    EXPECT_EQ(view.viewCenterMessageString(), "No Card Value Expression.");
}

TEST_F(ResultTableUnsolved, EditedCardsShowNewValuesAndArraysAreBuiltLazily)
{
    showR1(QStringLiteral("#(type:Elem): Length, YoungsModulus;"));
    EXPECT_EQ(model.valueArrayBuildCount(), 0u);
    const auto cell = [&](int column) { return model.index(2, column).data().toString(); };
    const QString oldLength = cell(1);
    EXPECT_EQ(model.valueArrayBuildCount(), 1u);
    cell(2);
    model.index(1, 1).data();
    EXPECT_EQ(model.valueArrayBuildCount(), 1u);

    // Moving N2 and stiffening the material while R1 is shown.
    UErrorPtr error;
    ASSERT_TRUE(window.model.modifyCardAtIndex(3, QStringLiteral("Node , N2 ,  , 4 , 0 , 0 ,"),
        UFemColumnSeparatingCharacterTypeComma, false, &error));
    ASSERT_TRUE(window.model.modifyCardAtIndex(0, QStringLiteral("Material , Steel , 300 , 0.3 ,"),
        UFemColumnSeparatingCharacterTypeComma, false, &error));
    EXPECT_NE(cell(1), oldLength);
    const auto& array = model.resultCardAndValueArray().at(0).cardTableValueArray;
    ASSERT_TRUE(array.has_value());
    EXPECT_DOUBLE_EQ(std::get<double>(array->row(2)[1]), 4.0);
    EXPECT_DOUBLE_EQ(std::get<double>(array->row(2)[2]), 300.0);
}

TEST_F(ResultTableUnsolved, OptionResizeTakesEveryValueColumnAlong)
{
    showR1(QStringLiteral("#(type:Elem): Length;"));
    QHeaderView* header = view.horizontalHeader();
    EXPECT_EQ(view.columnWidth(0), 200);
    EXPECT_EQ(view.columnWidth(1), 120);

    ASSERT_TRUE(view.setCardValueExprListString(
        QStringLiteral("#(type:Elem): Length, YoungsModulus, SectionArea;"), nullptr));
    ASSERT_EQ(view.model()->columnCount(), 4);
    // A plain resize changes one column, inside its limits.
    header->resizeSection(2, 500);
    EXPECT_EQ(view.columnWidth(2), 200);
    EXPECT_EQ(view.columnWidth(1), 120);
    header->resizeSection(0, 20);
    EXPECT_EQ(view.columnWidth(0), 100);

    view.tableViewColumnDidResize(3, 90, Qt::AltModifier);
    EXPECT_EQ(view.defaultValueColumnWidth(), 90.0);
    for (int column = 1; column < 4; ++column)
        EXPECT_EQ(view.columnWidth(column), 90) << column;
    EXPECT_EQ(view.columnWidth(0), 100);

    // Columns that come later take the new width; those that stay keep theirs.
    ASSERT_TRUE(view.setCardValueExprListString(QStringLiteral("#(type:Elem): Length;"), nullptr));
    ASSERT_TRUE(view.setCardValueExprListString(
        QStringLiteral("#(type:Elem): Length, YoungsModulus, SectionArea, PoissonsRatio;"),
        nullptr));
    ASSERT_EQ(view.model()->columnCount(), 5);
    for (int column = 1; column < 5; ++column)
        EXPECT_EQ(view.columnWidth(column), 90) << column;
}

TEST_F(ResultTableUnsolved, EscapeWithoutModifiersDeselectsAll)
{
    showR1(QStringLiteral("#(type:Elem): Length;"));
    view.selectAll();
    const auto press = [&](Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_Escape, modifiers);
        QApplication::sendEvent(&view, &event);
    };
    press(Qt::ShiftModifier);
    EXPECT_TRUE(view.selectionModel()->hasSelection());
    press(Qt::NoModifier);
    EXPECT_FALSE(view.selectionModel()->hasSelection());
}

class ResultTablePane : public ::testing::Test {
protected:
    void SetUp() override { pane.setUFemWindowController(&window); }
    void TearDown() override { pane.finish(); }
    UFemResultTableSettingPanel* openSheet()
    {
        pane.displayResultTableViewSettingPanel();
        return pane.resultTableViewSettingPanel();
    }
    QWidget* shownSheet() { return window.presenter.currentSheet(&window.window); }

    ResultTableTestWindow window { rodModelText };
    UFemResultTablePane pane;
};

TEST_F(ResultTablePane, SheetOffClearsTheListEvenWithTypedText)
{
    UFemResultTableSettingPanel* sheet = openSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(shownSheet(), sheet);
    EXPECT_EQ(sheet->resultTableViewActiveState_settingPanel(), 0);
    EXPECT_EQ(sheet->resultTableViewCardValueExprListString_settingPanel(), "");
    sheet->setResultTableViewCardValueExprListString_settingPanel(nodeDisplacementList);
    pane.resultTableViewSettingPanelButtonPushed(UFemResultTableSettingPanel::okButtonTag);
    EXPECT_EQ(shownSheet(), nullptr);
    EXPECT_EQ(pane.resultTableViewCardValueExprListString(), "");

    ASSERT_TRUE(pane.setResultTableViewCardValueExprListString(nodeDisplacementList, nullptr));
    sheet = openSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->resultTableViewActiveState_settingPanel(), 1);
    EXPECT_EQ(sheet->resultTableViewCardValueExprListString_settingPanel(), nodeDisplacementList);
    sheet->setResultTableViewActiveState_settingPanel(0);
    pane.resultTableViewSettingPanelButtonPushed(UFemResultTableSettingPanel::okButtonTag);
    EXPECT_EQ(pane.resultTableViewCardValueExprListString(), "");
    EXPECT_EQ(pane.resultTableView()->viewCenterMessageString(), "No Card Value Expression.");
}

TEST_F(ResultTablePane, ASyntaxErrorKeepsTheSheetOpenAfterTheAlert)
{
    ASSERT_TRUE(pane.setResultTableViewCardValueExprListString(nodeDisplacementList, nullptr));
    UFemResultTableSettingPanel* sheet = openSheet();
    ASSERT_TRUE(sheet);
    sheet->setResultTableViewCardValueExprListString_settingPanel(
        QStringLiteral("#(type:Node: Displacement;"));
    pane.resultTableViewSettingPanelButtonPushed(UFemResultTableSettingPanel::okButtonTag);
    ASSERT_EQ(window.presenter.alerts.size(), 1u);
    EXPECT_FALSE(window.presenter.alerts[0].messageText.isEmpty());
    EXPECT_EQ(shownSheet(), sheet);
    // Cancel ends the sheet and keeps nothing typed.
    sheet->setResultTableViewCardValueExprListString_settingPanel(
        QStringLiteral("#(type:Elem): Length;"));
    pane.resultTableViewSettingPanelButtonPushed(UFemResultTableSettingPanel::cancelButtonTag);
    EXPECT_EQ(shownSheet(), nullptr);
    EXPECT_EQ(pane.resultTableViewCardValueExprListString(), "#(type:Node: Displacement;");
}

TEST_F(ResultTablePane, SplitDirectionTogglesAndTheMainPaneKeepsItsMinimum)
{
    QSplitter* split = pane.mainViewSplitView();
    EXPECT_EQ(split->orientation(), Qt::Vertical);
    EXPECT_EQ(split->widget(0)->minimumHeight(), 100);
    pane.changeResultTableViewSplitDirection();
    EXPECT_EQ(split->orientation(), Qt::Horizontal);
    EXPECT_EQ(split->widget(0)->minimumWidth(), 100);
    pane.resize(600, 400);
    pane.show();
    split->setSizes({ 10, 590 });
    EXPECT_GE(split->sizes()[0], 100);
}
