#include "GraphicViewTestSupport.h"

#include "tables/resulttable/UFemMainViewWithResultTableController.h"
#include "tables/resulttable/UFemResultTablePane.h"
#include "tables/resulttable/UFemResultTableView.h"

namespace {

constexpr quint64 liveCaseRow = 10;

UFemResultTableView& resultTableOf(const UFemWindowController& window)
{
    auto* controller
        = dynamic_cast<UFemMainViewWithResultTableController*>(window.mainViewController());
    return *controller->resultTablePane()->resultTableView();
}

} // namespace

// The 3-D view is made at the first switch, after the window chose its case and cards in the
// card view: its result table starts from them, as the card view's does, and follows them on.
TEST(GraphicViewResultCaseTest, TheFirstSwitchKeepsTheWindowsCaseAndCards)
{
    WindowHarness harness(
        UFemDocumentTypeModel, WindowModelText, &UFemGraphicViewController::makeMainViewController);
    UFemWindowController& window = *harness.window;
    ASSERT_EQ(window.viewType(), UFemViewTypeCard);
    const UFemCardPtr live = harness.model().cardAtCardRowIndex(liveCaseRow);
    ASSERT_EQ(live->cardNameString(), QStringLiteral("Live"));
    window.selectOneCase(live);
    const UFemCardPtr target = harness.windowCard(0);
    window.setSelectedCardArray({ target });
    const UFemCardVector cardViewCases = resultTableOf(window).caseCardArray();
    EXPECT_EQ(cardViewCases, UFemCardVector { live });

    window.setViewType(UFemViewTypeGraphic);
    ASSERT_NE(dynamic_cast<UFemGraphicViewController*>(window.mainViewController()), nullptr);
    UFemResultTableView& table = resultTableOf(window);
    EXPECT_EQ(table.caseCardArray(), cardViewCases);
    EXPECT_EQ(table.targetCardArray(), UFemCardVector { target });

    window.selectAllCases();
    EXPECT_EQ(table.caseCardArray().size(), 2U);
}
