#include "WindowTestSupport.h"
#include "foundation/UFemNotFound.h"

#include "tables/resulttable/UFemMainViewWithResultTableController.h"
#include "tables/resulttable/UFemResultTablePane.h"
#include "tables/resulttable/UFemResultTableView.h"

#include <QSplitter>

#include <gtest/gtest.h>

namespace {

// The smallest card-showing main view: a blank widget beside the result table.
class BlankCardView : public UFemMainViewWithResultTableController {
public:
    explicit BlankCardView(UFemWindowController& window)
        : UFemMainViewWithResultTableController(window)
    {
        setMainView(blank_);
    }
    QWidget* mainView() const override { return blank_; }
    QWidget* mainViewBox() const override { return resultTablePane(); }
    quint64 cardRowIndexToAddCard(UErrorPtr*) override { return UFemNotFound; }
    _UFemSearchCardStringRange selectedSearchCardStringRange(UErrorPtr*) override { return {}; }
    bool selectSearchCardStringRange(const _UFemSearchCardStringRange&, UErrorPtr*) override
    {
        return true;
    }
    _UFemSearchCardStringRange replaceSelectedSearchCardStringRange(
        const QString&, bool* isReplaced, UErrorPtr*) override
    {
        *isReplaced = false;
        return {};
    }

private:
    QWidget* blank_ = new QWidget;
};

} // namespace

// The pane in a real document window follows the window's selection and current cases.
TEST(ResultTableWindow, FollowsTheWindowSelectionAndCases)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    BlankCardView view(*harness.window);
    UFemResultTableView& table = *view.resultTablePane()->resultTableView();
    ASSERT_TRUE(view.setResultTableViewCardValueExprListString(
        QStringLiteral("#(type:Elem): Length, SectionArea;"), nullptr));
    EXPECT_EQ(view.resultTableViewCardValueExprListString(), "#(type:Elem): Length, SectionArea;");
    EXPECT_EQ(table.errorString(), "Select cards.");

    // R1 is the model's one element.
    const UFemCardPtr rod = harness.model().elementCardArray().toVector().at(0);
    harness.window->setSelectedCardArray({ rod });
    ASSERT_EQ(table.resultTableModel().resultCardAndValueArray().size(), 1u);
    EXPECT_EQ(table.model()->index(0, 0).data().toString(), "R1 (Row:5)");
    EXPECT_EQ(table.resultTableModel().numberOfTableRowForCard(), 4u);
    EXPECT_EQ(table.model()->index(2, 0).data().toString(), "<NO CASE>");

    harness.window->selectAllCases();
    EXPECT_EQ(table.resultTableModel().numberOfTableRowForCard(), 7u);
    EXPECT_EQ(table.model()->index(2, 0).data().toString(), "Dead");
    EXPECT_EQ(table.model()->index(3, 0).data().toString(), "Live");

    harness.window->clearSelectedCardArray();
    EXPECT_EQ(table.errorString(), "Select cards.");

    // The actions reach the pane through the command chain's names.
    view.performCommand(CommandItem(QStringLiteral("changeResultTableViewSplitDirection:")));
    EXPECT_EQ(view.resultTablePane()->mainViewSplitView()->orientation(), Qt::Horizontal);
    view.finish();
}
