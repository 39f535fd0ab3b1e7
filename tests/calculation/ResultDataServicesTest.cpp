#include "ResultDataSamples.h"

#include "calculation/results/UFemResultDataServices.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"

#include <gtest/gtest.h>

namespace {

struct ServicedModel {
    QStringList alerts;
    UFemDataControllerServices services = [this] {
        UFemDataControllerServices s;
        UFemInstallResultDataServices(
            s, [this](const QString& message, const QString&) { alerts.append(message); });
        return s;
    }();
    UFemDataController dataController { services };
};

} // namespace

TEST(ResultDataServices, CopiedModelReadsItsResultsBackFromTheFile)
{
    ServicedModel model;
    ASSERT_TRUE(
        model.dataController.resetWithModelText(QStringLiteral("\\ no cards\n"), false, nullptr));
    UFemResultDataModelNames names;
    names.modelText = model.dataController.modelTextOfAllCards();
    auto results = std::make_shared<UFemResultDataManagerImpl>(names);
    EXPECT_TRUE(results->finalizeAddResultData(nullptr));
    ASSERT_TRUE(model.dataController.setResultDataManager(results, false, nullptr));
    ASSERT_TRUE(model.dataController.hasResultData());

    const std::unique_ptr<UFemDataController> copy = model.dataController.copy();
    const UFemResultDataManager* copied = copy->resultDataManager();
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied, results.get());
    EXPECT_EQ(copied->modelText(), results->modelText());
    EXPECT_TRUE(copied->canSynchronizeNodeNoAndCaseNoWithModelData());
    EXPECT_EQ(copied->resultFileData(nullptr), results->resultFileData(nullptr));
}

TEST(ResultDataServices, ReaderOfResultFilesTellsReadingErrorsApart)
{
    ServicedModel model;
    const QByteArray file = *makeSampleResultData({}).get()->resultFileData(nullptr);
    UErrorPtr readingError;
    UErrorPtr error;
    EXPECT_NE(model.services.makeResultDataManagerWithResultFileData(file, &readingError, &error),
        nullptr);
    EXPECT_EQ(readingError, nullptr);
    EXPECT_EQ(
        model.services.makeResultDataManagerWithResultFileData(QByteArray(), &readingError, &error),
        nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 11028);
}

TEST(ResultDataServices, PastedValuesInstalledOnlyWhenTheyRead)
{
    ServicedModel model;
    ASSERT_TRUE(model.dataController.loadClipboardCardValueWithClipboardCardValueString(
        QStringLiteral("a , 1\na , 2\n"), UFemColumnSeparatingCharacterTypeComma, nullptr));
    const auto* installed = model.dataController.clipboardCardValueResultDataManager();
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(model.alerts,
        QStringList { QStringLiteral("Some card name for ClipboardCardValue are repeated.") });
    UErrorPtr error;
    EXPECT_FALSE(model.dataController.loadClipboardCardValueWithClipboardCardValueString(
        QStringLiteral("a ,, 1"), UFemColumnSeparatingCharacterTypeComma, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 42019);
    EXPECT_EQ(model.dataController.clipboardCardValueResultDataManager(), installed);
}

TEST(ResultDataServices, ResultsMadeFromAModelKeepItsText)
{
    ServicedModel model;
    ASSERT_TRUE(model.dataController.resetWithModelText(
        QStringLiteral("\\ first\n\\ second\n"), false, nullptr));
    int asked = 0;
    const auto results = UFemResultDataManagerImpl::createWithDataController(
        model.dataController, [&asked](const UFemCard&) {
            ++asked;
            return nullptr;
        });
    EXPECT_EQ(results->modelText(), model.dataController.modelTextOfAllCards());
    EXPECT_EQ(results->nodeCount(), 0u);
    EXPECT_EQ(results->caseCount(), 0u);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(results->canSynchronizeNodeNoAndCaseNoWithModelData());
}
