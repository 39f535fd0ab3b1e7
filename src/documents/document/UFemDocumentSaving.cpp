// Saving a project with its model file, and exporting the model text.
#include "documents/document/UFemDocument.h"

#include "appkit/DocumentController.h"
#include "appkit/FilePanels.h"
#include "appkit/Notifier.h"
#include "documents/document/UFemProjectFilePath.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace {

const QString UntitledName = QStringLiteral("Untitled");

UErrorPtr combinedSavingError(const QString& projectFileName, const UErrorPtr& projectError,
    const QString& modelFileName, const UErrorPtr& modelError)
{
    if (projectError && modelError)
        return UFemSavingProjectFileAndModelFileFailedError_withProjectFileNameString(
            projectFileName, projectError, modelFileName, modelError);
    if (projectError)
        return UFemSavingProjectFileFailedError_withProjectFileNameString(
            projectFileName, projectError);
    return UFemSavingModelFileFailedError_withModelFileNameString(modelFileName, modelError);
}

QString pathWithExtension(const QString& path, const QString& extension)
{
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + u'.' + extension);
}

} // namespace

bool UFemDocument::saveToFile(const QString& path, const QString& type, UErrorPtr* error)
{
    if (UFemDocumentTypeOfTypeName(type) == UFemDocumentTypeModel) {
        UErrorPtr failure;
        if (Document::saveToFile(path, type, &failure))
            return true;
        UFemSetError(error,
            UFemSavingModelFileFailedError_withModelFileNameString(
                QFileInfo(path).fileName(), failure));
        return false;
    }
    if (UFemDocumentTypeOfTypeName(type) != UFemDocumentTypeProject)
        return Document::saveToFile(path, type, error);
    if (documentType_ != UFemDocumentTypeProject || path.isEmpty())
        UFemRaiseProgramError(QStringLiteral(
            "fileURL is not set or fileType is not ProjectFileType for ProjectDocument."));
    UErrorPtr projectError;
    if (writeToFile(path, type, &projectError)) {
        stampFile(path);
        setProjectDocumentEdited(false);
    }
    // The model is written even when the project file could not be.
    UErrorPtr modelError;
    QString modelFileName;
    if (hasModelData_)
        // The answer is in modelError.
        static_cast<void>(writeModelFile(&modelFileName, &modelError));
    if (!projectError && !modelError)
        return true;
    UFemSetError(error,
        combinedSavingError(QFileInfo(path).fileName(), projectError, modelFileName, modelError));
    return false;
}

bool UFemDocument::writeModelFile(QString* modelFileName, UErrorPtr* error)
{
    *modelFileName = project_.projectModelFilePathString
        ? project_.projectModelFilePathString->section(u'/', -1)
        : QString();
    const std::optional<QString> path = projectModelFileURL(error);
    if (!path)
        return false;
    *modelFileName = QFileInfo(*path).fileName();
    if (!writeToFile(*path, UFemModelDocumentTypeName, error))
        return false;
    modelFileStamp_ = UFileStamp::ofFile(*path);
    setModelDocumentEdited(false);
    return true;
}

QStringList UFemDocument::filesChangedOnDisk(const QString& path) const
{
    QStringList changed = Document::filesChangedOnDisk(path);
    if (documentType_ != UFemDocumentTypeProject || !hasModelData_)
        return changed;
    UErrorPtr unwritable;
    if (const std::optional<QString> modelPath = projectModelFileURL(&unwritable);
        modelPath && modelFileStamp_.isChangedOnDisk(*modelPath))
        changed << QFileInfo(*modelPath).fileName();
    return changed;
}

QString UFemDocument::proposedExportPath() const
{
    const QString untitled = QDir::home().filePath(UntitledName + u'.' + UFemModelFileExtension);
    switch (documentType_) {
    case UFemDocumentTypeModel:
        return filePath().isEmpty() ? untitled : filePath();
    case UFemDocumentTypeResult:
        return filePath().isEmpty() ? untitled
                                    : pathWithExtension(filePath(), UFemModelFileExtension);
    case UFemDocumentTypeProject: {
        if (!project_.projectModelFilePathString)
            return untitled;
        UErrorPtr ignored;
        return UFemResolvedProjectFilePath(
            *project_.projectModelFilePathString, filePath(), &ignored)
            .value_or(*project_.projectModelFilePathString);
    }
    case UFemDocumentTypeNone:
        break;
    }
    return {};
}

void UFemDocument::saveModelDocumentTo()
{
    if (!hasModelData_) {
        Notifier::beep();
        return;
    }
    const QString proposed = proposedExportPath();
    if (proposed.isEmpty() || documentController() == nullptr)
        return;
    SavePanelOptions options;
    options.directory = QFileInfo(proposed).absolutePath();
    options.fileName = QFileInfo(proposed).fileName();
    options.nameFieldLabel = QStringLiteral("Export As:");
    options.allowedExtensions = { UFemModelFileExtension };
    documentController()->filePanels().beginSavePanel(
        windowForSheet(), options, [document = QPointer<UFemDocument>(this)](const QString& path) {
            if (!document || path.isEmpty())
                return;
            UErrorPtr error;
            const std::optional<QString> savePath
                = FilePanelSavePath(path, { UFemModelFileExtension }, &error);
            if (savePath)
                document->exportModelText(*savePath);
            else
                document->presentError(error);
        });
}

void UFemDocument::exportModelText(const QString& path)
{
    if (!hasModelData_) {
        Notifier::beep();
        return;
    }
    UErrorPtr error;
    if (!writeToFile(path, UFemModelDocumentTypeName, &error)) {
        presentError(UFemSavingModelFileFailedError_withModelFileNameString(
            QFileInfo(path).fileName(), error));
        return;
    }
    // Over a file of its own it wrote what it has: no reason to ask at the next save.
    refreshFileStampIfAt(path);
    modelFileStamp_.refreshIfAt(path);
}
