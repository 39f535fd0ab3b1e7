#include "foundation/errors/UFemErrorsFile.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

namespace {

// The oldest version whose result documents can still be read.
const char* const UOldestReadableResultFileVersion = "0.8.1.5.1";

// Errors that name a path and suggest nothing.
UErrorPtr makePathError(qint64 code, const char* format, const QString& path)
{
    return UFemMakeSimpleError(
        code, ULocalizedFormattedString(format, path), ULocalizedFormattedString(""));
}

UErrorPtr makeSavingError(
    qint64 code, const char* format, const QString& fileName, const UErrorPtr& baseError)
{
    const UError& base = UFemRequireBaseError(baseError);
    const QString text = ULocalizedFormattedString(format, fileName);
    return UFemMakeError(code,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("%@", base.localizedDescription()),
            .oneLineDescription = text,
            .underlyingError = baseError,
        });
}

} // namespace

UErrorPtr UFemUnknownFileTypeError_withFileTypeString(const QString& fileTypeString)
{
    const QString text = ULocalizedFormattedString("Unknown File Type '%@'.", fileTypeString);
    return UFemMakeError(11001,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("The file can't be opened."),
            .oneLineDescription = ULocalizedFormattedString(
                "Unknown File Type '%@'. The file can't be opened.", fileTypeString),
        });
}

UErrorPtr UFemReadingModelFileToStringError()
{
    const QString text
        = ULocalizedFormattedString("Reading Model File as UTF-8 or UTF-16 text failed.");
    return UFemMakeError(11002,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion
            = ULocalizedFormattedString("Check if it is text file and the encoding is "
                                        "'UTF-8(Unicode)' or 'UTF-16(Unicode)'."),
            .oneLineDescription
            = ULocalizedFormattedString("Reading Model File as UTF-8 or UTF-16 text failed. Check "
                                        "if it is text file and the encoding is "
                                        "'UTF-8(Unicode)' or 'UTF-16(Unicode)'."),
        });
}

UErrorPtr UFemUnknownProjectFileTypeError()
{
    const QString text = ULocalizedFormattedString("Unknown Project Document.");
    return UFemMakeError(11003,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("The file can't be opened."),
            .oneLineDescription
            = ULocalizedFormattedString("Unknown Project Document. This File can't be opened."),
        });
}

UErrorPtr UFemUnreadableNewProjectFileVersionError_withMinAppVersionStringRequired(
    const QString& minAppVersionStringRequired)
{
    const QString text
        = ULocalizedFormattedString("This Project Document required new application.");
    return UFemMakeError(11004,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString(
                "The file can't be opened.\nThis document required 'Vantrel ver.%@' or newer.",
                minAppVersionStringRequired),
            .oneLineDescription
            = ULocalizedFormattedString("This Project Document required new application ( 'Vantrel "
                                        "ver.%@' or newer ). This File can't be "
                                        "opened.",
                minAppVersionStringRequired),
        });
}

UErrorPtr UFemUnknownModelFileTypeError()
{
    const QString text = ULocalizedFormattedString("Unknown Model Document.");
    return UFemMakeError(11005,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("This file can't be opened."),
            .oneLineDescription
            = ULocalizedFormattedString("Unknown Model Document. This File can't be opened."),
        });
}

UErrorPtr UFemUnknownResultFileTypeError()
{
    const QString text = ULocalizedFormattedString("Unknown Result Document.");
    return UFemMakeError(11006,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("This file can't be opened."),
            .oneLineDescription
            = ULocalizedFormattedString("Unknown Result Document. This File can't be opened."),
        });
}

UErrorPtr UFemUnreadableNewResultFileVersionError_withMinAppVersionStringRequired(
    const QString& minAppVersionStringRequired)
{
    const QString text
        = ULocalizedFormattedString("This Result Document required new application.");
    return UFemMakeError(11007,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString(
                "The file can't be opened.\nThis document required 'Vantrel ver.%@' or newer.",
                minAppVersionStringRequired),
            .oneLineDescription
            = ULocalizedFormattedString("This Result Document required new application ( 'Vantrel "
                                        "ver.%@' or newer ). This File can't be "
                                        "opened.",
                minAppVersionStringRequired),
        });
}

