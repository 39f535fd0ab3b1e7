#include "ShellTestSupport.h"

#include "appkit/CommandRouter.h"
#include "documents/application/UFemAppDelegate.h"
#include "documents/application/UFemManualPdf.h"

#include "FileSizeLimitedChild.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// The manual covers what a user needs first.
const QStringList ManualHeadings = { QStringLiteral("# Vantrel Users Manual"),
    QStringLiteral("## Starting"), QStringLiteral("## Model text"),
    QStringLiteral("### Cards and their columns"), QStringLiteral("## The card filter"),
    QStringLiteral("## Editing in the card table"), QStringLiteral("### The find panel"),
    QStringLiteral("## Cases"), QStringLiteral("## Calculating"), QStringLiteral("## The 3-D view"),
    QStringLiteral("## The model edit window"), QStringLiteral("## The element divider"),
    QStringLiteral("## The node merger"), QStringLiteral("## The result table"),
    QStringLiteral("## Project files"), QStringLiteral("## Preferences"),
    QStringLiteral("## Calculating from the command line") };

const QStringList CardLabels = { QStringLiteral("Node"), QStringLiteral("Rod"),
    QStringLiteral("Quad"), QStringLiteral("Hexa"), QStringLiteral("Material"),
    QStringLiteral("RodProp"), QStringLiteral("ShellProp"), QStringLiteral("SolidProp"),
    QStringLiteral("Force"), QStringLiteral("ForceSet"), QStringLiteral("FixNode"),
    QStringLiteral("RestraintSet"), QStringLiteral("RestraintEquation"),
    QStringLiteral("ForceDisp"), QStringLiteral("Case") };

} // namespace

TEST(ManualPdf, theBuildRendersTheManualWithItsHeadingsAndEveryCard)
{
    const QString markdown = QString::fromUtf8(fileBytes(QStringLiteral(VANTREL_MANUAL_SOURCE)));
    for (const QString& heading : ManualHeadings)
        EXPECT_TRUE(markdown.contains(u'\n' + heading + u'\n') || markdown.startsWith(heading))
            << heading.toStdString();
    for (const QString& label : CardLabels)
        EXPECT_TRUE(markdown.contains(QStringLiteral("| %1 |").arg(label))) << label.toStdString();

    const QByteArray pdf = fileBytes(QStringLiteral(VANTREL_MANUAL_PDF));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    // Several pages of text, titled.
    EXPECT_GE(
        pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 3);
    EXPECT_GT(pdf.size(), 20000);
    EXPECT_TRUE(pdf.contains("/Title"));
    // Every picture the text names is in the PDF.
    const qsizetype pictures = markdown.count(QStringLiteral("](images/"));
    EXPECT_GE(pictures, 2);
    EXPECT_GE(pdf.count("/Subtype /Image"), pictures);

    // The same text renders again; a place that cannot be written says so.
    QTemporaryDir folder;
    QString reason;
    EXPECT_TRUE(UFemWriteManualPdf(markdown, folder.filePath(QStringLiteral("m.pdf")), &reason));
    EXPECT_FALSE(
        UFemWriteManualPdf(markdown, folder.filePath(QStringLiteral("missing/m.pdf")), &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(CheckedManual, aManualPastTheFileSizeLimitKeepsTheOldFileAndSaysWhy)
{
    constexpr rlim_t SizeLimit = 4096;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("m.pdf"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    const QString markdown = QStringLiteral("# Manual\n\n")
        + QStringLiteral("A line of the manual that fills its pages.\n\n").repeated(400);
    const std::string outcome = runWithFileSizeLimit(SizeLimit, [&] {
        QString reason;
        return UFemWriteManualPdf(markdown, path, &reason) ? std::string("written")
                                                           : reason.toStdString();
    });
    EXPECT_EQ(outcome, "File too large");
    EXPECT_EQ(fileBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList { QStringLiteral("m.pdf") });
}

TEST(ManualPdf, helpOpensTheManualWithTheDesktopsViewerAndIsOffWithoutIt)
{
    ShellHarness harness;
    UFemAppDelegate& delegate = harness.shell->appDelegate();
    QStringList opened;
    UrlRecorder catcher(opened);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");

    delegate.setUsersManualPath(QStringLiteral(VANTREL_MANUAL_PDF));
    QAction* item = harness.item(QStringLiteral("openUsersManual:"));
    CommandItem enabled(*item);
    EXPECT_TRUE(harness.shell->commandRouter().validate(enabled));
    item->trigger();
    EXPECT_EQ(
        opened, QStringList { QUrl::fromLocalFile(QStringLiteral(VANTREL_MANUAL_PDF)).toString() });

    delegate.setUsersManualPath(harness.homePath(QStringLiteral("none.pdf")));
    CommandItem disabled(*item);
    EXPECT_FALSE(harness.shell->commandRouter().validate(disabled));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

TEST(ManualFallback, WithoutAPdfViewerHelpShowsTheManualWithItsPicturesInAWindow)
{
    ShellHarness harness;
    UFemAppDelegate& delegate = harness.shell->appDelegate();
    QList<QUrl> asked;
    bool hasViewer = false;
    delegate.setUrlOpener([&asked, &hasViewer](const QUrl& url) {
        asked.append(url);
        return hasViewer;
    });
    delegate.setUsersManualPath(QStringLiteral(VANTREL_MANUAL_PDF));
    QAction* item = harness.item(QStringLiteral("openUsersManual:"));
    item->trigger();
    EXPECT_EQ(asked, QList<QUrl> { QUrl::fromLocalFile(QStringLiteral(VANTREL_MANUAL_PDF)) });
    QWidget* window = delegate.usersManualWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vantrel Users Manual"));
    auto* view = window->findChild<QTextBrowser*>();
    ASSERT_NE(view, nullptr);
    const QString shown = view->toPlainText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Vantrel Users Manual")));
    // Nothing in the text stops the layout early.
    EXPECT_TRUE(shown.contains(QStringLiteral("The 3-D view")));
    EXPECT_TRUE(shown.trimmed().endsWith(QStringLiteral("like any other.")));
    // Every picture the text names is found beside it.
    int pictures = 0;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment)
            if (fragment.fragment().charFormat().isImageFormat()) {
                const QString name = fragment.fragment().charFormat().toImageFormat().name();
                EXPECT_FALSE(view->loadResource(QTextDocument::ImageResource, name).isNull())
                    << name.toStdString();
                ++pictures;
            }
    EXPECT_GE(pictures, 2);

    // Asking again brings the same window forward.
    item->trigger();
    EXPECT_EQ(delegate.usersManualWindow(), window);
    window->close();
    finishEventTurn();
    EXPECT_EQ(delegate.usersManualWindow(), nullptr);

    // With a viewer the PDF opens and no window is made.
    hasViewer = true;
    item->trigger();
    EXPECT_EQ(asked.size(), 3);
    EXPECT_EQ(delegate.usersManualWindow(), nullptr);
    EXPECT_TRUE(harness.beeps.sounds.isEmpty());
}
