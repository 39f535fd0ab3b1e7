#include "DocumentTestSupport.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemProjectFile.h"

#include <gtest/gtest.h>

#include <QDir>

namespace {

constexpr qint64 ModelDataDifferentCode = 11033;

UFemDataControllerServices realServices()
{
    UFemDataControllerServices services;
    UFemInstallResultDataServices(services, {});
    return services;
}

// A result file as the calculation writes it, of the model `modelText`.
QByteArray realResultFile(const QString& modelText)
{
    UFemResultDataModelNames names;
    names.modelText = modelText;
    names.nodeCardNameStringArray = { QStringLiteral("N1"), QStringLiteral("N2") };
    UFemResultDataManagerImpl results(names);
    results.setProjectTitleString(
        QStringLiteral("Frame"), QStringLiteral("3"), QStringLiteral("two nodes"));
    UErrorPtr error;
    EXPECT_TRUE(results.finalizeAddResultData(&error));
    return results.resultFileData(&error).value_or(QByteArray());
}

UFemDocument& openedModel(DocumentHarness& harness)
{
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    return *harness.open(QStringLiteral("m.vtmodel"));
}

} // namespace

TEST(ResultFileDocument, AResultDocumentShowsTheModelAndTextsItCarries)
{
    DocumentHarness harness;
    harness.writeFile(
        QStringLiteral("r.vtresult"), FakeResultData::fileData(canonicalModelText(TwoNodeModel)));
    UFemDocument& document = *harness.open(QStringLiteral("r.vtresult"));
    EXPECT_EQ(document.documentType(), UFemDocumentTypeResult);
    EXPECT_EQ(document.projectTitleString(), QStringLiteral("Bridge"));
    EXPECT_EQ(document.projectVersionString(), QStringLiteral("v2"));
    EXPECT_EQ(document.projectCommentString(), QStringLiteral("load case A"));
    EXPECT_EQ(document.dataController().cardCount(), 2u);
    EXPECT_TRUE(document.hasResultData());
    EXPECT_TRUE(document.dataController().isLockedOutside());

    LockNotificationRecorder recorder(document);
    document.unloadResultData();
    EXPECT_FALSE(document.hasModelData());
    EXPECT_EQ(document.dataController().cardCount(), 0u);
    EXPECT_TRUE(recorder.arePaired());
}

TEST(ResultFileDocument, ResultsOfAnotherModelAreRefusedWithPairedLockNotifications)
{
    DocumentHarness harness;
    UFemDocument& document = openedModel(harness);
    LockNotificationRecorder recorder(document);
    UErrorPtr error;
    EXPECT_FALSE(document.loadResultFileData(
        FakeResultData::fileData(canonicalModelText(QStringLiteral("Node, N7, , 1, 1, 1\n"))),
        &error));
    EXPECT_EQ(error->code(), ModelDataDifferentCode);
    EXPECT_FALSE(document.hasResultData());
    EXPECT_FALSE(document.dataController().isLockedOutside());
    EXPECT_TRUE(recorder.arePaired());

    EXPECT_FALSE(document.loadResultFileData(QByteArray(), &error));
    EXPECT_EQ(error->code(), 11028);
    EXPECT_FALSE(document.loadResultFileData(QByteArray("BROKEN\n"), &error));
    EXPECT_EQ(error->code(), 11006);
    EXPECT_FALSE(document.loadResultFileData(QByteArray("junk"), &error));
    EXPECT_EQ(error->code(), 11006);
    EXPECT_EQ(recorder.events.size(), 2);
}

TEST(ResultFileDocument, ResultFilesAreCheckedBeforeTheyAreRead)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("p.vtproj"), {});
    UFemDocument& project = *harness.open(QStringLiteral("p.vtproj"));
    UErrorPtr error;
    EXPECT_FALSE(project.loadResultDataWithResultFileURL(harness.path("r.vtresult"), &error));
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Unexpected error occurred. No model data before loading result data."));

    UFemDocument& model = openedModel(harness);
    EXPECT_FALSE(model.loadResultDataWithResultFileURL(harness.path("r.vtresult"), &error));
    EXPECT_EQ(error->code(), 11016);
    ASSERT_TRUE(QDir(harness.folder.path()).mkdir(QStringLiteral("d.vtresult")));
    EXPECT_FALSE(model.loadResultDataWithResultFileURL(harness.path("d.vtresult"), &error));
    EXPECT_EQ(error->code(), 11017);
    EXPECT_FALSE(model.resultFileData(&error).has_value());
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Unexpected error occurred. No result data while writing ResultFileData."));
}

TEST(ResultFileDocument, ARealResultFileOpensAsADocumentAndLoadsIntoItsProject)
{
    DocumentHarness harness(realServices());
    const QByteArray file = realResultFile(canonicalModelText(TwoNodeModel));
    ASSERT_FALSE(file.isEmpty());
    harness.writeFile(QStringLiteral("m.vtresult"), file);
    UFemDocument& result = *harness.open(QStringLiteral("m.vtresult"));
    EXPECT_EQ(result.projectTitleString(), QStringLiteral("Frame"));
    EXPECT_EQ(result.projectCommentString(), QStringLiteral("two nodes"));
    EXPECT_EQ(result.dataController().modelTextOfAllCards(), canonicalModelText(TwoNodeModel));

    UErrorPtr error;
    ASSERT_TRUE(
        result.writeToFile(harness.path("copy.vtresult"), UFemResultDocumentTypeName, &error));
    EXPECT_EQ(harness.readFile(QStringLiteral("copy.vtresult")), file);

    UFemProjectFileContents contents;
    contents.projectModelFilePathString = QStringLiteral("m.vtmodel");
    contents.projectDoesLoadModelDataAuto = true;
    contents.projectResultFilePathString = QStringLiteral("m.vtresult");
    contents.projectDoesLoadResultDataAuto = true;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeFile(QStringLiteral("p.vtproj"), UFemProjectFileData(contents));
    UFemDocument& project = *harness.open(QStringLiteral("p.vtproj"));
    EXPECT_TRUE(project.hasModelData());
    EXPECT_NE(project.dataController().resultDataManager(), nullptr);
    EXPECT_TRUE(harness.sheets.alerts.empty());
}