UErrorPtr UFemUnreadableOldResultFileVersionError()
{
    return UFemMakeSimpleError(11008,
        ULocalizedFormattedString("Result Document which is created by version older than 'Vantrel "
                                  "ver.%@' can't be opened.",
            UOldestReadableResultFileVersion),
        ULocalizedFormattedString("You need to calculate again."));
}

UErrorPtr UFemNoFileSelectedError()
{
    return UFemMakeSimpleError(
        11009, ULocalizedFormattedString("No File selected."), ULocalizedFormattedString(""));
}

UErrorPtr UFemFilePathStringError_withFilePathString(const QString& filePathString)
{
    return makePathError(11010, "File Path '%@' has error.", filePathString);
}

UErrorPtr UFemDirectoryNotExistError_withDirectoryPathString(const QString& directoryPathString)
{
    return makePathError(11011, "Directory '%@' does not exist.", directoryPathString);
}

UErrorPtr UFemDirectoryNotExistButFileExistError_withDirectoryPathString(
    const QString& directoryPathString)
{
    return makePathError(11012, "'%@' is a file, Not a directory.", directoryPathString);
}

UErrorPtr UFemDirectoryAlreadyExistError_withDirectoryPathString(const QString& directoryPathString)
{
    return makePathError(11013, "Directory '%@' already exist.", directoryPathString);
}

UErrorPtr UFemFileAlreadyExistOfDirectoryNameError_withDirectoryPathString(
    const QString& directoryPathString)
{
    return UFemMakeSimpleError(11014,
        ULocalizedFormattedString(
            "File ( not directory ) '%@' already exist.", directoryPathString),
        ULocalizedFormattedString("Use different directory name."));
}

UErrorPtr UFemCreatingDirectoryFailedError_withDirectoryPathString(
    const QString& directoryPathString)
{
    return makePathError(11015, "Creating Directory '%@' failed.", directoryPathString);
}

UErrorPtr UFemFileNotExistError_withFilePathString(const QString& filePathString)
{
    return makePathError(11016, "File '%@' does not exist.", filePathString);
}

UErrorPtr UFemFileNotExistButDirectoryExistError_withFilePathString(const QString& filePathString)
{
    return makePathError(11017, "'%@' is a directory, Not a file.", filePathString);
}

UErrorPtr UFemNotRegularFileError_withFilePathString(const QString& filePathString)
{
    return makePathError(11017, "'%@' is not a regular file.", filePathString);
}

UErrorPtr UFemFileAlreadyExistError_withFilePathString(const QString& filePathString)
{
    return makePathError(11018, "File '%@' already exist.", filePathString);
}

UErrorPtr UFemResultFileIsModelFileError_withFilePathString(const QString& filePathString)
{
    return UFemMakeSimpleError(11018,
        ULocalizedFormattedString("Result File '%@' is the Model File.", filePathString),
        ULocalizedFormattedString("Use different file name."));
}

UErrorPtr UFemDirectoryAlreadyExistOfFileNameError_withFilePathString(const QString& filePathString)
{
    return makePathError(11019, "Directory ( not file ) '%@' already exist.", filePathString);
}

UErrorPtr UFemCreatingFileFailedError_withFilePathString(const QString& filePathString)
{
    return makePathError(11020, "Creating File '%@' failed.", filePathString);
}

UErrorPtr UFemFilePathInvalidError_withFilePathString(const QString& filePathString)
{
    return UFemMakeSimpleError(11021,
        ULocalizedFormattedString("File Path '%@' is invalid.", filePathString),
        ULocalizedFormattedString("Check file extension, etc."));
}

UErrorPtr UFemReadingFileFailedError_withFilePathString(const QString& filePathString)
{
    return makePathError(11022, "Reading File '%@' failed.", filePathString);
}

