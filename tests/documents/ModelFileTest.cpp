#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemModelFileText.h"
#include "documents/document/UFemProjectFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>

namespace {

const QString RestraintModel = QStringLiteral("Node, N1, , 0, 0, 0\n"
                                              "RestraintExpression, R1, N1\n"
                                              "Node, RestraintExpression, , 1, 0, 0\n"
                                              "RestraintExpression, R2, N1\n");

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding, bool withBom)
{
    QStringEncoder encoder(
        encoding, withBom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

UFemProjectFileContents projectWithModel(const QString& modelPath)
{
    UFemProjectFileContents contents;
    contents.projectModelFilePathString = modelPath;
    contents.projectDoesLoadModelDataAuto = true;
    contents.projectResultFilePathString = QStringLiteral("m.vtresult");
    return contents;
}

// A project with its model loaded and edited once; its model path names `modelPath`.
UFemDocument& editedProject(DocumentHarness& harness, const QString& modelPath)
{
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeFile(
        QStringLiteral("p.vtproj"), UFemProjectFileData(projectWithModel("m.vtmodel")));
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    document.undoManager().setGroupsByEvent(false);
    document.undoManager().beginUndoGrouping();
    UErrorPtr error;
    EXPECT_TRUE(document.dataController().removeCardAtIndex(1, &error));
    document.undoManager().endUndoGrouping();
    document.setProjectModelFilePathString(modelPath);
    return document;
}

bool saveOf(UFemDocument& document)
{
    bool saved = true;
    document.save([&](bool succeeded) { saved = succeeded; });
    return saved;
}

} // namespace

TEST(ModelFile, Utf16WithByteOrderMarkReadsAsItsUtf8Twin)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("a.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeFile(
        QStringLiteral("le.vtmodel"), encoded(TwoNodeModel, QStringConverter::Utf16LE, true));
    harness.writeFile(
        QStringLiteral("be.vtmodel"), encoded(TwoNodeModel, QStringConverter::Utf16BE, true));
    harness.writeFile(QStringLiteral("bom8.vtmodel"), "\xEF\xBB\xBF" + TwoNodeModel.toUtf8());
    const QString expected
        = harness.open(QStringLiteral("a.vtmodel"))->dataController().modelTextOfAllCards();
    EXPECT_EQ(harness.open(QStringLiteral("a.vtmodel"))->dataController().cardCount(), 2u);
    for (const char* name : { "le.vtmodel", "be.vtmodel", "bom8.vtmodel" }) {
        UFemDocument& document = *harness.open(QString::fromUtf8(name));
        EXPECT_EQ(document.dataController().modelTextOfAllCards(), expected) << name;
        EXPECT_TRUE(document.dataController().errorCardArray().count() == 0) << name;
    }
}

TEST(ModelFile, OnlyTheLeadingByteOrderMarkIsDropped)
{
    const QString text = QChar(0xFEFF) + QStringLiteral("\\ x");
    for (const QStringConverter::Encoding encoding :
        { QStringConverter::Utf8, QStringConverter::Utf16LE, QStringConverter::Utf16BE }) {
        const std::optional<QString> decoded
            = UFemModelTextFromModelFileData(encoded(text, encoding, true));
        ASSERT_TRUE(decoded.has_value()) << int(encoding);
        EXPECT_EQ(*decoded, text) << int(encoding);
    }
}

TEST(ModelFile, DataThatIsNeitherUtf8NorUtf16IsRefusedWithPairedLockNotifications)
{
    EXPECT_FALSE(UFemModelTextFromModelFileData(QByteArray("\xFF\xFE\x41", 3)).has_value());
    EXPECT_FALSE(UFemModelTextFromModelFileData(QByteArray("\xD8\x00\x00\x41", 4)).has_value());

    DocumentHarness harness;
    harness.writeFile(QStringLiteral("bad.vtmodel"), QByteArray("\xC3\x28\x80", 3));
    const UErrorPtr opening = harness.openingError(QStringLiteral("bad.vtmodel"));
    ASSERT_NE(opening, nullptr);
    EXPECT_EQ(opening->code(), 11002);

    harness.writeFile(QStringLiteral("p.vtproj"), {});
    UFemDocument& project = *harness.open(QStringLiteral("p.vtproj"));
    LockNotificationRecorder recorder(project);
    UErrorPtr error;
    EXPECT_FALSE(project.loadModelFileData(QByteArray("\xC3\x28\x80", 3), &error));
    EXPECT_EQ(error->code(), 11002);
    EXPECT_FALSE(project.hasModelData());
    EXPECT_TRUE(recorder.arePaired());
}

