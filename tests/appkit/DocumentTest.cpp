#include "AppKitTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QWidget>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString FileName = QStringLiteral("beam.dummy");

// Limits the size of files this process may write, so that a write fails half-way as on a full
// disk (root ignores permissions, so a read-only folder would not make it fail).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_ {};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

TEST(DocumentTest, OpensSavesAndCountsChangesThroughUndoGroups)
{
    AppKitHarness app;
    app.writeFile(FileName, "one");
    DummyDocument* document = app.open(FileName);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->text(), QStringLiteral("one"));
    EXPECT_EQ(document->displayName(), FileName);
    EXPECT_EQ(document->fileType(), DummyType);
    EXPECT_FALSE(document->isDocumentEdited());
    QWidget* window = document->windowControllers().at(0)->window();
    EXPECT_EQ(window->windowTitle(), FileName + QStringLiteral("[*]"));

    document->append(QStringLiteral(" two"));
    document->append(QStringLiteral(" three"));
    EXPECT_EQ(document->changeCount(), 2);
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_TRUE(window->isWindowModified());

    bool saved = false;
    document->save([&](bool succeeded) { saved = succeeded; });
    EXPECT_TRUE(saved);
    EXPECT_EQ(app.readFile(FileName), QByteArray("one two three"));
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(app.panels.savePanels.empty());

    // Undo after a save takes the document away from what is on disk.
    document->undoManager().undo();
    EXPECT_EQ(document->text(), QStringLiteral("one two"));
    EXPECT_EQ(document->changeCount(), -1);
    EXPECT_TRUE(document->isDocumentEdited());
    document->undoManager().redo();
    EXPECT_EQ(document->changeCount(), 0);
    EXPECT_FALSE(document->isDocumentEdited());
}

TEST(DocumentTest, ChangesOfOneEventTurnCountOnce)
{
    AppKitHarness app;
    app.writeFile(FileName, "");
    DummyDocument* document = app.open(FileName);
    document->setText(QStringLiteral("a"));
    document->setText(QStringLiteral("ab"));
    EXPECT_EQ(document->changeCount(), 0);
    finishEventTurn();
    EXPECT_EQ(document->changeCount(), 1);
    document->undoManager().undo();
    EXPECT_EQ(document->text(), QString());
    EXPECT_FALSE(document->isDocumentEdited());
}

TEST(DocumentTest, SaveOfUntitledDocumentGoesThroughSavePanel)
{
    AppKitHarness app;
    UErrorPtr error;
    auto* document = static_cast<DummyDocument*>(
        app.controller.openUntitledDocumentOfType(DummyType, true, &error));
    ASSERT_NE(document, nullptr);
    document->append(QStringLiteral("new"));

    bool result = true;
    app.panels.savePath = QString();
    document->save([&](bool succeeded) { result = succeeded; });
    EXPECT_FALSE(result) << "cancelling the panel saves nothing";
    EXPECT_TRUE(document->isDocumentEdited());
    ASSERT_EQ(app.panels.savePanels.size(), 1U);
    EXPECT_EQ(app.panels.savePanels[0].fileName, QStringLiteral("Untitled.dummy"));
    EXPECT_EQ(app.panels.savePanels[0].allowedExtensions.value(0), DummyExtension);
    EXPECT_EQ(app.panels.windows[0], document->windowControllers().at(0)->window());

    app.panels.savePath = app.path(QStringLiteral("first.dummy"));
    document->save([&](bool succeeded) { result = succeeded; });
    EXPECT_TRUE(result);
    EXPECT_EQ(app.readFile(QStringLiteral("first.dummy")), QByteArray("new"));
    EXPECT_EQ(document->displayName(), QStringLiteral("first.dummy"));
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_EQ(app.controller.documentForPath(app.path(QStringLiteral("first.dummy"))), document);

    // Save As writes the new file and leaves the old one as it was.
    document->append(QStringLiteral(" more"));
    app.panels.savePath = app.path(QStringLiteral("second.dummy"));
    document->saveAs();
    EXPECT_EQ(app.panels.savePanels.back().fileName, QStringLiteral("first.dummy"));
    EXPECT_EQ(QDir(app.panels.savePanels.back().directory), QDir(app.folder.path()));
    EXPECT_EQ(app.readFile(QStringLiteral("second.dummy")), QByteArray("new more"));
    EXPECT_EQ(app.readFile(QStringLiteral("first.dummy")), QByteArray("new"));
    EXPECT_EQ(document->fileName(), QStringLiteral("second.dummy"));
}

