// The project file of a project document and the steps of opening it.
#include "documents/document/UFemDocument.h"

#include "documents/document/UFemProjectFile.h"
#include "documents/document/UFemProjectFilePath.h"
#include "foundation/errors/UFemErrorsOther.h"

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
    return UFemProjectFileData(project_);
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
        project_ = {};
    } else if (const std::optional<UFemProjectFileContents> contents
        = UFemReadProjectFileData(*data, &failure)) {
        hasProjectData_ = true;
        doesProjectFileContainData_ = true;
        project_ = *contents;
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
    UFemProjectFileContents fields;
    fields.projectTitleString = QStringLiteral("");
    fields.projectVersionString = todayInMediumDateStyle();
    fields.projectCommentString = QStringLiteral("");
    fields.projectModelFilePathString = baseName + u'.' + UFemModelFileExtension;
    fields.projectDoesLoadModelDataAuto = true;
    fields.projectResultFilePathString = baseName + u'.' + UFemResultFileExtension;
    fields.projectDoesLoadResultDataAuto = true;
    project_ = fields;
    setProjectDocumentEdited(false);
}

void UFemDocument::openProject()
{
    if (!doesProjectFileContainData_) {
        fillNewProjectDefaults();
        return;
    }
    if (project_.projectDoesLoadModelDataAuto && isProjectModelFilePathValid()) {
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
    if (project_.projectDoesLoadResultDataAuto && isProjectResultFilePathValid()) {
        UErrorPtr ignored;
        static_cast<void>(loadProjectResultData(&ignored));
    }
}

std::optional<QString> UFemDocument::resolvedProjectPath(const std::optional<QString>& path,
    const QString& extension, const char* invalidDescription, UErrorPtr* error) const
{
    if (!path || !UFemIsProjectFilePathValid(*path, extension)) {
        UFemSetError(
            error, UFemUnexpectedError_withDescription(QString::fromUtf8(invalidDescription)));
        return std::nullopt;
    }
    return UFemResolvedProjectFilePath(*path, filePath(), error);
}

std::optional<QString> UFemDocument::projectModelFileURL(UErrorPtr* error) const
{
    return resolvedProjectPath(project_.projectModelFilePathString, UFemModelFileExtension,
        "Project model file path invalid.", error);
}

std::optional<QString> UFemDocument::projectResultFileURL(UErrorPtr* error) const
{
    return resolvedProjectPath(project_.projectResultFilePathString, UFemResultFileExtension,
        "Project result file path invalid.", error);
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
