#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemProjectFile.h"
#include "documents/document/UFemProjectFilePath.h"
#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

#include <QDir>

#include <limits>
#include <utility>

namespace {

const QString MinimumVersionNumberKey
    = QStringLiteral("UFemMinimumApplicationVersionNumberForDataType");
const QString MinimumVersionStringKey
    = QStringLiteral("UFemMinimumApplicationVersionStringForDataType");

UFemProjectFileContents projectNaming(const QString& modelPath, const QString& resultPath)
{
    UFemProjectFileContents contents;
    contents.projectTitleString = QStringLiteral("Beam");
    contents.projectModelFilePathString = modelPath;
    contents.projectDoesLoadModelDataAuto = true;
    contents.projectResultFilePathString = resultPath;
    contents.projectDoesLoadResultDataAuto = true;
    return contents;
}

QByteArray changedArchive(const QByteArray& data, const std::function<void(KeyedArchive&)>& change)
{
    std::optional<KeyedArchive> archive = KeyedArchive::fromData(data);
    EXPECT_TRUE(archive.has_value());
    change(*archive);
    return archive->data();
}

QStringList keysOf(const QByteArray& data)
{
    QStringList keys;
    const std::optional<KeyedArchive> archive = KeyedArchive::fromData(data);
    if (archive) {
        for (const KeyedArchiveField& field : archive->fields())
            keys << field.key;
    }
    return keys;
}

KeyedArchiveObject fontObject()
{
    KeyedArchiveObject font;
    font.className = QStringLiteral("NSFont");
    font.classes = { QStringLiteral("NSFont"), QStringLiteral("NSObject") };
    font.fields
        = { { QStringLiteral("NSName"), QStringLiteral("Monaco"), KeyedArchiveStorage::Reference },
              { QStringLiteral("NSSize"), 12.0, KeyedArchiveStorage::Inline } };
    return font;
}

// A project file built by another property-list writer in the platform archiver's layout, with a
// preferences dictionary {"threads": 3}.
const QByteArray ForeignProjectFile = QByteArray::fromBase64(
    "YnBsaXN0MDDUAQIDBAUGITtZJGFyY2hpdmVyWCRvYmplY3RzVCR0b3BYJHZlcnNpb25fEA9OU0tleWVkQXJjaGl2ZXKt"
    "BwgJCgsMDQ4PEBkaG1UkbnVsbF8QE1VGZW1Qcm9qZWN0RG9jdW1lbnRTMC44WTAuOC4xLjUuMVRCZWFtW0RlYyA3LCAy"
    "MDI2UFxCZWFtLnZ0bW9kZWxdQmVhbS52dHJlc3VsdNMREhMUFRdWJGNsYXNzV05TLmtleXNaTlMub2JqZWN0c4AMoRaA"
    "CqEYgAtXdGhyZWFkcxAD0hwdHh9YJGNsYXNzZXNaJGNsYXNzbmFtZaIfIFxOU0RpY3Rpb25hcnlYTlNPYmplY3TdIiMk"
    "JSYnKCkqKywtLi8wMTIzNDU1Njc4OTpfECdVRmVtRGF0YUNyZWF0b3JBcHBsaWNhdGlvblZlcnNpb25OdW1iZXJfECdV"
    "RmVtRGF0YUNyZWF0b3JBcHBsaWNhdGlvblZlcnNpb25TdHJpbmdfEBJVRmVtRGF0YVR5cGVTdHJpbmdfEC5VRmVtTWlu"
    "aW11bUFwcGxpY2F0aW9uVmVyc2lvbk51bWJlckZvckRhdGFUeXBlXxAuVUZlbU1pbmltdW1BcHBsaWNhdGlvblZlcnNp"
    "b25TdHJpbmdGb3JEYXRhVHlwZV8QFHByb2plY3RDb21tZW50U3RyaW5nXxAccHJvamVjdERvZXNMb2FkTW9kZWxEYXRh"
    "QXV0b18QHXByb2plY3REb2VzTG9hZFJlc3VsdERhdGFBdXRvXxAacHJvamVjdE1vZGVsRmlsZVBhdGhTdHJpbmdfEBxw"
    "cm9qZWN0UHJlZmVyZW5jZXNEaWN0aW9uYXJ5XxAbcHJvamVjdFJlc3VsdEZpbGVQYXRoU3RyaW5nXxAScHJvamVjdFRp"
    "dGxlU3RyaW5nXxAUcHJvamVjdFZlcnNpb25TdHJpbmcSAAw5G4ADgAESAAw1AIACgAYJgAeACYAIgASABRIAAYagAAgA"
    "EQAbACQAKQAyAEQAUgBYAG4AcgB8AIEAjQCOAJsAqQCwALcAvwDKAMwAzgDQANIA1ADcAN4A4wDsAPcA+gEHARABKwFV"
    "AX8BlAHFAfYCDQIsAkwCaQKIAqYCuwLSAtcC2QLbAuAC4gLkAuUC5wLpAusC7QLvAAAAAAAAAgEAAAAAAAAAPAAAAAAA"
    "AAAAAAAAAAAAAvQ=");

} // namespace

