#include "WindowTestSupport.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/application/UFemMainMenuWindow.h"
#include "documents/toolbar/UFemCasePopup.h"
#include "documents/toolbar/UFemViewSettingPopup.h"
#include "documents/toolbar/UFemWindowToolbar.h"

#include <gtest/gtest.h>

// What the main menu reads of a document window: the toolbar's state and menus.
TEST(ApplicationDelegateTest, WindowReportsTheCaseMenuTagOfItsCaseSelectMode)
{
    WindowHarness harness(UFemDocumentTypeModel, WindowModelText);
    UFemWindowController& window = *harness.window;
    const UFemMainMenuWindow& menuWindow = window;
    EXPECT_EQ(menuWindow.viewTypeMenuTag(), 1u);
    EXPECT_EQ(menuWindow.graphicMoveModeMenuTag(), 1u);
    EXPECT_EQ(menuWindow.caseMenu(), window.toolbar().casePopup()->shownMenu());
    EXPECT_NE(menuWindow.caseMenu(), nullptr);
    // The stand-in card view of these tests takes no view settings.
    EXPECT_EQ(menuWindow.viewSettingMenu(), nullptr);

    window.selectNoCases();
    EXPECT_EQ(menuWindow.selectedCaseMenuItemTag(), 1);
    window.selectAllCases();
    EXPECT_EQ(menuWindow.selectedCaseMenuItemTag(), 2);
    const UFemCardArray& cases = harness.model().caseCardArray();
    ASSERT_EQ(cases.count(), 2u);
    window.selectCaseInSomeCases(cases.objectAtIndex(0));
    EXPECT_EQ(menuWindow.selectedCaseMenuItemTag(), 3);
    // A single case: 1000 plus its place among the model's cases.
    window.selectOneCase(cases.objectAtIndex(1));
    EXPECT_EQ(menuWindow.selectedCaseMenuItemTag(), 1001);
}