TEST(DocumentTest, FailedWriteKeepsOldFileWholeAndDocumentEdited)
{
    AppKitHarness app;
    const QByteArray old = "old contents";
    app.writeFile(FileName, old);
    DummyDocument* document = app.open(FileName);
    document->setText(QString(64 * 1024, QLatin1Char('x')));
    finishEventTurn();

    bool result = true;
    {
        FileSizeLimit limit(4096);
        document->save([&](bool succeeded) { result = succeeded; });
    }
    EXPECT_FALSE(result);
    EXPECT_EQ(app.readFile(FileName), old);
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(QDir(app.folder.path()).entryList(QDir::Files), QStringList { FileName })
        << "no temporary file is left behind";
    ASSERT_TRUE(app.sheets.hasPending());
    EXPECT_EQ(app.sheets.pendingAlert().messageText,
        QStringLiteral("The file “beam.dummy” could not be saved. File too large."));
    EXPECT_EQ(app.sheets.pendingWindow(), document->windowForSheet());

    // A save-as that fails keeps the document's file.
    app.sheets.answer(0);
    app.panels.savePath = app.path(QStringLiteral("missing/folder.dummy"));
    document->saveAs([&](bool succeeded) { result = succeeded; });
    EXPECT_FALSE(result);
    EXPECT_EQ(document->fileName(), FileName);
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST(DocumentTest, RevertReadsTheFileAgainAfterConfirmation)
{
    AppKitHarness app;
    app.writeFile(FileName, "saved");
    DummyDocument* document = app.open(FileName);
    CommandItem revert(QStringLiteral("revertDocumentToSaved:"));
    EXPECT_FALSE(document->validateCommand(revert)) << "nothing to revert";

    document->append(QStringLiteral(" edited"));
    EXPECT_TRUE(document->validateCommand(revert));
    document->performCommand(revert);
    ASSERT_TRUE(app.sheets.hasPending());
    EXPECT_EQ(app.sheets.pendingAlert().buttons,
        (QStringList { QStringLiteral("Revert"), QStringLiteral("Cancel") }));
    app.sheets.answer(1);
    EXPECT_EQ(document->text(), QStringLiteral("saved edited"));

    document->performCommand(revert);
    app.sheets.answer(0);
    EXPECT_EQ(document->text(), QStringLiteral("saved"));
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_FALSE(document->undoManager().canUndo());
}

TEST(DocumentTest, ClosePromptSavesDiscardsOrCancels)
{
    AppKitHarness app;
    app.writeFile(FileName, "disk");
    DummyDocument* document = app.open(FileName);
    WindowController* window = document->windowControllers().at(0).get();
    document->append(QStringLiteral(" edit"));

    window->close();
    ASSERT_TRUE(app.sheets.hasPending());
    EXPECT_EQ(app.sheets.pendingAlert().messageText,
        QStringLiteral("Do you want to save the changes you made in the document “beam.dummy”?"));
    EXPECT_EQ(app.sheets.pendingAlert().buttons,
        (QStringList {
            QStringLiteral("Save"), QStringLiteral("Cancel"), QStringLiteral("Don't Save") }));
    window->close();
    EXPECT_EQ(app.sheets.alerts.size(), 1U) << "a second close asks no second time";
    app.sheets.answer(Document::CloseAnswerCancel);
    EXPECT_TRUE(window->window()->isVisible());
    EXPECT_EQ(app.controller.documents().size(), 1U);

    // Save that fails: the document stays open and the failure is shown.
    document->failWrites = true;
    window->close();
    app.sheets.answer(Document::CloseAnswerSave);
    EXPECT_EQ(app.controller.documents().size(), 1U);
    ASSERT_TRUE(app.sheets.hasPending());
    EXPECT_EQ(app.sheets.pendingAlert().messageText,
        QStringLiteral("Creating File 'beam.dummy' failed."));
    app.sheets.answer(0);
    EXPECT_EQ(app.readFile(FileName), QByteArray("disk"));

    document->failWrites = false;
    window->close();
    app.sheets.answer(Document::CloseAnswerSave);
    EXPECT_EQ(app.readFile(FileName), QByteArray("disk edit"));
    EXPECT_TRUE(app.controller.documents().empty());
    finishEventTurn();
}

TEST(DocumentTest, DontSaveClosesWithoutWriting)
{
    AppKitHarness app;
    app.writeFile(FileName, "disk");
    DummyDocument* document = app.open(FileName);
    document->append(QStringLiteral(" edit"));
    document->windowControllers().at(0)->close();
    app.sheets.answer(Document::CloseAnswerDontSave);
    EXPECT_TRUE(app.controller.documents().empty());
    EXPECT_EQ(app.readFile(FileName), QByteArray("disk"));
    finishEventTurn();

    // A clean document closes without a prompt.
    DummyDocument* clean = app.open(FileName);
    clean->windowControllers().at(0)->close();
    EXPECT_FALSE(app.sheets.hasPending());
    EXPECT_TRUE(app.controller.documents().empty());
}

TEST(DocumentTest, ClosingOneOfTwoWindowsKeepsTheDocument)
{
    AppKitHarness app;
    app.writeFile(FileName, "disk");
    DummyDocument* document = app.open(FileName);
    document->makeWindowControllers();
    ASSERT_EQ(document->windowControllers().size(), 2U);
    document->append(QStringLiteral(" edit"));
    document->windowControllers().at(1)->close();
    finishEventTurn();
    EXPECT_FALSE(app.sheets.hasPending());
    EXPECT_EQ(document->windowControllers().size(), 1U);
    EXPECT_EQ(app.controller.documents().size(), 1U);
}

TEST(DocumentTest, ReadErrorsComeFromTheCatalogue)
{
    AppKitHarness app;
    UErrorPtr error;
    EXPECT_EQ(
        app.controller.openDocument(app.path(QStringLiteral("none.dummy")), true, &error), nullptr);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 11016);

    QDir(app.folder.path()).mkdir(QStringLiteral("folder.dummy"));
    EXPECT_EQ(app.controller.openDocument(app.path(QStringLiteral("folder.dummy")), true, &error),
        nullptr);
    EXPECT_EQ(error->code(), 11017);

    app.writeFile(QStringLiteral("notes.txt"), "text");
    EXPECT_EQ(
        app.controller.openDocument(app.path(QStringLiteral("notes.txt")), true, &error), nullptr);
    EXPECT_EQ(error->code(), 11001);
    EXPECT_EQ(error->localizedDescription(), QStringLiteral("Unknown File Type 'txt'."));

    app.writeFile(FileName, "unreadable");
    EXPECT_EQ(app.controller.openDocument(app.path(FileName), true, &error), nullptr);
    EXPECT_EQ(error->code(), 11002);
    EXPECT_TRUE(app.controller.documents().empty());
}
