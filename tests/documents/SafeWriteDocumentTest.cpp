#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"

#include "FileSizeLimitedChild.h"

#include <gtest/gtest.h>

namespace {

constexpr rlim_t SizeLimit = 1000;

// Nodes enough for a model text well past the limit yet inside one write buffer.
QString modelOfNodes(int count)
{
    QString text;
    for (int n = 0; n < count; ++n)
        text += QStringLiteral("Node, N%1, , %1, 0, 0\n").arg(n);
    return text;
}

} // namespace

TEST(SafeWrite, AModelSavePastTheSizeLimitKeepsTheOldFileAndSaysWhy)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    const QByteArray old = harness.readFile(QStringLiteral("m.vtmodel"));
    UFemDocument& document = *harness.open(QStringLiteral("m.vtmodel"));
    UErrorPtr error;
    ASSERT_TRUE(document.dataController().resetWithModelText(modelOfNodes(60), true, &error));
    ASSERT_GT(
        document.dataController().modelTextOfAllCards().toUtf8().size(), qsizetype(SizeLimit));

    const std::string outcome = runWithFileSizeLimit(SizeLimit, [&] {
        bool saved = true;
        document.save([&](bool succeeded) { saved = succeeded; });
        if (saved || harness.sheets.alerts.empty())
            return std::string("saved");
        const Alert& alert = harness.sheets.alerts.back();
        return (alert.messageText + u'|' + alert.informativeText).toStdString();
    });
    EXPECT_EQ(outcome,
        "Model File 'm.vtmodel' could not be saved.|"
        "The file “m.vtmodel” could not be saved. File too large.");
    EXPECT_EQ(harness.readFile(QStringLiteral("m.vtmodel")), old);
}