UErrorPtr UFemRemovingFileFailedError_withFilePathString(const QString& filePathString)
{
    return makePathError(11023, "Deleting File '%@' failed.", filePathString);
}

UErrorPtr UFemNoProjectModelFilePathError()
{
    return UFemMakeSimpleError(11024,
        ULocalizedFormattedString("Model File Name is not set for this project."),
        ULocalizedFormattedString("Set model file name on Project Info View."));
}

UErrorPtr UFemProjectModelDataAlreadyLoadedError()
{
    return UFemMakeSimpleError(11025,
        ULocalizedFormattedString("Model Data is already loaded to this project."),
        ULocalizedFormattedString(""));
}

UErrorPtr UFemNoProjectResultFilePathError()
{
    return UFemMakeSimpleError(11026,
        ULocalizedFormattedString("Result File Name is not set for this project."),
        ULocalizedFormattedString("Set Result File Name on Project Info View, or use 'Load Result "
                                  "Data ...' on main menu."));
}

UErrorPtr UFemProjectResultDataAlreadyLoadedError()
{
    return UFemMakeSimpleError(11027,
        ULocalizedFormattedString("Result Data is already loaded to this project."),
        ULocalizedFormattedString("Unload current result data, then load the result data."));
}

UErrorPtr UFemEmptyResultFileError()
{
    return UFemMakeSimpleError(11028, ULocalizedFormattedString("Result File is empty."),
        ULocalizedFormattedString("This calculation is running or failed."));
}

UErrorPtr UFemSavingProjectFileAndModelFileFailedError_withProjectFileNameString(
    const QString& projectFileNameString, const UErrorPtr& baseProjectFileError,
    const QString& modelFileNameString, const UErrorPtr& baseModelFileError)
{
    const UError& projectError = UFemRequireBaseError(baseProjectFileError);
    const UError& modelError = UFemRequireBaseError(baseModelFileError);
    const QString text
        = ULocalizedFormattedString("Project File '%@' and Model File '%@' could not be saved.",
            projectFileNameString, modelFileNameString);
    return UFemMakeError(11029,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("Project file: %@\nModel file: %@",
                projectError.localizedDescription(), modelError.localizedDescription()),
            .oneLineDescription = text,
            .underlyingError = baseProjectFileError,
        });
}

UErrorPtr UFemSavingProjectFileFailedError_withProjectFileNameString(
    const QString& projectFileNameString, const UErrorPtr& baseError)
{
    const UError& base = UFemRequireBaseError(baseError);
    const QString text
        = ULocalizedFormattedString("Project File '%@' could not be saved.", projectFileNameString);
    return UFemMakeError(11030,
        {
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("%@", base.localizedDescription()),
            .oneLineDescription = text,
            .underlyingError = baseError,
        });
}

UErrorPtr UFemSavingModelFileFailedError_withModelFileNameString(
    const QString& modelFileNameString, const UErrorPtr& baseError)
{
    return makeSavingError(
        11031, "Model File '%@' could not be saved.", modelFileNameString, baseError);
}

UErrorPtr UFemSavingResultFileFailedError_withResultFileNameString(
    const QString& resultFileNameString, const UErrorPtr& baseError)
{
    return makeSavingError(
        11032, "Result File '%@' could not be saved.", resultFileNameString, baseError);
}

UErrorPtr UFemModelDataDifferentWhenLoadResultDataError()
{
    const QString description = ULocalizedFormattedString(
        "Loading result data failed. Model Data in result data is different with this model.");
    return UFemMakeError(11033,
        {
            .description = description,
            .failureReason
            = ULocalizedFormattedString("Model Data in result data is different with this model."),
            .recoverySuggestion
            = ULocalizedFormattedString("This result data seems to be calculated with different "
                                        "model. ( Result Data can be loaded to the "
                                        "Model or Project that is same model with result data "
                                        "calculated. )\nYou can open result file "
                                        "itself."),
            .oneLineDescription = description,
        });
}
