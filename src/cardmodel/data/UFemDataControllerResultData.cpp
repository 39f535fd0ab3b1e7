// The result data and pasted card values a data controller holds.
#include "cardmodel/data/UFemDataController.h"

#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

void UFemDataController::postResultDataDidChange() const
{
    post(UFemResultDataDidChangeNotification_private);
    post(UFemResultDataDidChangeNotification);
}

void UFemDataController::resetNodeNoAndCaseNo()
{
    if (services_.resetNodeNoAndCaseNo)
        services_.resetNodeNoAndCaseNo(*this);
}

bool UFemDataController::setResultDataManager(
    std::shared_ptr<UFemResultDataManager> resultDataManager, bool doesAllowCalculationError,
    UErrorPtr* error)
{
    post(UFemResultDataWillChangeNotification);
    post(UFemResultDataWillChangeNotification_private);
    clearDisplacementValueRangeCache();
    // Observers may still use the old results until the did-change notifications are through.
    const std::shared_ptr<UFemResultDataManager> oldManager = std::move(resultDataManager_);
    resultDataManager_.reset();
    UErrorPtr failure;
    if (resultDataManager)
        failure = attachResultDataManager(std::move(resultDataManager), doesAllowCalculationError);
    else
        lockFlag_inside_ &= ~resultDataLockBit;
    if (!resultDataManager_ || failure) {
        resetNodeNoAndCaseNo();
        lockFlag_inside_ &= ~resultDataLockBit;
    }
    postResultDataDidChange();
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    return true;
}

UErrorPtr UFemDataController::attachResultDataManager(
    std::shared_ptr<UFemResultDataManager> manager, bool doesAllowCalculationError)
{
    const std::optional<QString> resultModelText = manager->modelText();
    if (!resultModelText)
        return UFemUnexpectedError_withDescription(
            QStringLiteral("No model data in ResultPackageDocument."));
    if (*resultModelText != modelTextOfAllCards())
        return UFemModelDataDifferentWhenLoadResultDataError();
    if (const UErrorPtr calculationError = manager->calculationError();
        calculationError && !doesAllowCalculationError)
        return UFemCalculationInResultDataFailedError_withCalculationError(calculationError);
    resultDataManager_ = std::move(manager);
    if (!resultDataManager_->canSynchronizeNodeNoAndCaseNoWithModelData()) {
        // Attached, but the model is not treated as having results: it stays editable.
        lockFlag_inside_ &= ~resultDataLockBit;
        return nullptr;
    }
    UErrorPtr failure;
    if (!services_.synchronizeNodeNoAndCaseNoToResultData
        || services_.synchronizeNodeNoAndCaseNoToResultData(*this, &failure)) {
        lockFlag_inside_ |= resultDataLockBit;
        return nullptr;
    }
    resultDataManager_.reset();
    return failure;
}

bool UFemDataController::setClipboardCardValueResultDataManager(
    std::shared_ptr<UFemResultDataManager_ClipboardCardValue> manager, UErrorPtr*)
{
    clearDisplacementValueRangeCache();
    post(UFemResultDataWillChangeNotification);
    post(UFemResultDataWillChangeNotification_private);
    const std::shared_ptr<UFemResultDataManager_ClipboardCardValue> oldManager
        = std::move(clipboardCardValueResultDataManager_);
    clipboardCardValueResultDataManager_ = std::move(manager);
    if (!clipboardCardValueResultDataManager_)
        resetNodeNoAndCaseNo();
    postResultDataDidChange();
    return true;
}

bool UFemDataController::loadClipboardCardValueWithClipboardCardValueString(
    const QString& clipboardCardValueString,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, UErrorPtr* error)
{
    std::shared_ptr<UFemResultDataManager_ClipboardCardValue> manager;
    if (services_.makeClipboardCardValueResultDataManager)
        manager = services_.makeClipboardCardValueResultDataManager(*this);
    if (!manager) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("No reader of clipboard card values.")));
        return false;
    }
    UErrorPtr failure;
    if (!manager->loadClipboardCardValueWithClipboardCardValueString(
            clipboardCardValueString, columnSeparatingCharacterType, &failure)) {
        UFemSetError(error, failure);
        return false;
    }
    return setClipboardCardValueResultDataManager(std::move(manager), error);
}