TEST(ProjectFile, AFileOfThePlatformArchiverOpensWithAllItsFields)
{
    UErrorPtr error;
    const auto contents = UFemReadProjectFileData(ForeignProjectFile, &error);
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->projectTitleString, QStringLiteral("Beam"));
    EXPECT_EQ(contents->projectVersionString, QStringLiteral("Dec 7, 2026"));
    EXPECT_EQ(contents->projectCommentString, QString());
    EXPECT_EQ(contents->projectModelFilePathString, QStringLiteral("Beam.vtmodel"));
    EXPECT_TRUE(contents->projectDoesLoadModelDataAuto);
    EXPECT_EQ(contents->projectResultFilePathString, QStringLiteral("Beam.vtresult"));
    EXPECT_TRUE(contents->projectDoesLoadResultDataAuto);
    ASSERT_TRUE(contents->projectPreferencesDictionary.has_value());
    EXPECT_EQ(contents->projectPreferencesDictionary->value("threads").toLongLong(), 3);
}

TEST(ProjectFile, AnEmptyFileOpensAsANewProjectAndSavesThirteenKeysInOrder)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("Beam.vtproj"), {});
    UFemDocument& document = *harness.open(QStringLiteral("Beam.vtproj"));
    EXPECT_TRUE(document.hasProjectData());
    EXPECT_FALSE(document.doesProjectFileContainData());
    EXPECT_EQ(document.projectTitleString(), QString());
    EXPECT_FALSE(document.projectVersionString().value_or(QString()).isEmpty());
    EXPECT_EQ(document.projectModelFilePathString(), QStringLiteral("Beam.vtmodel"));
    EXPECT_EQ(document.projectResultFilePathString(), QStringLiteral("Beam.vtresult"));
    EXPECT_TRUE(document.projectDoesLoadModelDataAuto());
    EXPECT_TRUE(document.projectDoesLoadResultDataAuto());
    EXPECT_FALSE(document.projectPreferencesDictionary().has_value());
    EXPECT_FALSE(document.hasModelData());
    EXPECT_FALSE(document.isDocumentEdited());
    UErrorPtr error;
    EXPECT_EQ(document.projectModelFileURL(&error), harness.path(QStringLiteral("Beam.vtmodel")));

    bool saved = false;
    document.save([&](bool succeeded) { saved = succeeded; });
    ASSERT_TRUE(saved);
    EXPECT_EQ(keysOf(harness.readFile(QStringLiteral("Beam.vtproj"))),
        QStringList({ "UFemDataTypeString", "UFemMinimumApplicationVersionStringForDataType",
            "UFemMinimumApplicationVersionNumberForDataType",
            "UFemDataCreatorApplicationVersionString", "UFemDataCreatorApplicationVersionNumber",
            "projectTitleString", "projectVersionString", "projectCommentString",
            "projectModelFilePathString", "projectDoesLoadModelDataAuto",
            "projectResultFilePathString", "projectDoesLoadResultDataAuto",
            "projectPreferencesDictionary" }));
}

