// The model text of a document: reading, writing, loading and unloading.
#include "documents/document/UFemDocument.h"

#include "appkit/DocumentController.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemDocumentController.h"
#include "documents/document/UFemDocumentPrompt.h"
#include "documents/document/UFemModelFileText.h"
#include "documents/window/UFemOpeningProgressWindow.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <new>

bool UFemDocument::loadModelFileData(const std::optional<QByteArray>& data, UErrorPtr* error)
{
    if (!data) {
        unloadModelFileData();
        return true;
    }
    return readModelText(*data, error);
}

bool UFemDocument::askToReplaceRestraintExpression()
{
    if (prompt_ != nullptr)
        return prompt_->shouldReplaceRestraintExpression();
    if (documentController() == nullptr)
        return false;
    UFemModalAlertDocumentPrompt prompt(documentController()->sheetPresenter());
    return prompt.shouldReplaceRestraintExpression();
}

bool UFemDocument::readModelText(const QByteArray& data, UErrorPtr* error)
{
    const LockStatusChange change(*this);
    announce(UFemHasModelDataKey, false);
    UErrorPtr failure;
    std::optional<QString> text;
    try {
        text = UFemModelTextFromModelFileData(data);
    } catch (const std::bad_alloc&) {
        failure = UFemMallocFailedError();
    }
    if (!failure && !text)
        failure = UFemReadingModelFileToStringError();
    bool rewritten = false;
    if (!failure) {
        if (UFemModelTextHasRestraintExpressionRow(*text) && askToReplaceRestraintExpression()) {
            text = UFemModelTextReplacingRestraintExpression(*text);
            rewritten = true;
        }
        auto* opening = dynamic_cast<UFemDocumentController*>(documentController());
        if (UFemOpeningProgressWindow* progress
            = opening != nullptr ? opening->openingProgressWindow() : nullptr)
            dataController_->setReadingProgressHandler(
                [progress](double fraction) { progress->showFractionRead(fraction); });
        // The answer is in failure.
        static_cast<void>(dataController_->resetWithModelText(*text, true, &failure));
        dataController_->setReadingProgressHandler({});
    }
    if (!failure) {
        hasModelData_ = true;
        // A rewritten model differs from its file.
        if (!rewritten)
            setModelDocumentEdited(false);
    }
    updateOutsideLock();
    announce(UFemHasModelDataKey, true);
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    return true;
}

void UFemDocument::unloadModelFileData()
{
    const LockStatusChange change(*this);
    announce(UFemHasModelDataKey, false);
    announce(UFemHasResultDataKey, false);
    dataController_->reset();
    // A model document keeps its model, now empty.
    hasModelData_ = documentType_ == UFemDocumentTypeModel;
    setModelDocumentEdited(false);
    updateOutsideLock();
    announce(UFemHasModelDataKey, true);
    announce(UFemHasResultDataKey, true);
}

std::optional<QByteArray> UFemDocument::modelFileData(UErrorPtr* error) const
{
    if (!hasModelData_) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(QStringLiteral("Document has No model data.")));
        return std::nullopt;
    }
    return UFemModelFileDataFromModelText(dataController_->modelTextOfAllCards());
}

bool UFemDocument::loadModelDataWithModelFileURL(const QString& path, UErrorPtr* error)
{
    if (hasModelData_) {
        UFemSetError(error, UFemProjectModelDataAlreadyLoadedError());
        return false;
    }
    UFileStamp stamp;
    const std::optional<QByteArray> data = readFileData(path, error, &stamp);
    if (!data || !loadModelFileData(*data, error))
        return false;
    modelFileStamp_ = stamp;
    updateOutsideLock();
    return true;
}

void UFemDocument::unloadModelData()
{
    UFemRaisesOnFailure(loadModelFileData(std::nullopt, nullptr));
}
