#include "foundation/errors/UFemErrorsFile.h"

#include "ErrorExpectation.h"

namespace {

const QString path = QStringLiteral("/tmp/a b.vtmodel");

ErrorExpectation pathError(std::string name, UErrorPtr error, qint64 code, const QString& text,
    const QString& suggestion = QString())
{
    return { std::move(name), std::move(error), code, text, text, suggestion, text };
}

} // namespace

TEST(ErrorCatalogueFile, TextsCodesAndStyles)
{
    const QString newProject = QStringLiteral("This Project Document required new application.");
    const QString oldResult = QStringLiteral("Result Document which is created by version older "
                                             "than 'Vantrel ver.0.8.1.5.1' can't be opened.");
    const QString different = QStringLiteral(
        "Loading result data failed. Model Data in result data is different with this model.");
    const std::vector<ErrorExpectation> table {
        { "11001", UFemUnknownFileTypeError_withFileTypeString(QStringLiteral("txt")), 11001,
            QStringLiteral("Unknown File Type 'txt'."), QStringLiteral("Unknown File Type 'txt'."),
            QStringLiteral("The file can't be opened."),
            QStringLiteral("Unknown File Type 'txt'. The file can't be opened.") },
        { "11003", UFemUnknownProjectFileTypeError(), 11003,
            QStringLiteral("Unknown Project Document."),
            QStringLiteral("Unknown Project Document."),
            QStringLiteral("The file can't be opened."),
            QStringLiteral("Unknown Project Document. This File can't be opened.") },
        { "11004",
            UFemUnreadableNewProjectFileVersionError_withMinAppVersionStringRequired(
                QStringLiteral("2.1")),
            11004, newProject, newProject,
            QStringLiteral(
                "The file can't be opened.\nThis document required 'Vantrel ver.2.1' or newer."),
            QStringLiteral("This Project Document required new application ( 'Vantrel ver.2.1' or "
                           "newer ). This "
                           "File can't be opened.") },
        { "11006", UFemUnknownResultFileTypeError(), 11006,
            QStringLiteral("Unknown Result Document."), QStringLiteral("Unknown Result Document."),
            QStringLiteral("This file can't be opened."),
            QStringLiteral("Unknown Result Document. This File can't be opened.") },
        { "11008", UFemUnreadableOldResultFileVersionError(), 11008, oldResult, oldResult,
            QStringLiteral("You need to calculate again."), oldResult },
        pathError("11009", UFemNoFileSelectedError(), 11009, QStringLiteral("No File selected.")),
        pathError("11012", UFemDirectoryNotExistButFileExistError_withDirectoryPathString(path),
            11012, QStringLiteral("'/tmp/a b.vtmodel' is a file, Not a directory.")),
        pathError("11014", UFemFileAlreadyExistOfDirectoryNameError_withDirectoryPathString(path),
            11014, QStringLiteral("File ( not directory ) '/tmp/a b.vtmodel' already exist."),
            QStringLiteral("Use different directory name.")),
        pathError("11021", UFemFilePathInvalidError_withFilePathString(path), 11021,
            QStringLiteral("File Path '/tmp/a b.vtmodel' is invalid."),
            QStringLiteral("Check file extension, etc.")),
        pathError("11023", UFemRemovingFileFailedError_withFilePathString(path), 11023,
            QStringLiteral("Deleting File '/tmp/a b.vtmodel' failed.")),
        pathError("11026", UFemNoProjectResultFilePathError(), 11026,
            QStringLiteral("Result File Name is not set for this project."),
            QStringLiteral("Set Result File Name on Project Info View, or use 'Load Result Data "
                           "...' on main menu.")),
        pathError("11028", UFemEmptyResultFileError(), 11028,
            QStringLiteral("Result File is empty."),
            QStringLiteral("This calculation is running or failed.")),
        { "11033", UFemModelDataDifferentWhenLoadResultDataError(), 11033, different,
            QStringLiteral("Model Data in result data is different with this model."),
            QStringLiteral("This result data seems to be calculated with different model. ( Result "
                           "Data can be "
                           "loaded to the Model or Project that is same model with result data "
                           "calculated. )\nYou "
                           "can open result file itself."),
            different },
    };
    for (const ErrorExpectation& expected : table)
        expectError(expected);
}

TEST(ErrorCatalogueFile, SavingErrorsWrapTheirBase)
{
    const UErrorPtr projectBase
        = makeBaseError(QStringLiteral("Disk full."), QStringLiteral("r"), QStringLiteral("s"));
    const UErrorPtr modelBase
        = makeBaseError(QStringLiteral("Permission denied."), std::nullopt, std::nullopt);

    const QString both
        = QStringLiteral("Project File 'p.vtproj' and Model File 'm.vtmodel' could not be saved.");
    expectError({ "11029",
        UFemSavingProjectFileAndModelFileFailedError_withProjectFileNameString(
            QStringLiteral("p.vtproj"), projectBase, QStringLiteral("m.vtmodel"), modelBase),
        11029, both, both,
        QStringLiteral("Project file: Disk full.\nModel file: Permission denied."), both,
        std::nullopt, std::nullopt, UFemAlertStyleWarning, projectBase });

    const QString model = QStringLiteral("Model File 'm.vtmodel' could not be saved.");
    expectError({ "11031",
        UFemSavingModelFileFailedError_withModelFileNameString(
            QStringLiteral("m.vtmodel"), modelBase),
        11031, model, model, QStringLiteral("Permission denied."), model, std::nullopt,
        std::nullopt, UFemAlertStyleWarning, modelBase });
    const QString result = QStringLiteral("Result File 'r.vtresult' could not be saved.");
    expectError({ "11032",
        UFemSavingResultFileFailedError_withResultFileNameString(
            QStringLiteral("r.vtresult"), projectBase),
        11032, result, result, QStringLiteral("Disk full."), result, std::nullopt, std::nullopt,
        UFemAlertStyleWarning, projectBase });
}

TEST(ErrorCatalogueFile, ProjectSavingErrorHasNoDescriptionOfItsOwn)
{
    const UErrorPtr base = makeBaseError(QStringLiteral("Disk full."), std::nullopt, std::nullopt);
    const UErrorPtr error = UFemSavingProjectFileFailedError_withProjectFileNameString(
        QStringLiteral("p.vtproj"), base);
    const QString reason = QStringLiteral("Project File 'p.vtproj' could not be saved.");
    expectError({ "11030", error, 11030, std::nullopt, reason, QStringLiteral("Disk full."), reason,
        std::nullopt, std::nullopt, UFemAlertStyleWarning, base });
    EXPECT_EQ(error->localizedDescription(),
        "The operation couldn't be completed. Project File 'p.vtproj' could not be saved.");
    EXPECT_EQ(error->localizedShortDescription(), error->localizedDescription());
}
