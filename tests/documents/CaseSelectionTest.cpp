#include "WindowTestSupport.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/toolbar/UFemCasePopup.h"
#include "documents/toolbar/UFemWindowToolbar.h"

#include <QCoreApplication>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

struct CaseWindow {
    CaseWindow()
        : harness(UFemDocumentTypeModel, WindowModelText)
        , popup(*harness.window->toolbar().casePopup())
        , window(*harness.window)
    {
    }

    // "title:tag" of each item, "-" for a separator, a submenu in brackets.
    static QStringList describe(const QMenu& menu)
    {
        QStringList items;
        for (const QAction* action : menu.actions()) {
            if (action->isSeparator()) {
                items.append(QStringLiteral("-"));
                continue;
            }
            QString item
                = QStringLiteral("%1:%2").arg(action->text()).arg(action->data().toLongLong());
            if (action->menu() != nullptr)
                item
                    += QStringLiteral("[%1]").arg(describe(*action->menu()).join(QLatin1Char(' ')));
            items.append(item);
        }
        return items;
    }
    QMenu& someCasesMenu() const { return *popup.shownMenu()->actions().at(2)->menu(); }
    QStringList checkedSomeCases() const
    {
        QStringList names;
        for (const QAction* action : someCasesMenu().actions())
            if (action->isChecked())
                names.append(action->text());
        return names;
    }
    QString casePart() const { return window.combinedCardFilterString().value_or(QString()); }

    WindowHarness harness;
    UFemCasePopup& popup;
    UFemWindowController& window;
};

} // namespace

TEST(CaseSelectionTest, TheMenuHoldsTheFourModesAndEachCaseTwice)
{
    CaseWindow cases;
    ASSERT_NE(cases.popup.shownMenu(), nullptr);
    EXPECT_EQ(CaseWindow::describe(*cases.popup.shownMenu()),
        QStringList({ "No Case:1", "All Cases:2",
            "Some Cases:3[Select All Cases:0 Deselect All Cases:0 - Dead:1000 Live:1001]", "-",
            "Dead:1000", "Live:1001" }));
    EXPECT_TRUE(cases.popup.isEnabled());
    EXPECT_EQ(cases.popup.text(), QStringLiteral("No Case"));
    EXPECT_EQ(cases.popup.selectedCaseMenuItemTag(), UFemCaseMenuTagNoCase);
}

TEST(CaseSelectionTest, EachModeSetsTheCasesTheFilterAndTheShownItem)
{
    CaseWindow cases;
    cases.popup.performCaseCommand(UFemOneCaseCommand, 1001);
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeOneCase);
    EXPECT_EQ(cases.casePart(), QStringLiteral("case:Live|type:Null"));
    EXPECT_EQ(cases.popup.selectedCaseMenuItemTag(), 1001);
    EXPECT_EQ(cases.popup.text(), QStringLiteral("Live"));

    // From one case, a some-cases choice keeps only that case; choosing it again removes it.
    cases.popup.performCaseCommand(UFemSomeCasesCommand, 1000);
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeSomeCases);
    EXPECT_EQ(cases.casePart(), QStringLiteral("caseArray:{Dead}|type:Null"));
    EXPECT_EQ(cases.checkedSomeCases(), QStringList({ "Dead" }));
    EXPECT_EQ(cases.popup.text(), QStringLiteral("Some Cases"));
    cases.popup.performCaseCommand(UFemSomeCasesCommand, 1001);
    EXPECT_EQ(cases.casePart(), QStringLiteral("caseArray:{Dead,Live}|type:Null"));
    cases.popup.performCaseCommand(UFemSomeCasesCommand, 1000);
    cases.popup.performCaseCommand(UFemSomeCasesCommand, 1001);
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeSomeCases);
    EXPECT_EQ(cases.casePart(), QStringLiteral("type:Null"));
    EXPECT_EQ(cases.window.windowCardTable().count(), 1u);
    EXPECT_TRUE(cases.checkedSomeCases().isEmpty());

    cases.popup.performCaseCommand(UFemSelectAllCasesCommand, 0);
    EXPECT_EQ(cases.checkedSomeCases(), QStringList({ "Dead", "Live" }));
    cases.popup.performCaseCommand(UFemDeselectAllCasesCommand, 0);
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeSomeCases);
    EXPECT_TRUE(cases.window.currentCaseCardArray().empty());

    cases.popup.performCaseCommand(UFemAllCasesCommand, UFemCaseMenuTagAllCases);
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeAllCases);
    EXPECT_EQ(cases.window.combinedCardFilterString(), std::nullopt);
    EXPECT_EQ(cases.window.currentCaseCardArray().size(), 2u);
    EXPECT_EQ(cases.popup.text(), QStringLiteral("All Cases"));

    cases.popup.performCaseCommand(UFemNoCasesCommand, UFemCaseMenuTagNoCase);
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeNoCase);
    EXPECT_TRUE(cases.window.currentCaseCardArray().empty());
    EXPECT_EQ(cases.popup.text(), QStringLiteral("No Case"));
}

TEST(CaseSelectionTest, AChosenMenuItemActsAfterItsMenuIsDone)
{
    CaseWindow cases;
    QAction* dead = cases.popup.shownMenu()->actions().at(4);
    ASSERT_EQ(dead->text(), QStringLiteral("Dead"));
    dead->trigger();
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeNoCase);
    QCoreApplication::processEvents();
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeOneCase);
    EXPECT_EQ(cases.casePart(), QStringLiteral("case:Dead|type:Null"));
}

TEST(CaseSelectionTest, ANewCaseCardAppearsInTheMenuAndRemovingTheChosenOneEndsOneCaseMode)
{
    CaseWindow cases;
    cases.popup.performCaseCommand(UFemOneCaseCommand, 1000);
    UErrorPtr error;
    ASSERT_EQ(cases.harness.model().addCardsWithModelText(
                  QStringLiteral("Case , Wind , LINEAR_STATIC , RS1 , L1 ,\n"),
                  UFemColumnSeparatingCharacterTypeComma, UFemNotFound, true, &error),
        1u);
    EXPECT_EQ(CaseWindow::describe(*cases.popup.shownMenu()).mid(4),
        QStringList({ "Dead:1000", "Live:1001", "Wind:1002" }));

    ASSERT_TRUE(
        cases.harness.model().removeCardsWithCardArray({ cases.window.currentCaseCard() }, &error));
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeNoCase);
    EXPECT_EQ(cases.popup.text(), QStringLiteral("No Case"));
}

TEST(CaseSelectionTest, TheMainMenuCaseCommandsActThroughTheWindow)
{
    CaseWindow cases;
    CommandItem live(UFemOneCaseCommand, 1001);
    ASSERT_TRUE(cases.window.respondsToCommand(UFemOneCaseCommand));
    cases.window.performCommand(live);
    EXPECT_EQ(cases.casePart(), QStringLiteral("case:Live|type:Null"));
    EXPECT_EQ(cases.popup.text(), QStringLiteral("Live"));
    cases.window.performCommand(CommandItem(UFemAllCasesCommand, UFemCaseMenuTagAllCases));
    EXPECT_EQ(cases.window.currentCaseSelectMode(), UFemCaseSelectModeAllCases);
}
