#include "CalculationTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/calculation/UFemCalculationManagerCalculationViewController.h"
#include "documents/calculation/UFemSaveBeforeCalculationPanelController.h"
#include "documents/document/UFemDocumentNotifications.h"

#include <QDir>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const QByteArray OldResult = "an earlier result";

UFemCalculationStartArgument toFile(const QString& path, bool allowsOverwrite = false)
{
    UFemCalculationStartArgument argument;
    argument.resultFilePath = path;
    argument.doesAllowOverwriteResultFile = allowsOverwrite;
    return argument;
}

} // namespace

TEST(StartCalculationThreadsTest, OldResultFileStaysUntilTheNewOneIsCompleteAndAfterAQuit)
{
    CalculationHarness harness;
    harness.writeFile("tripod.vtresult", OldResult);
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    const QString path = harness.path("tripod.vtresult");

    // "Cancel" in the question about the existing file: nothing starts.
    harness.sheets.modalAnswer = 0;
    UErrorPtr error;
    EXPECT_TRUE(document->startCalculationWithArgument(toFile(path), &error));
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts[0].messageText, "File '" + path + "' is already exist.");
    EXPECT_EQ(harness.sheets.alerts[0].buttons, QStringList({ "Cancel", "Retry", "Overwrite" }));
    EXPECT_EQ(harness.manager.calculationCount(), 0u);
    EXPECT_FALSE(document->isCalculating());

    // "Overwrite", then quit: the old file is left as it was, with nothing beside it.
    harness.sheets.modalAnswer = 2;
    harness.holdsThreads = true;
    ASSERT_TRUE(document->startCalculationWithArgument(toFile(path), &error));
    EXPECT_EQ(harness.readFile("tripod.vtresult"), OldResult);
    harness.manager.calculationViewController(0).pauseButton().click();
    harness.releaseThreads();
    harness.sheets.modalAnswer = 1;
    harness.manager.calculationViewController(0).quitButton().click();
    ASSERT_TRUE(harness.waitForCalculations());
    EXPECT_EQ(harness.readFile("tripod.vtresult"), OldResult);
    EXPECT_EQ(
        QDir(harness.folder.path()).entryList(QDir::Files), QStringList({ "tripod.vtresult" }));
    EXPECT_FALSE(document->isCalculating());

    // Overwriting and completing replaces it by a result file that opens.
    ASSERT_TRUE(document->startCalculationWithArgument(toFile(path, true), &error));
    ASSERT_TRUE(harness.waitForCalculations());
    EXPECT_NE(harness.readFile("tripod.vtresult"), OldResult);
    ASSERT_TRUE(document->hasResultData());
    UFemDocument* reopened = harness.open("tripod.vtresult");
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->dataController().modelTextOfAllCards(),
        document->dataController().modelTextOfAllCards());
}

TEST(StartCalculationThreadsTest, AFailedResultFileWriteIsShownAndTheResultsStillGoToTheDocument)
{
    CalculationHarness harness;
    ASSERT_TRUE(QDir(harness.folder.path()).mkdir("out"));
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    harness.holdsThreads = true;
    UErrorPtr error;
    ASSERT_TRUE(document->startCalculationWithArgument(
        toFile(harness.path("out/tripod.vtresult")), &error));
    // The folder goes away while the calculation runs.
    ASSERT_TRUE(QDir(harness.path("out")).removeRecursively());
    harness.releaseThreads();
    ASSERT_TRUE(harness.waitForCalculations());

    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(
        harness.sheets.alerts[0].messageText, "Result File 'tripod.vtresult' could not be saved.");
    EXPECT_EQ(harness.sheets.pendingWindow(), &harness.manager.calculationManagerPanel());
    EXPECT_EQ(harness.beeps.sounds, QStringList({ "" }));
    ASSERT_EQ(harness.done.userInfos.size(), 1u);
    EXPECT_FALSE(harness.done.userInfos[0].contains(UFemCalculationErrorKey));
    EXPECT_TRUE(document->hasResultData());
    EXPECT_FALSE(document->isCalculating());
}

TEST(StartCalculationThreadsTest, ResultsOfAModelThatChangedMeanwhileAreNotTakenIn)
{
    CalculationHarness harness;
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    harness.holdsThreads = true;
    UErrorPtr error;
    ASSERT_TRUE(document->startCalculationWithArgument(UFemCalculationStartArgument {}, &error));
    UFemDataController& model = document->dataController();
    model.setLockedOutside(false);
    ASSERT_TRUE(model.resetWithModelText(tripodModelText(3000), true, &error));
    model.setLockedOutside(true);
    harness.releaseThreads();
    ASSERT_TRUE(harness.waitForCalculations());

    EXPECT_FALSE(document->hasResultData());
    EXPECT_FALSE(document->isCalculating());
    EXPECT_FALSE(model.isLockedOutside());
    ASSERT_FALSE(harness.sheets.alerts.empty());
    EXPECT_EQ(harness.sheets.alerts.back().messageText,
        "Unexpected error occurred. ModelText_self and ModelText_calc are different.");
}

TEST(StartCalculationThreadsTest, AProjectWithAResultPathAndNoAutoLoadWritesOnlyTheFile)
{
    CalculationHarness harness;
    UFemDocument* project = harness.tripodProject();
    ASSERT_NE(project, nullptr);

    UErrorPtr error;
    ASSERT_TRUE(project->startCalculation(&error));
    UFemSaveBeforeCalculationPanelController& sheet
        = project->saveBeforeCalculationPanelController();
    ASSERT_NE(sheet.saveBeforeCalculationPanel(), nullptr);
    EXPECT_EQ(sheet.projectVersionString(), "1.0");
    sheet.setProjectVersionString("1.1");
    sheet.saveBeforeCalculationPanelButtonPushed(
        UFemSaveBeforeCalculationPanelController::CalculateTag);
    EXPECT_EQ(project->projectVersionString(), QStringLiteral("1.1"));
    ASSERT_TRUE(runEventsUntil([&] { return harness.done.userInfos.size() == 1; }));

    EXPECT_FALSE(project->isCalculating());
    EXPECT_FALSE(project->hasResultData());
    EXPECT_EQ(project->calculationSettingPanelController().calculationSettingPanel(), nullptr);
    UFemDocument* results = harness.open("Beam.vtresult");
    ASSERT_NE(results, nullptr);
    const UFemResultDataManager* manager = results->dataController().resultDataManager();
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->projectTitleString(), QStringLiteral("Beam"));
    EXPECT_EQ(manager->projectVersionString(), QStringLiteral("1.1"));
}