TEST(ModelFile, RestraintExpressionAtTheHeadOfRowsIsReplacedOnlyWhenTheUserAgrees)
{
    EXPECT_EQ(UFemModelTextReplacingRestraintExpression(RestraintModel),
        QStringLiteral("Node, N1, , 0, 0, 0\n"
                       "RestraintEquation, R1, N1\n"
                       "Node, RestraintExpression, , 1, 0, 0\n"
                       "RestraintEquation, R2, N1\n"));
    EXPECT_EQ(UFemModelTextReplacingRestraintExpression(QStringLiteral("RestraintExpression, R\n")),
        QStringLiteral("RestraintEquation, R\n"));
    EXPECT_FALSE(
        UFemModelTextHasRestraintExpressionRow(QStringLiteral("RestraintExpression, R\n")));

    DocumentHarness harness;
    harness.writeFile(QStringLiteral("r.vtmodel"), RestraintModel.toUtf8());
    harness.prompt.replacesRestraintExpression = false;
    UFemDocument& kept = *harness.open(QStringLiteral("r.vtmodel"));
    EXPECT_EQ(harness.prompt.restraintExpressionQuestions, 1);
    EXPECT_FALSE(kept.isDocumentEdited());
    EXPECT_TRUE(kept.dataController().modelTextOfAllCards().contains(
        QStringLiteral("\nRestraintExpression")));
    kept.close();

    harness.prompt.replacesRestraintExpression = true;
    UFemDocument& replaced = *harness.open(QStringLiteral("r.vtmodel"));
    EXPECT_EQ(harness.prompt.restraintExpressionQuestions, 2);
    const QString text = replaced.dataController().modelTextOfAllCards();
    EXPECT_FALSE(text.contains(QStringLiteral("\nRestraintExpression")));
    EXPECT_TRUE(text.contains(QStringLiteral("RestraintExpression")));
}

TEST(ModelFile, UnloadingTheModelOfAModelDocumentLeavesAnEmptyModel)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    UFemDocument& document = *harness.open(QStringLiteral("m.vtmodel"));
    LockNotificationRecorder recorder(document);
    document.unloadModelData();
    EXPECT_TRUE(document.hasModelData());
    EXPECT_EQ(document.dataController().cardCount(), 0u);
    EXPECT_TRUE(recorder.arePaired());
    UErrorPtr error;
    EXPECT_EQ(document.modelFileData(&error), QByteArray());
    EXPECT_FALSE(document.readFromData({}, QStringLiteral("Picture"), &error));
    EXPECT_EQ(error->code(), 11001);
}

TEST(ModelFile, AModelThatCannotBeWrittenStillWritesTheProjectAndKeepsTheModelEdited)
{
    DocumentHarness harness;
    // A path under a plain file can never be written, whoever runs the test.
    harness.writeFile(QStringLiteral("plain"), "x");
    UFemDocument& document = editedProject(harness, QStringLiteral("plain/m.vtmodel"));
    EXPECT_FALSE(saveOf(document));
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts.front().messageText,
        QStringLiteral("Model File 'm.vtmodel' could not be saved."));
    EXPECT_FALSE(document.isProjectDocumentEdited());
    EXPECT_TRUE(document.isModelDocumentEdited());
    const auto written
        = UFemReadProjectFileData(harness.readFile(QStringLiteral("p.vtproj")), nullptr);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->projectModelFilePathString, QStringLiteral("plain/m.vtmodel"));

    // Closing after the failed save keeps the document open.
    document.closeAfterPrompt();
    harness.sheets.answer(Document::CloseAnswerSave);
    EXPECT_EQ(harness.controller.documents().size(), 1u);
}

