// The result data of a document: reading, writing, loading and unloading.
#include "documents/document/UFemDocument.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"

namespace {

UErrorPtr unexpectedError(const char* description)
{
    return UFemUnexpectedError_withDescription(QString::fromUtf8(description));
}

const char* const NoModelDataBeforeLoading = "No model data before loading result data.";

} // namespace

bool UFemDocument::loadResultFileData(const std::optional<QByteArray>& data, UErrorPtr* error)
{
    if (documentType_ == UFemDocumentTypeNone)
        return true;
    if (!data) {
        unloadResultFileData();
        return true;
    }
    UErrorPtr failure;
    UErrorPtr readingError;
    std::shared_ptr<UFemResultDataManager> manager;
    if (data->isEmpty())
        failure = UFemEmptyResultFileError();
    else if (services_.makeResultDataManagerWithResultFileData)
        manager = services_.makeResultDataManagerWithResultFileData(*data, &readingError, &failure);
    if (!failure && !manager)
        failure = unexpectedError("No result data in ResultPackageDocument.");
    if (!failure && documentType_ == UFemDocumentTypeResult)
        return loadResultsOfResultDocument(manager, error);
    if (!failure && readingError)
        failure = readingError;
    if (!failure && !hasModelData_)
        failure = unexpectedError(NoModelDataBeforeLoading);
    if (!failure)
        return attachResults(manager, false, false, error);
    updateOutsideLock();
    UFemSetError(error, failure);
    return false;
}

bool UFemDocument::attachResults(std::shared_ptr<UFemResultDataManager> manager,
    bool doesAllowCalculationError, bool endsCalculation, UErrorPtr* error)
{
    const LockStatusChange change(*this);
    announce(UFemHasResultDataKey, false);
    UErrorPtr failure;
    const bool attached = dataController_->setResultDataManager(
        std::move(manager), doesAllowCalculationError, &failure);
    if (endsCalculation)
        calculationIdentifierNumber_ = UFemNoCalculationIdentifierNumber;
    updateOutsideLock();
    announce(UFemHasResultDataKey, true);
    if (!attached)
        UFemSetError(error, failure);
    return attached;
}

bool UFemDocument::loadResultsOfResultDocument(
    const std::shared_ptr<UFemResultDataManager>& manager, UErrorPtr* error)
{
    project_.projectTitleString = manager->projectTitleString();
    project_.projectVersionString = manager->projectVersionString();
    project_.projectCommentString = manager->projectCommentString();
    const std::optional<QString> modelText = manager->modelText();
    if (!modelText) {
        updateOutsideLock();
        UFemSetError(error, unexpectedError("No model data in ResultPackageDocument."));
        return false;
    }
    {
        const LockStatusChange change(*this);
        announce(UFemHasModelDataKey, false);
        UErrorPtr failure;
        if (!dataController_->resetWithModelText(*modelText, true, &failure)) {
            updateOutsideLock();
            announce(UFemHasModelDataKey, true);
            UFemSetError(error, failure);
            return false;
        }
        hasModelData_ = true;
        updateOutsideLock();
        announce(UFemHasModelDataKey, true);
    }
    return attachResults(manager, true, false, error);
}

void UFemDocument::unloadResultFileData()
{
    if (documentType_ != UFemDocumentTypeResult) {
        UErrorPtr failure;
        if (!attachResults(nullptr, false, false, &failure))
            UFemSetError(nullptr, failure);
        return;
    }
    const LockStatusChange change(*this);
    announce(UFemHasResultDataKey, false);
    announce(UFemHasModelDataKey, false);
    dataController_->reset();
    hasModelData_ = false;
    updateOutsideLock();
    announce(UFemHasResultDataKey, true);
    announce(UFemHasModelDataKey, true);
}

std::optional<QByteArray> UFemDocument::resultFileData(UErrorPtr* error) const
{
    if (!hasModelData_) {
        UFemSetError(error, unexpectedError("No model data while writing ResultFileData."));
        return std::nullopt;
    }
    const UFemResultDataManager* manager = dataController_->resultDataManager();
    if (manager == nullptr) {
        UFemSetError(error, unexpectedError("No result data while writing ResultFileData."));
        return std::nullopt;
    }
    return manager->resultFileData(error);
}

bool UFemDocument::loadResultDataWithResultFileURL(const QString& path, UErrorPtr* error)
{
    if (!hasModelData_) {
        UFemSetError(error, unexpectedError(NoModelDataBeforeLoading));
        return false;
    }
    if (dataController_->resultDataManager() != nullptr) {
        UFemSetError(error, UFemProjectResultDataAlreadyLoadedError());
        return false;
    }
    const std::optional<QByteArray> data = readFileData(path, error);
    return data && loadResultFileData(*data, error);
}

void UFemDocument::unloadResultData()
{
    UFemRaisesOnFailure(loadResultFileData(std::nullopt, nullptr));
}

bool UFemDocument::loadClipboardCardValue(const QString& clipboardCardValueString,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error)
{
    return dataController_->loadClipboardCardValueWithClipboardCardValueString(
        clipboardCardValueString, columnSeparatingCharacterType, error);
}

void UFemDocument::unloadClipboardCardValue()
{
    UFemRaisesOnFailure(dataController_->setClipboardCardValueResultDataManager(nullptr, nullptr));
}
