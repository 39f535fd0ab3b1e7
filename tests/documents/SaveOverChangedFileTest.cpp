#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemProjectFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const QString ThreeNodeModel = QStringLiteral("Node, N1, , 0, 0, 0\n"
                                              "Node, N2, , 1, 0, 0\n"
                                              "Node, N3, , 2, 0, 0\n");
const QString ModelName = QStringLiteral("m.vtmodel");
const QString ProjectName = QStringLiteral("p.vtproj");
const QString ChangedModelMessage
    = QStringLiteral("The file “m.vtmodel” has been changed by another document or program since "
                     "it was opened or saved.");

void removeCardUndoably(UFemDocument& document, quint64 index)
{
    document.undoManager().setGroupsByEvent(false);
    document.undoManager().beginUndoGrouping();
    UErrorPtr error;
    EXPECT_TRUE(document.dataController().removeCardAtIndex(index, &error));
    document.undoManager().endUndoGrouping();
}

// The outcome of a save: "saved", "failed", or "asked" while it waits at a sheet.
std::shared_ptr<std::string> startSave(Document& document)
{
    auto outcome = std::make_shared<std::string>("asked");
    document.save([outcome](bool saved) { *outcome = saved ? "saved" : "failed"; });
    return outcome;
}

std::string saveOutcome(Document& document)
{
    return *startSave(document);
}

// The sheet waiting for an answer: its text and buttons.
std::string pendingSheet(const RecordingSheetPresenter& sheets)
{
    if (!sheets.hasPending())
        return "none";
    const Alert& alert = sheets.pendingAlert();
    return (alert.messageText + u'|' + alert.informativeText + u'|' + alert.buttons.join(u','))
        .toStdString();
}

std::string changedSheetOf(const QString& message)
{
    return (message + u'|' + "If you save anyway, the changes made there will be lost." + u'|'
        + "Save Anyway,Cancel")
        .toStdString();
}

UFemDocument& openProjectOnModel(DocumentHarness& harness)
{
    UFemProjectFileContents contents;
    contents.projectModelFilePathString = ModelName;
    contents.projectDoesLoadModelDataAuto = true;
    harness.writeFile(ProjectName, UFemProjectFileData(contents));
    return *harness.open(ProjectName);
}

QByteArray textOf(const UFemDocument& document)
{
    return document.dataController().modelTextOfAllCards().toUtf8();
}

