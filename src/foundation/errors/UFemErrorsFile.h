#pragma once

#include "foundation/errors/UError.h"

// Errors of reading and writing documents, directories and files (11xxx).

UErrorPtr UFemUnknownFileTypeError_withFileTypeString(const QString& fileTypeString);
UErrorPtr UFemReadingModelFileToStringError();
UErrorPtr UFemUnknownProjectFileTypeError();
UErrorPtr UFemUnreadableNewProjectFileVersionError_withMinAppVersionStringRequired(
    const QString& minAppVersionStringRequired);
UErrorPtr UFemUnknownModelFileTypeError();
UErrorPtr UFemUnknownResultFileTypeError();
UErrorPtr UFemUnreadableNewResultFileVersionError_withMinAppVersionStringRequired(
    const QString& minAppVersionStringRequired);
UErrorPtr UFemUnreadableOldResultFileVersionError();
UErrorPtr UFemNoFileSelectedError();
UErrorPtr UFemFilePathStringError_withFilePathString(const QString& filePathString);
UErrorPtr UFemDirectoryNotExistError_withDirectoryPathString(const QString& directoryPathString);
UErrorPtr UFemDirectoryNotExistButFileExistError_withDirectoryPathString(
    const QString& directoryPathString);
UErrorPtr UFemDirectoryAlreadyExistError_withDirectoryPathString(
    const QString& directoryPathString);
UErrorPtr UFemFileAlreadyExistOfDirectoryNameError_withDirectoryPathString(
    const QString& directoryPathString);
UErrorPtr UFemCreatingDirectoryFailedError_withDirectoryPathString(
    const QString& directoryPathString);
UErrorPtr UFemFileNotExistError_withFilePathString(const QString& filePathString);
UErrorPtr UFemFileNotExistButDirectoryExistError_withFilePathString(const QString& filePathString);
// A FIFO, device or socket: reading it could block or never end. Shares 11017 with the directory.
UErrorPtr UFemNotRegularFileError_withFilePathString(const QString& filePathString);
UErrorPtr UFemFileAlreadyExistError_withFilePathString(const QString& filePathString);
// A result file that would be written over the model it is calculated from.
UErrorPtr UFemResultFileIsModelFileError_withFilePathString(const QString& filePathString);
UErrorPtr UFemDirectoryAlreadyExistOfFileNameError_withFilePathString(
    const QString& filePathString);
UErrorPtr UFemCreatingFileFailedError_withFilePathString(const QString& filePathString);
UErrorPtr UFemFilePathInvalidError_withFilePathString(const QString& filePathString);
UErrorPtr UFemReadingFileFailedError_withFilePathString(const QString& filePathString);
UErrorPtr UFemRemovingFileFailedError_withFilePathString(const QString& filePathString);
UErrorPtr UFemNoProjectModelFilePathError();
UErrorPtr UFemProjectModelDataAlreadyLoadedError();
UErrorPtr UFemNoProjectResultFilePathError();
UErrorPtr UFemProjectResultDataAlreadyLoadedError();
UErrorPtr UFemEmptyResultFileError();
// Keeps only the project file's error as underlying error; the model file's error is named in the
// recovery suggestion.
UErrorPtr UFemSavingProjectFileAndModelFileFailedError_withProjectFileNameString(
    const QString& projectFileNameString, const UErrorPtr& baseProjectFileError,
    const QString& modelFileNameString, const UErrorPtr& baseModelFileError);
// Has no description of its own: UError supplies "The operation couldn't be completed." and the
// reason.
UErrorPtr UFemSavingProjectFileFailedError_withProjectFileNameString(
    const QString& projectFileNameString, const UErrorPtr& baseError);
UErrorPtr UFemSavingModelFileFailedError_withModelFileNameString(
    const QString& modelFileNameString, const UErrorPtr& baseError);
UErrorPtr UFemSavingResultFileFailedError_withResultFileNameString(
    const QString& resultFileNameString, const UErrorPtr& baseError);
UErrorPtr UFemModelDataDifferentWhenLoadResultDataError();
