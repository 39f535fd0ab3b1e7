#include "CalculationTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/window/UFemWindowController.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

UFemCalculationStartArgument toFile(const QString& path)
{
    UFemCalculationStartArgument argument;
    argument.resultFilePath = path;
    return argument;
}

} // namespace

TEST(StartCalculationTest, SettingSheetProposesAResultFileBesideTheModelOrInTheHomeFolder)
{
    CalculationHarness harness;
    UFemDocument* untitled = harness.modelDocument(tripodModelText());
    ASSERT_NE(untitled, nullptr);
    UErrorPtr error;
    ASSERT_TRUE(untitled->startCalculation(&error));
    UFemCalculationSettingPanelController& sheet = untitled->calculationSettingPanelController();
    ASSERT_NE(sheet.calculationSettingPanel(), nullptr);
    EXPECT_TRUE(sheet.calculationSettingPanel()->isVisible());
    EXPECT_EQ(sheet.resultFilePathString(), "~/Untitled.vtresult");
    EXPECT_TRUE(sheet.doesSaveResultFile());
    EXPECT_TRUE(sheet.doesLoadWhenDone());
    EXPECT_EQ(sheet.resultFileURL(&error), QDir::home().filePath("Untitled.vtresult"));
    EXPECT_EQ(harness.manager.calculationCount(), 0u);
    sheet.calculationSettingPanelButtonPushed(UFemCalculationSettingPanelController::CancelTag);
    finishEventTurn();
    EXPECT_EQ(sheet.calculationSettingPanel(), nullptr);

    harness.writeFile("beam.vtmodel", tripodModelText().toUtf8());
    UFemDocument* beam = harness.open("beam.vtmodel");
    ASSERT_NE(beam, nullptr);
    beam->setCalculationManager(&harness.manager);
    ASSERT_TRUE(beam->startCalculation(&error));
    UFemCalculationSettingPanelController& beamSheet = beam->calculationSettingPanelController();
    EXPECT_EQ(beamSheet.resultFilePathString(), "beam.vtresult");
    EXPECT_EQ(beamSheet.resultFileURL(&error), harness.path("beam.vtresult"));

    // A path with another extension: OK puts the proposal back and the sheet stays.
    beamSheet.setResultFilePathString("results/beam.txt");
    beamSheet.calculationSettingPanelButtonPushed(UFemCalculationSettingPanelController::OKTag);
    EXPECT_EQ(beamSheet.resultFilePathString(), "beam.vtresult");
    ASSERT_NE(beamSheet.calculationSettingPanel(), nullptr);
    EXPECT_EQ(harness.manager.calculationCount(), 0u);

    // OK with the proposal starts the calculation and ends the sheet.
    beamSheet.calculationSettingPanelButtonPushed(UFemCalculationSettingPanelController::OKTag);
    finishEventTurn();
    EXPECT_EQ(beamSheet.calculationSettingPanel(), nullptr);
    EXPECT_TRUE(beam->isCalculating());
    ASSERT_TRUE(harness.waitForCalculations());
    EXPECT_TRUE(beam->hasResultData());
    EXPECT_TRUE(QFileInfo::exists(harness.path("beam.vtresult")));
}

TEST(StartCalculationTest, SwitchesAreNeverBothOffAndResultPathsAreChecked)
{
    UFemCalculationSettingPanelController sheet(nullptr);
    sheet.setDoesLoadWhenDone(false);
    EXPECT_TRUE(sheet.doesSaveResultFile());
    sheet.setDoesSaveResultFile(false);
    EXPECT_TRUE(sheet.doesLoadWhenDone());
    sheet.setDoesLoadWhenDone(false);
    EXPECT_TRUE(sheet.doesSaveResultFile());

    UErrorPtr error;
    EXPECT_EQ(sheet.resultFileURL(&error), std::nullopt);
    EXPECT_EQ(error->code(), 11010);
    EXPECT_EQ(error->localizedDescription(),
        "File Path 'Untitled.vtresult (not absolute path)' has error.");
    sheet.setResultFilePathString(".vtresult");
    EXPECT_EQ(sheet.resultFileURL(&error), std::nullopt);
    EXPECT_EQ(error->localizedDescription(), "File Path '.vtresult' has error.");
    sheet.setResultFilePathString("/tmp/a/../b/r.vtresult");
    EXPECT_EQ(sheet.resultFileURL(&error), "/tmp/b/r.vtresult");
    sheet.setBaseURL("/data/models/beam.vtmodel");
    sheet.setResultFilePathString("out/r.vtresult");
    EXPECT_EQ(sheet.resultFileURL(&error), "/data/models/out/r.vtresult");
    EXPECT_EQ(UFemAbbreviatedPathString(QDir::home().filePath("r.vtresult")), "~/r.vtresult");
}

