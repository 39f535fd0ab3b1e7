#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(SaveAsType, aModelIsSavedAsAModelWhateverExtensionIsTypedAndOpensAgain)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    UFemDocument* document = harness.open(QStringLiteral("m.vtmodel"));
    ASSERT_NE(document, nullptr);
    const std::pair<const char*, const char*> cases[] = {
        { "project.vtproj", "project.vtmodel" },
        { "results.vtresult", "results.vtmodel" },
        { "plain", "plain.vtmodel" },
        { "beam.txt", "beam.vtmodel" },
        { "kept.vtmodel", "kept.vtmodel" },
    };
    for (const auto& [typed, written] : cases) {
        SCOPED_TRACE(typed);
        harness.panels.savePath = harness.path(QString::fromLatin1(typed));
        document->saveAs();
        const QString writtenPath = harness.path(QString::fromLatin1(written));
        EXPECT_EQ(document->filePath(), writtenPath);
        if (std::string_view(typed) != written) {
            EXPECT_FALSE(QFile::exists(harness.path(QString::fromLatin1(typed))));
        }
        DocumentHarness reader;
        UErrorPtr error;
        Document* reopened = reader.controller.openDocument(writtenPath, false, &error);
        ASSERT_NE(reopened, nullptr) << error->localizedDescription().toStdString();
        EXPECT_EQ(dynamic_cast<UFemDocument*>(reopened)->dataController().modelTextOfAllCards(),
            canonicalModelText(TwoNodeModel));
    }
    EXPECT_TRUE(harness.sheets.alerts.empty());
}

TEST(SaveAsType, aCorrectedNameThatIsAnotherFileIsRefusedForSaveAsAndExport)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeFile(QStringLiteral("taken.vtmodel"), "someone else's model");
    UFemDocument* document = harness.open(QStringLiteral("m.vtmodel"));
    ASSERT_NE(document, nullptr);
    harness.panels.savePath = harness.path(QStringLiteral("taken.vtproj"));
    document->saveAs();
    document->saveModelDocumentTo();
    ASSERT_EQ(harness.sheets.alerts.size(), 2u);
    for (const Alert& alert : harness.sheets.alerts)
        EXPECT_TRUE(alert.messageText.contains(QStringLiteral("already exist")))
            << alert.messageText.toStdString();
    EXPECT_EQ(fileBytes(harness.path(QStringLiteral("taken.vtmodel"))),
        QByteArray("someone else's model"));
    EXPECT_FALSE(QFile::exists(harness.path(QStringLiteral("taken.vtproj"))));
    EXPECT_EQ(document->filePath(), harness.path(QStringLiteral("m.vtmodel")));

    // Export corrects the name as Save As does.
    harness.panels.savePath = harness.path(QStringLiteral("export.vtresult"));
    document->saveModelDocumentTo();
    EXPECT_EQ(fileBytes(harness.path(QStringLiteral("export.vtmodel"))),
        canonicalModelText(TwoNodeModel).toUtf8());
    EXPECT_FALSE(QFile::exists(harness.path(QStringLiteral("export.vtresult"))));
}