// Rewrites the file in place, keeping its size, and moves its time on by one nanosecond: a
// rewrite that a stamp of seconds (or of the coarse clock) would miss.
void rewriteInPlaceOneNanosecondLater(const QString& path, const QByteArray& sameSized)
{
    struct stat before { };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_EQ(file.write(sameSized), before.st_size);
    file.close();
    timespec times[2] = { before.st_atim, before.st_mtim };
    times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

TEST(SaveOverChangedFile, AModelWindowAndAProjectOnOneFileNeverOverwriteEachOtherSilently)
{
    DocumentHarness harness;
    harness.writeFile(ModelName, ThreeNodeModel.toUtf8());
    UFemDocument& model = *harness.open(ModelName);
    UFemDocument& project = openProjectOnModel(harness);

    removeCardUndoably(project, 0);
    EXPECT_EQ(saveOutcome(project), "saved");
    const QByteArray projectText = textOf(project);
    EXPECT_EQ(harness.readFile(ModelName), projectText);

    removeCardUndoably(model, 2);
    std::shared_ptr<std::string> outcome = startSave(model);
    EXPECT_EQ(pendingSheet(harness.sheets), changedSheetOf(ChangedModelMessage));
    harness.sheets.answer(Document::SaveOverChangedAnswerCancel);
    EXPECT_EQ(*outcome, "failed");
    EXPECT_EQ(harness.readFile(ModelName), projectText);
    EXPECT_TRUE(model.isDocumentEdited());

    // The close prompt's Save goes through the same sheet; Cancel there keeps the window.
    model.closeAfterPrompt();
    harness.sheets.answer(Document::CloseAnswerSave);
    EXPECT_EQ(pendingSheet(harness.sheets), changedSheetOf(ChangedModelMessage));
    harness.sheets.answer(Document::SaveOverChangedAnswerCancel);
    EXPECT_EQ(harness.controller.documents().size(), 2u);
    EXPECT_EQ(harness.readFile(ModelName), projectText);

    outcome = startSave(model);
    EXPECT_EQ(*outcome, "asked");
    harness.sheets.answer(Document::SaveOverChangedAnswerSaveAnyway);
    EXPECT_EQ(*outcome, "saved");
    EXPECT_EQ(harness.readFile(ModelName), textOf(model));
    EXPECT_FALSE(model.isDocumentEdited());

    // Now the project's copy is the stale one: asked before either of its files is written.
    const QByteArray projectFile = harness.readFile(ProjectName);
    const QByteArray modelFile = harness.readFile(ModelName);
    project.setProjectTitleString(QStringLiteral("Renamed"));
    removeCardUndoably(project, 0);
    outcome = startSave(project);
    EXPECT_EQ(pendingSheet(harness.sheets), changedSheetOf(ChangedModelMessage));
    harness.sheets.answer(Document::SaveOverChangedAnswerCancel);
    EXPECT_EQ(*outcome, "failed");
    EXPECT_EQ(harness.readFile(ProjectName), projectFile);
    EXPECT_EQ(harness.readFile(ModelName), modelFile);
    EXPECT_TRUE(project.isProjectDocumentEdited());
    EXPECT_TRUE(project.isModelDocumentEdited());

    // Both files changed: the sheet names both.
    harness.writeFile(ProjectName, projectFile + "x");
    outcome = startSave(project);
    EXPECT_EQ(pendingSheet(harness.sheets),
        changedSheetOf(QStringLiteral("The files “p.vtproj” and “m.vtmodel” have been changed by "
                                      "another document or program since they were opened or "
                                      "saved.")));
    harness.sheets.answer(Document::SaveOverChangedAnswerSaveAnyway);
    EXPECT_EQ(*outcome, "saved");
    EXPECT_EQ(harness.readFile(ModelName), textOf(project));
    EXPECT_FALSE(project.isDocumentEdited());
    EXPECT_EQ(UFemReadProjectFileData(harness.readFile(ProjectName), nullptr)->projectTitleString,
        QStringLiteral("Renamed"));
}

TEST(SaveOverChangedFile, AFileChangedByAnotherProgramIsSeenByIdentitySizeAndNanosecondTime)
{
    const struct {
        const char* change;
        std::function<void(const QString& path)> write;
    } cases[] = {
        { "replaced by a new file of the same size",
            [](const QString& path) {
                QSaveFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(ThreeNodeModel.toUtf8().replace('2', '7'));
                ASSERT_TRUE(file.commit());
            } },
        { "rewritten in place with another size",
            [](const QString& path) {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(ThreeNodeModel.toUtf8() + "Node, N4, , 3, 0, 0\n");
            } },
        { "rewritten in place within the same clock tick",
            [](const QString& path) {
                rewriteInPlaceOneNanosecondLater(path, ThreeNodeModel.toUtf8().replace('1', '8'));
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        DocumentHarness harness;
        harness.writeFile(ModelName, ThreeNodeModel.toUtf8());
        UFemDocument& model = *harness.open(ModelName);
        removeCardUndoably(model, 0);
        c.write(harness.path(ModelName));
        const QByteArray theirs = harness.readFile(ModelName);

        EXPECT_EQ(saveOutcome(model), "asked");
        EXPECT_EQ(pendingSheet(harness.sheets), changedSheetOf(ChangedModelMessage));
        harness.sheets.answer(Document::SaveOverChangedAnswerCancel);
        EXPECT_EQ(harness.readFile(ModelName), theirs);
        EXPECT_TRUE(model.isDocumentEdited());
    }
}

TEST(SaveOverChangedFile, AVanishedFileIsWrittenAgainAndOwnWritesRaiseNoAlarm)
{
    DocumentHarness harness;
    harness.writeFile(ModelName, ThreeNodeModel.toUtf8());
    harness.writeFile(QStringLiteral("other.vtmodel"), "Node, X, , 0, 0, 0\n");
    UFemDocument& model = *harness.open(ModelName);
    UFemDocument& project = openProjectOnModel(harness);
    harness.sheets.alerts.clear();

    ASSERT_TRUE(QFile::remove(harness.path(ModelName)));
    removeCardUndoably(model, 0);
    EXPECT_EQ(saveOutcome(model), "saved");
    EXPECT_EQ(harness.readFile(ModelName), textOf(model));

    // The document's own saves, one right after another, and its revert.
    removeCardUndoably(model, 0);
    EXPECT_EQ(saveOutcome(model), "saved");
    removeCardUndoably(model, 0);
    EXPECT_EQ(saveOutcome(model), "saved");
    UErrorPtr error;
    ASSERT_TRUE(model.revertToSaved(&error));
    harness.writeFile(ModelName, ThreeNodeModel.toUtf8());
    ASSERT_TRUE(model.revertToSaved(&error));
    removeCardUndoably(model, 0);
    EXPECT_EQ(saveOutcome(model), "saved");
    // Exported over its own file.
    harness.panels.savePath = harness.path(ModelName);
    model.saveModelDocumentTo();
    ASSERT_EQ(harness.readFile(ModelName), textOf(model));
    EXPECT_EQ(saveOutcome(model), "saved");

    // Save As onto another file is no conflict, and the new file is then the one compared.
    harness.panels.savePath = harness.path(QStringLiteral("other.vtmodel"));
    removeCardUndoably(model, 0);
    model.saveAs();
    EXPECT_EQ(harness.readFile(QStringLiteral("other.vtmodel")), textOf(model));
    harness.writeFile(QStringLiteral("other.vtmodel"), "Node, Y, , 0, 0, 0\n");
    EXPECT_EQ(saveOutcome(model), "asked");
    harness.sheets.answer(Document::SaveOverChangedAnswerSaveAnyway);

    // A project reloaded after a revert compares with what it read then.
    ASSERT_TRUE(project.revertToSaved(&error));
    removeCardUndoably(project, 0);
    EXPECT_EQ(saveOutcome(project), "saved");
    project.setProjectCommentString(QStringLiteral("again"));
    removeCardUndoably(project, 0);
    EXPECT_EQ(saveOutcome(project), "saved");
    EXPECT_FALSE(harness.sheets.hasPending());
    EXPECT_EQ(harness.sheets.alerts.size(), 1u);
}