TEST(ProjectFile, MinimumVersionUpToTheCreatorVersionOpensAndANewerOneIsRefused)
{
    const QByteArray written = UFemProjectFileData(projectNaming("m.vtmodel", "m.vtresult"));
    const KeyedArchive archive = *KeyedArchive::fromData(written);
    EXPECT_EQ(archive.decodeIntegerForKey(MinimumVersionNumberKey), 800000);
    EXPECT_EQ(
        archive.decodeIntegerForKey(QStringLiteral("UFemDataCreatorApplicationVersionNumber")),
        801051);

    UErrorPtr error;
    const QByteArray newest = changedArchive(
        written, [](KeyedArchive& a) { a.encodeInteger(801051, MinimumVersionNumberKey); });
    EXPECT_TRUE(UFemReadProjectFileData(newest, &error).has_value());

    const QByteArray tooNew = changedArchive(written, [](KeyedArchive& a) {
        a.encodeInteger(801052, MinimumVersionNumberKey);
        a.encodeObject(QStringLiteral("0.8.1.5.2"), MinimumVersionStringKey);
    });
    EXPECT_FALSE(UFemReadProjectFileData(tooNew, &error).has_value());
    EXPECT_EQ(error->code(), 11004);
    EXPECT_EQ(error->localizedOneLineDescription(),
        QStringLiteral("This Project Document required new application ( 'Vantrel ver.0.8.1.5.2' "
                       "or newer ). This File can't be opened."));

    const QByteArray unstated = changedArchive(
        tooNew, [](KeyedArchive& a) { a.encodeObject(QVariant(), MinimumVersionStringKey); });
    EXPECT_FALSE(UFemReadProjectFileData(unstated, &error).has_value());
    EXPECT_TRUE(error->localizedOneLineDescription().contains(
        QStringLiteral("'Vantrel ver.0.8 (or 0.8.0.1)'")));
}

TEST(ProjectFile, DamagedForeignOrMistypedArchivesAreUnknownProjectDocuments)
{
    const QByteArray written = UFemProjectFileData(projectNaming("m.vtmodel", "m.vtresult"));
    const QList<QByteArray> bad = {
        QByteArray("not an archive at all"),
        written.left(written.size() / 2),
        changedArchive(written,
            [](KeyedArchive& a) {
                a.encodeObject(
                    QStringLiteral("UFemModelDocument"), QStringLiteral("UFemDataTypeString"));
            }),
        changedArchive(written,
            [](KeyedArchive& a) {
                a.encodeObject(QVariant(), QStringLiteral("UFemDataTypeString"));
            }),
        changedArchive(written,
            [](KeyedArchive& a) {
                a.encodeObject(qint64(5), QStringLiteral("projectTitleString"));
            }),
        changedArchive(written,
            [](KeyedArchive& a) {
                a.encodeObject(QStringLiteral("x"), QStringLiteral("projectPreferencesDictionary"));
            }),
        // A minimum version that is no number cannot be checked.
        changedArchive(written,
            [](KeyedArchive& a) {
                a.encodeObject(QStringLiteral("801052"), MinimumVersionNumberKey);
            }),
        changedArchive(written,
            [](KeyedArchive& a) {
                a.encodeObject(std::numeric_limits<double>::quiet_NaN(), MinimumVersionNumberKey);
            }),
    };
    for (const QByteArray& data : bad) {
        UErrorPtr error;
        EXPECT_FALSE(UFemReadProjectFileData(data, &error).has_value());
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->code(), 11003);
    }
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("bad.vtproj"), bad.front());
    EXPECT_EQ(harness.openingError(QStringLiteral("bad.vtproj"))->code(), 11003);
}

TEST(ProjectFile, PreferencesWithObjectsOfUnknownClassesComeBackUnchanged)
{
    DocumentHarness harness;
    UFemProjectFileContents contents = projectNaming("m.vtmodel", "m.vtresult");
    contents.projectDoesLoadModelDataAuto = false;
    const QVariantMap preferences { { QStringLiteral("font"), QVariant::fromValue(fontObject()) },
        { QStringLiteral("threads"), qint64(3) } };
    contents.projectPreferencesDictionary = preferences;
    EXPECT_EQ(UFemReadProjectFileData(UFemProjectFileData(contents), nullptr), contents);

    harness.writeFile(QStringLiteral("p.vtproj"), UFemProjectFileData(contents));
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    document.setProjectCommentString(QStringLiteral("saved again"));
    bool saved = false;
    document.save([&](bool succeeded) { saved = succeeded; });
    ASSERT_TRUE(saved);
    const auto reread
        = UFemReadProjectFileData(harness.readFile(QStringLiteral("p.vtproj")), nullptr);
    ASSERT_TRUE(reread.has_value());
    ASSERT_TRUE(reread->projectPreferencesDictionary.has_value());
    EXPECT_EQ(reread->projectPreferencesDictionary->value("font").value<KeyedArchiveObject>(),
        fontObject());
    EXPECT_EQ(reread->projectPreferencesDictionary->value("threads").toLongLong(), 3);
    EXPECT_EQ(reread->projectCommentString, QStringLiteral("saved again"));
}