TEST(ModelFile, EachPartIsMarkedSavedOnlyByItsOwnFile)
{
    DocumentHarness harness;
    UFemDocument& document = editedProject(harness, QStringLiteral("m.vtmodel"));
    ASSERT_TRUE(QFile::remove(harness.path(QStringLiteral("p.vtproj"))));
    ASSERT_TRUE(QDir(harness.folder.path()).mkdir(QStringLiteral("p.vtproj")));
    EXPECT_FALSE(saveOf(document));
    EXPECT_EQ(harness.sheets.alerts.back().messageText,
        QStringLiteral(
            "The operation couldn't be completed. Project File 'p.vtproj' could not be saved."));
    EXPECT_TRUE(document.isProjectDocumentEdited());
    EXPECT_FALSE(document.isModelDocumentEdited());
    EXPECT_EQ(harness.readFile(QStringLiteral("m.vtmodel")),
        document.dataController().modelTextOfAllCards().toUtf8());

    document.setProjectModelFilePathString(QStringLiteral("p.vtproj/m.vtmodel/x.vtmodel"));
    document.undoManager().beginUndoGrouping();
    UErrorPtr error;
    ASSERT_TRUE(document.dataController().removeCardAtIndex(0, &error));
    document.undoManager().endUndoGrouping();
    EXPECT_FALSE(saveOf(document));
    EXPECT_EQ(harness.sheets.alerts.back().messageText,
        QStringLiteral("Project File 'p.vtproj' and Model File 'x.vtmodel' could not be saved."));
    EXPECT_TRUE(document.isProjectDocumentEdited());
    EXPECT_TRUE(document.isModelDocumentEdited());

    ASSERT_TRUE(QDir(harness.path(QStringLiteral("p.vtproj"))).removeRecursively());
    document.setProjectModelFilePathString(QStringLiteral("m.vtmodel"));
    EXPECT_TRUE(saveOf(document));
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST(ModelFile, ExportWritesTheModelTextWhereChosenAndOnlyBeepsWithoutAModel)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("p.vtproj"), {});
    UFemDocument& empty = *harness.open(QStringLiteral("p.vtproj"));
    empty.saveModelDocumentTo();
    EXPECT_EQ(harness.beeps.sounds, QStringList { QString() });
    EXPECT_TRUE(harness.panels.savePanels.empty());

    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    UFemDocument& model = *harness.open(QStringLiteral("m.vtmodel"));
    harness.panels.savePath = harness.path(QStringLiteral("copy.vtmodel"));
    model.saveModelDocumentTo();
    ASSERT_EQ(harness.panels.savePanels.size(), 1u);
    EXPECT_EQ(harness.panels.savePanels.front().nameFieldLabel, QStringLiteral("Export As:"));
    EXPECT_EQ(harness.panels.savePanels.front().fileName, QStringLiteral("m.vtmodel"));
    EXPECT_EQ(harness.panels.savePanels.front().allowedExtensions, QStringList { "vtmodel" });
    EXPECT_EQ(harness.readFile(QStringLiteral("copy.vtmodel")),
        model.dataController().modelTextOfAllCards().toUtf8());

    harness.panels.savePath = harness.path(QStringLiteral("m.vtmodel/inside.vtmodel"));
    model.saveModelDocumentTo();
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts.front().messageText,
        QStringLiteral("Model File 'inside.vtmodel' could not be saved."));
}

TEST(ModelFile, IllegalCharacterLineOpensAndOnlyTextWithoutMarkIsRefused)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("ff.vtmodel"),
        "Node, N1, , 0, 0, 0 \\ page\fbreak\n" + TwoNodeModel.toUtf8());
    UFemDocument& document = *harness.open(QStringLiteral("ff.vtmodel"));
    EXPECT_EQ(document.dataController().cardCount(), 3u);
    EXPECT_EQ(document.dataController().errorCardArray().count(), 1u);

    // Latin-1 and UTF-16 without its byte-order mark would decode to strange characters.
    const QString accented = QStringLiteral("Node, N\u00E9, , 0, 0, 0\n");
    EXPECT_FALSE(UFemModelTextFromModelFileData(accented.toLatin1()).has_value());
    EXPECT_FALSE(UFemModelTextFromModelFileData(encoded(accented, QStringConverter::Utf16LE, false))
                     .has_value());
    EXPECT_EQ(UFemModelTextFromModelFileData(encoded(accented, QStringConverter::Utf16BE, true)),
        accented);
    harness.writeFile(QStringLiteral("latin1.vtmodel"), accented.toLatin1());
    const UErrorPtr opening = harness.openingError(QStringLiteral("latin1.vtmodel"));
    ASSERT_NE(opening, nullptr);
    EXPECT_EQ(opening->code(), 11002);
}

// UTF-16 of ASCII text without its mark is valid UTF-8 with a NUL in every other byte; read so,
// it would open as error cards full of NULs that saving writes back.
TEST(Utf16WithoutMark, AsciiTextIsRefusedAndTextWithAFewNulsStillOpens)
{
    const QByteArray nulls("\0\0\0\0", 4);
    const struct {
        const char* name;
        QByteArray data;
        bool isRefused;
    } cases[] = {
        { "little-endian", encoded(TwoNodeModel, QStringConverter::Utf16LE, false), true },
        { "big-endian", encoded(TwoNodeModel, QStringConverter::Utf16BE, false), true },
        { "one character", QByteArray("N\0", 2), true },
        { "NULs only", nulls, true },
        { "a line of NULs before text", nulls + "\n" + TwoNodeModel.toUtf8(), false },
        { "NULs in a comment", QByteArray("\\ a\0b\0\n", 7) + TwoNodeModel.toUtf8(), false },
        { "with its mark", encoded(TwoNodeModel, QStringConverter::Utf16LE, true), false },
        { "one byte", QByteArray("\0", 1), false },
    };
    DocumentHarness harness;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UFemModelTextFromModelFileData(c.data).has_value(), !c.isRefused);
        if (!c.isRefused)
            continue;
        harness.writeFile(QStringLiteral("u.vtmodel"), c.data);
        const UErrorPtr opening = harness.openingError(QStringLiteral("u.vtmodel"));
        ASSERT_NE(opening, nullptr);
        EXPECT_EQ(opening->code(), 11002);
    }
}
