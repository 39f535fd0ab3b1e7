// The project file of a project document and the steps of opening it.
#include "documents/UFemDocument.h"

#include "documents/UFemProjectFile.h"
#include "documents/UFemProjectFilePath.h"
#include "foundation/UFemErrorsOther.h"

#include <QDate>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QTimer>

namespace {

UErrorPtr notProjectDocumentError()
{
    return UFemUnexpectedError_withDescription(
        QStringLiteral("This document is not project document."));
}

// The medium date style: the month abbreviated, no time.
QString todayInMediumDateStyle()
{
    return QLocale().toString(QDate::currentDate(), QStringLiteral("MMM d, yyyy"));
}

} // namespace

std::optional<QByteArray> UFemDocument::projectFileData(UErrorPtr* error) const
{
    if (documentType_ != UFemDocumentTypeProject) {
        UFemSetError(error, notProjectDocumentError());
        return std::nullopt;
    }
    UFemProjectFileContents contents;
    contents.projectTitleString = project_.title;
    contents.projectVersionString = project_.version;
    contents.projectCommentString = project_.comment;
    contents.projectModelFilePathString = project_.modelPath;
    contents.projectDoesLoadModelDataAuto = project_.loadModelAuto;
    contents.projectResultFilePathString = project_.resultPath;
    contents.projectDoesLoadResultDataAuto = project_.loadResultAuto;
    contents.projectPreferencesDictionary = project_.preferences;
    return UFemProjectFileData(contents);
}

bool UFemDocument::loadProjectFileData(const std::optional<QByteArray>& data, UErrorPtr* error)
{
    if (documentType_ != UFemDocumentTypeProject) {
        UFemSetError(error, notProjectDocumentError());
        return false;
    }
    announce(UFemHasProjectDataKey, false);
    announce(UFemDoesProjectFileContainDataKey, false);
    UErrorPtr failure;
    if (!data || data->isEmpty()) {
        hasProjectData_ = data.has_value();
        doesProjectFileContainData_ = false;
        setProjectFields({});
    } else if (const std::optional<UFemProjectFileContents> contents
        = UFemReadProjectFileData(*data, &failure)) {
        hasProjectData_ = true;
        doesProjectFileContainData_ = true;
        setProjectFields({ contents->projectTitleString, contents->projectVersionString,
            contents->projectCommentString, contents->projectModelFilePathString,
            contents->projectDoesLoadModelDataAuto, contents->projectResultFilePathString,
            contents->projectDoesLoadResultDataAuto, contents->projectPreferencesDictionary });
    }
    setProjectDocumentEdited(false);
    updateOutsideLock();
    announce(UFemHasProjectDataKey, true);
    announce(UFemDoesProjectFileContainDataKey, true);
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    return true;
}

bool UFemDocument::readFromFile(const QString& path, const QString& type, UErrorPtr* error)
{
    if (!Document::readFromFile(path, type, error))
        return false;
    if (documentType_ == UFemDocumentTypeProject)
        openProject();
    return true;
}

void UFemDocument::fillNewProjectDefaults()
{
    const QString baseName = QFileInfo(filePath()).completeBaseName();
    ProjectFields fields;
    fields.title = QStringLiteral("");
    fields.version = todayInMediumDateStyle();
    fields.comment = QStringLiteral("");
    fields.modelPath = baseName + u'.' + UFemModelFileExtension;
    fields.loadModelAuto = true;
    fields.resultPath = baseName + u'.' + UFemResultFileExtension;
    fields.loadResultAuto = true;
    setProjectFields(fields);
    setProjectDocumentEdited(false);
}

void UFemDocument::openProject()
{
    if (!doesProjectFileContainData_) {
        fillNewProjectDefaults();
        return;
    }
    if (project_.loadModelAuto && isProjectModelFilePathValid()) {
        UErrorPtr error;
        if (!loadProjectModelData(&error)) {
            // Shown once the document has its window.
            QTimer::singleShot(0, this, [this, error] {
                if (documentController() != nullptr)
                    presentError(error);
            });
            return;
        }
    }
    if (project_.loadResultAuto && isProjectResultFilePathValid()) {
        UErrorPtr ignored;
        loadProjectResultData(&ignored);
    }
}

std::optional<QString> UFemDocument::projectModelFileURL(UErrorPtr* error) const
{
    if (!isProjectModelFilePathValid()) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("Project model file path invalid.")));
        return std::nullopt;
    }
    return UFemResolvedProjectFilePath(*project_.modelPath, filePath(), error);
}

std::optional<QString> UFemDocument::projectResultFileURL(UErrorPtr* error) const
{
    if (!isProjectResultFilePathValid()) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("Project result file path invalid.")));
        return std::nullopt;
    }
    return UFemResolvedProjectFilePath(*project_.resultPath, filePath(), error);
}

bool UFemDocument::loadProjectModelData(UErrorPtr* error)
{
    const std::optional<QString> path = projectModelFileURL(error);
    return path && loadModelDataWithModelFileURL(*path, error);
}

bool UFemDocument::loadProjectResultData(UErrorPtr* error)
{
    const std::optional<QString> path = projectResultFileURL(error);
    return path && loadResultDataWithResultFileURL(*path, error);
}