TEST(ProjectFile, RelativeAndHomePathsResolveAndTheModelLoadsWhenOpened)
{
    DocumentHarness harness;
    ASSERT_TRUE(QDir(harness.folder.path()).mkdir(QStringLiteral("sub")));
    harness.writeFile(QStringLiteral("sub/m.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeFile(QStringLiteral("p.vtproj"),
        UFemProjectFileData(projectNaming("sub/./m.vtmodel", "sub/missing.vtresult")));
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    UErrorPtr error;
    EXPECT_EQ(document.projectModelFileURL(&error), harness.path(QStringLiteral("sub/m.vtmodel")));
    EXPECT_TRUE(document.hasModelData());
    EXPECT_EQ(document.dataController().cardCount(), 2u);
    EXPECT_FALSE(document.isDocumentEdited());
    // The missing result is passed over in silence.
    finishEventTurn();
    EXPECT_FALSE(document.hasResultData());
    EXPECT_TRUE(harness.sheets.alerts.empty());

    document.setProjectModelFilePathString(QStringLiteral("~/m.vtmodel"));
    EXPECT_EQ(
        document.projectModelFileURL(&error), QDir::home().filePath(QStringLiteral("m.vtmodel")));
    EXPECT_EQ(document.projectDirectoryPathString().right(1), QStringLiteral("/"));
}

TEST(ProjectFile, AModelPathWithAnotherExtensionIsNotLoaded)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.txt"), TwoNodeModel.toUtf8());
    harness.writeFile(
        QStringLiteral("p.vtproj"), UFemProjectFileData(projectNaming("m.txt", "m.vtresult")));
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    finishEventTurn();
    EXPECT_FALSE(document.hasModelData());
    EXPECT_FALSE(document.isProjectModelFilePathValid());
    EXPECT_TRUE(harness.sheets.alerts.empty());
    UErrorPtr error;
    EXPECT_FALSE(document.projectModelFileURL(&error).has_value());
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Unexpected error occurred. Project model file path invalid."));
    document.setProjectModelFilePathString(QStringLiteral(".vtmodel"));
    EXPECT_FALSE(document.isProjectModelFilePathValid());
}

TEST(ProjectFile, AMissingModelIsReportedAfterOpeningAndItsResultIsNotLoaded)
{
    DocumentHarness harness;
    harness.writeFile(
        QStringLiteral("m.vtresult"), FakeResultData::fileData(canonicalModelText(TwoNodeModel)));
    harness.writeFile(
        QStringLiteral("p.vtproj"), UFemProjectFileData(projectNaming("m.vtmodel", "m.vtresult")));
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    EXPECT_TRUE(harness.sheets.alerts.empty());
    finishEventTurn();
    ASSERT_EQ(harness.sheets.alerts.size(), 1u);
    EXPECT_EQ(harness.sheets.alerts.front().messageText,
        QStringLiteral("File '%1' does not exist.").arg(harness.path(QStringLiteral("m.vtmodel"))));
    EXPECT_FALSE(document.hasModelData());
    EXPECT_FALSE(document.hasResultData());
}

TEST(ProjectFile, ResultsNamedByTheProjectLoadWithItsModel)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeFile(
        QStringLiteral("m.vtresult"), FakeResultData::fileData(canonicalModelText(TwoNodeModel)));
    harness.writeFile(
        QStringLiteral("p.vtproj"), UFemProjectFileData(projectNaming("m.vtmodel", "m.vtresult")));
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    EXPECT_TRUE(document.hasResultData());
    EXPECT_TRUE(document.dataController().isLockedOutside());
    UErrorPtr error;
    EXPECT_FALSE(document.loadProjectResultData(&error));
    EXPECT_EQ(error->code(), 11027);
    EXPECT_FALSE(document.loadProjectModelData(&error));
    EXPECT_EQ(error->code(), 11025);
}