TEST(StartCalculationTest, RefusalsComeBeforeAnyFileIsTouched)
{
    CalculationHarness harness;
    UFemDocument* document = harness.modelDocument(tripodModelText());
    ASSERT_NE(document, nullptr);
    UErrorPtr error;

    // A folder that does not exist: nothing starts, nothing locks.
    const QString missing = harness.path("missing/tripod.vtresult");
    EXPECT_FALSE(document->startCalculationWithArgument(toFile(missing), &error));
    EXPECT_EQ(error->code(), 11020);
    EXPECT_EQ(error->localizedDescription(), "Creating File '" + missing + "' failed.");
    EXPECT_FALSE(document->isCalculating());
    EXPECT_FALSE(document->dataController().isLockedOutside());
    EXPECT_EQ(harness.manager.calculationCount(), 0u);

    ASSERT_TRUE(QDir(harness.folder.path()).mkdir("taken.vtresult"));
    EXPECT_FALSE(
        document->startCalculationWithArgument(toFile(harness.path("taken.vtresult")), &error));
    EXPECT_EQ(error->code(), 11019);

    // While a calculation is awaited, a second start is refused without asking about the file.
    harness.writeFile("old.vtresult", "old");
    harness.holdsThreads = true;
    ASSERT_TRUE(document->startCalculationWithArgument(UFemCalculationStartArgument {}, &error));
    EXPECT_FALSE(
        document->startCalculationWithArgument(toFile(harness.path("old.vtresult")), &error));
    EXPECT_EQ(error->code(), 21002);
    EXPECT_TRUE(harness.sheets.alerts.empty());
    EXPECT_EQ(harness.readFile("old.vtresult"), "old");
    harness.releaseThreads();
    ASSERT_TRUE(harness.waitForCalculations());

    // With results loaded: 21001.
    EXPECT_FALSE(document->startCalculation(&error));
    EXPECT_EQ(error->code(), 21001);
}

TEST(StartCalculationTest, AModelThatCannotBeCalculatedShowsNoSheet)
{
    CalculationHarness harness;
    UFemDocument* document = harness.modelDocument(TwoNodeModel);
    ASSERT_NE(document, nullptr);
    UErrorPtr error;
    EXPECT_FALSE(document->startCalculation(&error));
    EXPECT_EQ(error->code(), 21005);
    EXPECT_EQ(document->calculationSettingPanelController().calculationSettingPanel(), nullptr);
}

TEST(StartCalculationTest, ACardThatStopsTheRunIsShownInANewCardWindow)
{
    CalculationHarness harness;
    UFemDocument* document = harness.modelDocument(InvertedHexaModel);
    ASSERT_NE(document, nullptr);
    const std::size_t windowsBefore = document->windowControllers().size();
    ASSERT_TRUE(document->respondsToCommand("startCalculation:"));

    UErrorPtr error;
    EXPECT_FALSE(document->startCalculation(&error));
    EXPECT_EQ(error->code(), 21004);
    ASSERT_EQ(document->windowControllers().size(), windowsBefore + 1);
    auto& window = dynamic_cast<UFemWindowController&>(*document->windowControllers().back());
    EXPECT_EQ(window.viewType(), UFemViewTypeCard);
    EXPECT_EQ(window.filterString(), QStringLiteral("hasError"));
    EXPECT_EQ(harness.manager.calculationCount(), 0u);
}
