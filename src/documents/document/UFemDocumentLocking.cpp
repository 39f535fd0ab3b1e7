// The locks of a document's model and the calculation hand-off.
#include "documents/document/UFemDocument.h"

#include "cardmodel/data/UFemDataController.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

namespace {

struct LockReason {
    const char* description;
    const char* recoverySuggestion;
};

const LockReason NoModelData { "Model data ( Model file ) does not exist.",
    "Load model data with Project Info View." };
const LockReason ResultDocument { "Model data in result data is not editable.",
    "Edit the original model file, or you can write model data from this result data." };
const LockReason SelfLocked { "Model data is locked by the card '#ModelDataLock, YES'.",
    "To edit model, open and edit another software like Text Editor." };
const LockReason ResultLoaded { "Model data is loading result data, so not editable.",
    "If you unload the result data, you can edit model. The result data will not be loaded to "
    "model data after editing." };
const LockReason Calculating { "Model data is on calculating, so not editable.",
    "If you detach the result data calculating, you can edit model. The result data will not be "
    "loaded to model data after editing." };
const LockReason StrongLocked { "Model data is locked.",
    "To edit model, unlock with 'File' menu." };
const LockReason EasyLocked { "Model data is temporally locked.",
    "To edit model, unlock with 'File' menu or 'Unlock' button on toolbar." };

UErrorPtr lockedError(const LockReason& reason)
{
    return UFemModelDataLockedError_withDescription(
        QString::fromUtf8(reason.description), QString::fromUtf8(reason.recoverySuggestion));
}

} // namespace

UFemDocument::LockStatusChange::LockStatusChange(const UFemDocument& document)
    : document_(document)
{
    document_.postLockStatus(UFemDocumentLockStatusWillChangeNotification);
}

UFemDocument::LockStatusChange::~LockStatusChange()
{
    document_.postLockStatus(UFemDocumentLockStatusDidChangeNotification);
}

void UFemDocument::postLockStatus(const QString& name) const
{
    UNotificationCenter::defaultCenter().post(name, this);
}

void UFemDocument::updateOutsideLock()
{
    dataController_->setLockedOutside(shouldDataControllerLockOutside());
}

bool UFemDocument::shouldDataControllerLockOutside() const
{
    return !hasModelData_ || documentType_ == UFemDocumentTypeResult || isEasyLocked_
        || isStrongLocked_ || hasResultData() || isCalculating();
}

bool UFemDocument::canSetEasyLocked() const
{
    return hasModelData_ && documentType_ != UFemDocumentTypeResult && !isStrongLocked_
        && !hasResultData() && !isCalculating() && !dataController_->isLockedInside();
}

void UFemDocument::setLock(bool& flag, bool locked)
{
    const LockStatusChange change(*this);
    flag = locked;
    updateOutsideLock();
}

void UFemDocument::setEasyLocked(bool locked)
{
    setLock(isEasyLocked_, locked);
}

void UFemDocument::setStrongLocked(bool locked)
{
    setLock(isStrongLocked_, locked);
}

UErrorPtr UFemDocument::modelDataLockedErrorWithDataController(const UFemDataController&)
{
    if (!hasModelData_)
        return lockedError(NoModelData);
    if (documentType_ == UFemDocumentTypeResult)
        return lockedError(ResultDocument);
    if (dataController_->isModelDataSelfLocked())
        return lockedError(SelfLocked);
    if (hasResultData())
        return lockedError(ResultLoaded);
    if (isCalculating())
        return lockedError(Calculating);
    if (isStrongLocked_)
        return lockedError(StrongLocked);
    if (isEasyLocked_)
        return lockedError(EasyLocked);
    UFemRaiseProgramError(QStringLiteral("Unknown locked reason."));
}

// ---- Calculation hand-off

bool UFemDocument::checkToStartCalculation(UErrorPtr* error) const
{
    if (hasResultData()) {
        UFemSetError(error, UFemResultDataAlreadyExistError());
        return false;
    }
    if (isCalculating()) {
        UFemSetError(error, UFemDocumentNowCalculatingError());
        return false;
    }
    return true;
}

void UFemDocument::calculationDidStart(quint64 identifier)
{
    const LockStatusChange change(*this);
    calculationIdentifierNumber_ = identifier;
    updateOutsideLock();
}

void UFemDocument::endCalculation()
{
    calculationIdentifierNumber_ = UFemNoCalculationIdentifierNumber;
    updateOutsideLock();
}

bool UFemDocument::checkCalculatedData(UFemDataController& calculated, UErrorPtr* error) const
{
    const auto fail = [error](const char* description) {
        UFemSetError(error, UFemUnexpectedError_withDescription(QString::fromUtf8(description)));
        return false;
    };
    if (documentType_ != UFemDocumentTypeProject && documentType_ != UFemDocumentTypeModel)
        return fail("Document type is not Project or Model.");
    if (!hasModelData_)
        return fail("No model data before loading result data.");
    if (dataController_->modelTextOfAllCards() != calculated.modelTextOfAllCards())
        return fail("ModelText_self and ModelText_calc are different.");
    if (calculated.resultDataManager() == nullptr)
        return fail("No ResultDataManager in ResultData.");
    return true;
}

void UFemDocument::calculationDone(quint64 identifier,
    const std::shared_ptr<UFemDataController>& calculatedDataController,
    const UErrorPtr& calculationError)
{
    if (!isCalculating() || identifier != calculationIdentifierNumber_)
        return;
    UErrorPtr error;
    if (calculationError) {
        const LockStatusChange change(*this);
        endCalculation();
        return;
    }
    if (calculatedDataController && checkCalculatedData(*calculatedDataController, &error)) {
        // The results keep the calculated model alive only as long as they are attached.
        std::shared_ptr<UFemResultDataManager> results(
            calculatedDataController, calculatedDataController->resultDataManager());
        if (attachResults(std::move(results), true, true, &error))
            return;
    } else {
        if (!calculatedDataController)
            error = UFemUnexpectedError_withDescription(
                QStringLiteral("No ResultDataManager in ResultData."));
        // A check that fails must not leave the model locked "on calculating" for ever.
        const LockStatusChange change(*this);
        endCalculation();
    }
    if (documentController() != nullptr)
        presentError(error);
}

void UFemDocument::calculationDoneWithNotification(const UNotification& notification)
{
    const QVariantMap& info = notification.userInfo;
    calculationDone(info.value(UFemCalculationIdentifierNumberKey).toULongLong(),
        info.value(UFemCalculationDataControllerKey).value<std::shared_ptr<UFemDataController>>(),
        info.value(UFemCalculationErrorKey).value<UErrorPtr>());
}
