#include "CalculationTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/calculation/UFemCalculationManagerCalculationViewController.h"
#include "documents/document/UFemDocumentNotifications.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {

UFemCalculationStartArgument withoutFile()
{
    return UFemCalculationStartArgument {};
}

QString resultModelText(const UFemDocument& document)
{
    const UFemResultDataManager* results = document.dataController().resultDataManager();
    return results ? results->modelText().value_or(QString()) : QString();
}

} // namespace

TEST(CalculationManagerThreadsTest, TwoDocumentsCalculateAtOnceAndEachTakesItsOwnResults)
{
    CalculationHarness harness;
    harness.holdsThreads = true;
    UFemDocument* light = harness.modelDocument(tripodModelText(2000));
    UFemDocument* heavy = harness.modelDocument(tripodModelText(5000));
    ASSERT_TRUE(light && heavy);
    UErrorPtr error;
    ASSERT_TRUE(light->startCalculationWithArgument(withoutFile(), &error));
    ASSERT_TRUE(heavy->startCalculationWithArgument(withoutFile(), &error));

    ASSERT_EQ(harness.manager.calculationCount(), 2u);
    EXPECT_EQ(harness.manager.calculationIdentifierNumber(0), light->calculationIdentifierNumber());
    EXPECT_EQ(harness.manager.calculationIdentifierNumber(1), heavy->calculationIdentifierNumber());
    EXPECT_NE(light->calculationIdentifierNumber(), heavy->calculationIdentifierNumber());
    EXPECT_EQ(harness.manager.calculationViewController(0).calculationFileNameString(),
        "Untitled Document");
    EXPECT_EQ(harness.manager.calculationViewController(0).calculationInfoString(),
        "Checking model/Building Stiff equation...");
    EXPECT_LT(harness.manager.calculationViewController(0).calculationProgressValue(), 0.0);
    EXPECT_TRUE(harness.manager.calculationManagerPanel().isVisible());
    EXPECT_GT(harness.manager.progressTimerInterval(), 0.0);
    EXPECT_TRUE(light->dataController().isLockedOutside());
    // A second start while the first is awaited is refused.
    EXPECT_FALSE(light->startCalculationWithArgument(withoutFile(), &error));
    EXPECT_EQ(error->code(), 21002);

    harness.releaseThreads();
    ASSERT_TRUE(harness.waitForCalculations());
    EXPECT_FALSE(light->isCalculating());
    EXPECT_FALSE(heavy->isCalculating());
    EXPECT_EQ(resultModelText(*light), light->dataController().modelTextOfAllCards());
    EXPECT_EQ(resultModelText(*heavy), heavy->dataController().modelTextOfAllCards());
    EXPECT_NE(resultModelText(*light), resultModelText(*heavy));
    ASSERT_EQ(harness.done.userInfos.size(), 2u);
    EXPECT_TRUE(harness.done.allOnMainThread);
    for (const QVariantMap& info : harness.done.userInfos)
        EXPECT_FALSE(info.contains(UFemCalculationErrorKey));
    EXPECT_EQ(harness.beeps.sounds, QStringList({ "Hero", "Hero" }));
    EXPECT_TRUE(harness.sheets.alerts.empty());
    // The next tick finds no calculation and stops the timer.
    EXPECT_TRUE(runEventsUntil([&] { return harness.manager.progressTimerInterval() == 0.0; }));
}

TEST(CalculationManagerThreadsTest, PauseRestartAndQuitFromThePanel)
{
    CalculationHarness harness;
    harness.holdsThreads = true;
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    UErrorPtr error;
    ASSERT_TRUE(document->startCalculationWithArgument(withoutFile(), &error));
    UFemCalculationManagerCalculationViewController& row
        = harness.manager.calculationViewController(0);

    row.pauseButton().click();
    EXPECT_EQ(row.pauseButton().text(), "Restart");
    EXPECT_EQ(row.calculationInfoString(), "Calculation will be paused.");
    harness.releaseThreads();
    // Paused before its run: it waits.
    EXPECT_FALSE(runEventsUntil([&] { return harness.manager.calculationCount() == 0; }, 300));

    // Quit answered with "Cancel (Continue calculation)" changes nothing.
    harness.sheets.modalAnswer = 0;
    row.quitButton().click();
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts[0].messageText,
        "Do you really want to quit (abort) calculating 'Untitled Document'?");
    EXPECT_EQ(harness.sheets.alerts[0].buttons,
        QStringList({ "Cancel (Continue calculation)", "Quit calculation" }));
    row.pauseButton().click();
    EXPECT_EQ(row.pauseButton().text(), "Pause");
    ASSERT_TRUE(harness.waitForCalculations());
    EXPECT_TRUE(document->hasResultData());

    // A second calculation, quit while paused.
    document->unloadResultData();
    harness.holdsThreads = true;
    ASSERT_TRUE(document->startCalculationWithArgument(withoutFile(), &error));
    harness.manager.calculationViewController(0).pauseButton().click();
    harness.releaseThreads();
    harness.sheets.modalAnswer = 1;
    harness.manager.calculationViewController(0).quitButton().click();
    ASSERT_TRUE(harness.waitForCalculations());

    EXPECT_FALSE(document->isCalculating());
    EXPECT_FALSE(document->hasResultData());
    ASSERT_EQ(harness.done.userInfos.size(), 2u);
    const UErrorPtr quitError
        = harness.done.userInfos[1].value(UFemCalculationErrorKey).value<UErrorPtr>();
    ASSERT_NE(quitError, nullptr);
    EXPECT_TRUE(quitError->isUFemCalculationCanceledError());
    EXPECT_EQ(harness.sheets.alerts.back().messageText,
        "Calculation of document 'Untitled Document' has canceled.");
    EXPECT_EQ(harness.sheets.pendingWindow(), &harness.manager.calculationManagerPanel());
    EXPECT_EQ(harness.beeps.sounds, QStringList({ "Hero", "" }));
}