TEST(ProjectFilePath, ValidityStandardizingAndResolving)
{
    const QString model = QStringLiteral("vtmodel");
    EXPECT_TRUE(UFemIsProjectFilePathValid(QStringLiteral("m.vtmodel"), model));
    EXPECT_TRUE(UFemIsProjectFilePathValid(QStringLiteral("a.b/m.x.vtmodel"), model));
    EXPECT_FALSE(UFemIsProjectFilePathValid(QStringLiteral(".vtmodel"), model));
    EXPECT_FALSE(UFemIsProjectFilePathValid(QStringLiteral("m.VTMODEL"), model));
    EXPECT_FALSE(UFemIsProjectFilePathValid(QStringLiteral("dir.vtmodel/m"), model));
    EXPECT_FALSE(UFemIsProjectFilePathValid(QStringLiteral("m.vtresult"), model));

    EXPECT_EQ(UFemStandardizedFilePath(QStringLiteral("~/a/../b/./m.vtmodel")),
        QDir::home().filePath(QStringLiteral("b/m.vtmodel")));
    EXPECT_EQ(UFemStandardizedFilePath(QStringLiteral("~user/m.vtmodel")),
        QStringLiteral("~user/m.vtmodel"));

    UErrorPtr error;
    EXPECT_EQ(UFemResolvedProjectFilePath(
                  QStringLiteral("../m #1?.vtmodel"), QStringLiteral("/p/q/r.vtproj"), &error),
        QStringLiteral("/p/m #1?.vtmodel"));
    EXPECT_EQ(UFemResolvedProjectFilePath(QStringLiteral("/abs/m.vtmodel"), QString(), &error),
        QStringLiteral("/abs/m.vtmodel"));
    EXPECT_FALSE(
        UFemResolvedProjectFilePath(QStringLiteral("m.vtmodel"), QString(), &error).has_value());
    EXPECT_EQ(error->code(), 11010);
    EXPECT_FALSE(UFemResolvedProjectFilePath(
        QString::fromUtf8("/a\0b.vtmodel", 13), QStringLiteral("/p.vtproj"), &error)
                     .has_value());
    EXPECT_EQ(error->code(), 11010);
}

TEST(ProjectFile, RevertReadsTheProjectAgainAndLoadsItsModel)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    harness.writeFile(
        QStringLiteral("p.vtproj"), UFemProjectFileData(projectNaming("m.vtmodel", "m.vtresult")));
    UFemDocument& document = *harness.open(QStringLiteral("p.vtproj"));
    document.setProjectTitleString(QStringLiteral("changed"));
    document.unloadModelData();
    UErrorPtr error;
    ASSERT_TRUE(document.revertToSaved(&error));
    EXPECT_EQ(document.projectTitleString(), QStringLiteral("Beam"));
    EXPECT_TRUE(document.hasModelData());
    EXPECT_EQ(document.dataController().cardCount(), 2u);
    EXPECT_FALSE(document.isDocumentEdited());
}

TEST(ProjectFile, LoadFlagsStoredAsTextReadAsThePlatformReadsThem)
{
    const QByteArray written = UFemProjectFileData(projectNaming("m.vtmodel", "m.vtresult"));
    for (const auto& [text, flag] : { std::pair { "YES", true }, std::pair { " yes", true },
             std::pair { "true", true }, std::pair { "7", true }, std::pair { "NO", false },
             std::pair { "0", false }, std::pair { "", false } }) {
        const QByteArray changed = changedArchive(written, [text = text](KeyedArchive& a) {
            a.encodeObject(
                QString::fromLatin1(text), QStringLiteral("projectDoesLoadModelDataAuto"));
            a.encodeObject(
                QString::fromLatin1(text), QStringLiteral("projectDoesLoadResultDataAuto"));
        });
        const auto contents = UFemReadProjectFileData(changed, nullptr);
        ASSERT_TRUE(contents.has_value()) << text;
        EXPECT_EQ(contents->projectDoesLoadModelDataAuto, flag) << text;
        EXPECT_EQ(contents->projectDoesLoadResultDataAuto, flag) << text;
    }
}
