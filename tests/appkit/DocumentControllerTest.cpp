#include "AppKitTestSupport.h"

#include "appkit/CommandRouter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

TEST(DocumentControllerTest, OpensAFileOnceWhateverPathNamesIt)
{
    AppKitHarness app;
    QDir(app.folder.path()).mkdir(QStringLiteral("sub"));
    app.writeFile(QStringLiteral("sub/model.dummy"), "x");
    DummyDocument* document = app.open(QStringLiteral("sub/model.dummy"));
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(QFile::link(
        app.path(QStringLiteral("sub/model.dummy")), app.path(QStringLiteral("link.DMY"))));

    EXPECT_EQ(app.open(QStringLiteral("sub/../sub/./model.dummy")), document);
    EXPECT_EQ(app.open(QStringLiteral("link.DMY")), document)
        << "a link to an open file opens nothing new; extensions match in any case";
    EXPECT_EQ(app.controller.documents().size(), 1U);
    EXPECT_EQ(app.controller.typeForPath(QStringLiteral("a.DUMMY")), DummyType);
    EXPECT_EQ(app.controller.typeForPath(QStringLiteral("a.txt")), QString());
}

TEST(DocumentControllerTest, NamesUntitledDocumentsInTurn)
{
    AppKitHarness app;
    UErrorPtr error;
    Document* first = app.controller.openUntitledDocumentOfType(DummyType, false, &error);
    Document* second = app.controller.openUntitledDocumentOfType(DummyType, false, &error);
    EXPECT_EQ(first->displayName(), QStringLiteral("Untitled"));
    EXPECT_EQ(second->displayName(), QStringLiteral("Untitled 2"));
    EXPECT_TRUE(first->windowControllers().empty()) << "not displayed, so no window";
    first->close();
    Document* third = app.controller.openUntitledDocumentOfType(DummyType, true, &error);
    EXPECT_EQ(third->displayName(), QStringLiteral("Untitled"));
    EXPECT_EQ(
        third->windowControllers().at(0)->window()->windowTitle(), QStringLiteral("Untitled[*]"));

    EXPECT_EQ(app.controller.openUntitledDocumentOfType(QStringLiteral("Nothing"), true, &error),
        nullptr);
    EXPECT_EQ(error->code(), 11001);
}

TEST(DocumentControllerTest, ReviewsUnsavedDocumentsBeforeQuitting)
{
    AppKitHarness app;
    for (const char* name : { "a.dummy", "b.dummy", "c.dummy" }) {
        app.writeFile(QString::fromLatin1(name), name);
    }
    DummyDocument* a = app.open(QStringLiteral("a.dummy"));
    app.open(QStringLiteral("b.dummy"));
    DummyDocument* c = app.open(QStringLiteral("c.dummy"));
    a->append(QStringLiteral("+"));
    c->append(QStringLiteral("+"));
    EXPECT_TRUE(app.controller.hasEditedDocuments());

    int answers = 0;
    bool mayQuit = true;
    app.controller.reviewUnsavedDocuments([&](bool quit) {
        ++answers;
        mayQuit = quit;
    });
    EXPECT_EQ(app.sheets.pendingAlert().messageText,
        QStringLiteral("Do you want to save the changes you made in the document “a.dummy”?"));
    app.sheets.answer(Document::CloseAnswerSave);
    EXPECT_EQ(app.readFile(QStringLiteral("a.dummy")), QByteArray("a.dummy+"));
    EXPECT_EQ(app.sheets.pendingAlert().messageText,
        QStringLiteral("Do you want to save the changes you made in the document “c.dummy”?"));
    app.sheets.answer(Document::CloseAnswerCancel);
    EXPECT_EQ(answers, 1);
    EXPECT_FALSE(mayQuit);
    EXPECT_EQ(app.controller.documents().size(), 2U) << "a closed, b and c open";

    app.controller.reviewUnsavedDocuments([&](bool quit) { mayQuit = quit; });
    app.sheets.answer(Document::CloseAnswerDontSave);
    EXPECT_TRUE(mayQuit);
    EXPECT_FALSE(app.sheets.hasPending()) << "the clean document is not asked about";
    EXPECT_EQ(app.readFile(QStringLiteral("c.dummy")), QByteArray("c.dummy"));
    finishEventTurn();
}

TEST(DocumentControllerTest, OpenCommandOpensWhatThePanelChose)
{
    AppKitHarness app;
    CommandRouter router(app.tracker);
    router.setDocumentController(&app.controller);
    app.writeFile(QStringLiteral("one.dummy"), "x");
    app.panels.openPaths
        = { app.path(QStringLiteral("one.dummy")), app.path(QStringLiteral("gone.dummy")) };
    EXPECT_TRUE(router.perform(QStringLiteral("openDocument:")));
    ASSERT_EQ(app.panels.openPanels.size(), 1U);
    EXPECT_TRUE(app.panels.openPanels[0].allowedExtensions.contains(DummyExtension));
    ASSERT_EQ(app.controller.documents().size(), 1U);
    EXPECT_EQ(app.controller.currentDocument(), app.controller.documents()[0]);
    ASSERT_TRUE(app.sheets.hasPending());
    EXPECT_EQ(app.sheets.pendingWindow(), nullptr) << "an open error has no window to sit on";
    EXPECT_EQ(app.sheets.pendingAlert().messageText,
        QStringLiteral("File '%1' does not exist.").arg(app.path(QStringLiteral("gone.dummy"))));
}
