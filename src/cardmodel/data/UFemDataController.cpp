#include "cardmodel/data/UFemDataController.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataControllerDelegate.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "cardmodel/text/UFemModelText.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/threads/UThreadTaskContext.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUndoManager.h"

#include <QTimer>

#include <cmath>

namespace {

std::unique_ptr<UThreadTaskContext> makeTaskContext(
    const UFemDataControllerServices::TaskContextMaker& maker, UFemDataController& dataController)
{
    // The stand-in: a task without work, which only answers cancel and clear.
    return maker ? maker(dataController) : std::make_unique<UThreadTaskContext>();
}

} // namespace

UFemDataController::UFemDataController(const UFemDataControllerServices& services)
    : services_(services)
    , lifeToken_(std::make_shared<UFemDataController*>(this))
{
    forceValueRangeCalcThreadTaskContext_
        = makeTaskContext(services_.makeForceValueRangeCalcThreadTaskContext, *this);
    displacementValueRangeCalcThreadTaskContext_
        = makeTaskContext(services_.makeDisplacementValueRangeCalcThreadTaskContext, *this);
    cardIdentifierNumberWarningTimer_ = std::make_unique<QTimer>();
    cardIdentifierNumberWarningTimer_->setSingleShot(true);
    cardIdentifierNumberWarningTimer_->setInterval(0);
    QObject::connect(cardIdentifierNumberWarningTimer_.get(), &QTimer::timeout,
        [this] { _displayCardIdentifierNumberLimitWarningAlert(); });
}

UFemDataController::~UFemDataController()
{
    finish();
}

void UFemDataController::finish()
{
    if (!forceValueRangeCalcThreadTaskContext_)
        return;
    lifeToken_.reset();
    cardIdentifierNumberWarningTimer_->stop();
    isNextCardIdentifierNumberWarningTimerEnabled_ = false;
    lockFlag_outside_ = 0;
    lockFlag_inside_ = 0;
    delegate_ = nullptr;
    quitAllBackgroundThreadIfCalculating();
    emptyModel();
    cardTable_.finish();
    nextCardIdentifierNumber_ = 0;
    resultDataManager_.reset();
    clipboardCardValueResultDataManager_.reset();
    matrixCalculationContext_.reset();
    UThreadTaskContext::clearAll_shouldNotRunning_withThreadTaskContextList(
        { forceValueRangeCalcThreadTaskContext_.get(),
            displacementValueRangeCalcThreadTaskContext_.get() });
    forceValueRangeCalcThreadTaskContext_.reset();
    displacementValueRangeCalcThreadTaskContext_.reset();
    undoManager_ = nullptr;
    notificationCenter_ = nullptr;
}

// Cards first give up their names, so that no name outlives the model's cards.
// The whole name table goes at once: its names are detached together rather than unregistered
// column by column. Every card is emptied while the table still holds it, so that cards someone
// else still holds (undo records, card sets) hold no name afterwards. Allocates nothing: the
// destructor ends here.
void UFemDataController::emptyModel()
{
    cardNameTable_.clear();
    const UFemCardArray& cards = cardTable_.rowArray();
    for (quint64 row = 0; row < cards.count(); ++row)
        cards.objectAtIndex(row)->resetAllCardColumns();
    cardTable_.removeAllCards();
    cardIdentifierNumberDictionary_.clear();
}

std::unique_ptr<UFemDataController> UFemDataController::copy() const
{
    auto copied = std::make_unique<UFemDataController>(services_);
    std::vector<UFemCardTextColumnsPtr> records = UFemCardTextColumnsArray(cardTable_.rowArray());
    for (const UFemCardTextColumnsPtr& record : records)
        record->setCardIdentifierNumber(UFemNotFound);
    UErrorPtr error;
    if (!copied->resetWithCardTextColumnsArray(records, true, &error))
        UFemRaiseProgramError(QStringLiteral("An error occurred while copyWithZone:."));
    if (!resultDataManager_)
        return copied;
    UErrorPtr readingError;
    const std::optional<QByteArray> data = resultDataManager_->resultFileData(&error);
    std::shared_ptr<UFemResultDataManager> results;
    if (data && services_.makeResultDataManagerWithResultFileData)
        results = services_.makeResultDataManagerWithResultFileData(*data, &readingError, &error);
    if (!results || readingError || !copied->setResultDataManager(results, true, &error))
        UFemRaiseProgramError(QStringLiteral("An error occurred while copyWithZone:."));
    return copied;
}

void UFemDataController::reset()
{
    UUndoManager* keptUndoManager = undoManager_;
    UNotificationCenter* keptNotificationCenter = notificationCenter_;
    post(UFemResultDataWillChangeNotification);
    post(UFemModelDataWillChangeNotification);
    quitAllBackgroundThreadIfCalculating();
    post(UFemResultDataWillChangeNotification_private);
    post(UFemModelDataWillChangeNotification_private);
    undoManager_ = nullptr;
    notificationCenter_ = nullptr;
    if (keptUndoManager != nullptr)
        keptUndoManager->removeAllActions();
    lockFlag_outside_ = 0;
    lockFlag_inside_ = 0;
    UErrorPtr ignored;
    // Letting the result data go never fails.
    static_cast<void>(setResultDataManager(nullptr, false, &ignored));
    static_cast<void>(setClipboardCardValueResultDataManager(nullptr, &ignored));
    matrixCalculationContext_.reset();
    emptyModel();
    nextCardIdentifierNumber_ = 0;
    nextCardIdentifierNumberWarningNumber_ = UFemCardIdentifierNumberFirstWarningNumber;
    cardIdentifierNumberWarningTimer_->stop();
    isNextCardIdentifierNumberWarningTimerEnabled_ = false;
    lastEditedCardRowIndex_ = UFemNotFound;
    isObjectSizeValid_ = false;
    isObjectSizeValid_rough_ = false;
    objectSize_rough_previousNodeCount_ = 0;
    objectSize_rough_modelDataChangeCount_ = 0;
    undoManager_ = keptUndoManager;
    notificationCenter_ = keptNotificationCenter;
    post(UFemModelDataDidChangeNotification_private);
    post(UFemResultDataDidChangeNotification_private);
    clearAllBackgroundThreadIfCanceled();
    post(UFemModelDataDidChangeNotification);
    post(UFemResultDataDidChangeNotification);
}

void UFemDataController::post(const QString& name) const
{
    if (notificationCenter_ != nullptr)
        notificationCenter_->post(name, this);
}

UErrorPtr UFemDataController::resultDataCalculationError() const
{
    return resultDataManager_ ? resultDataManager_->calculationError() : nullptr;
}

const UFemCardArray& UFemDataController::errorCardArray()
{
    return cardTable_.cardArrayOfCardType(UFemErrorCardType);
}

UFemCardPtr UFemDataController::cardWithCardIdentifierNumber(quint64 cardIdentifierNumber) const
{
    UFemCard* card = cardIdentifierNumberDictionary_.find(cardIdentifierNumber);
    return card == nullptr ? nullptr : card->shared_from_this();
}

std::shared_ptr<UFemCardName> UFemDataController::searchCardNameWithCardNameString(
    const QString& cardNameString, UErrorPtr* error) const
{
    return cardNameTable_.searchCardNameWithCardNameString(cardNameString, error);
}

bool UFemDataController::containsCardNameWithCardNameString(
    const QString& cardNameString, UErrorPtr* error) const
{
    return cardNameTable_.containsCardNameWithCardNameString(cardNameString, error);
}

std::vector<UFemCard*> UFemDataController::cardArrayWithCardNameString(
    const QString& cardNameString, UErrorPtr* error) const
{
    return cardNameTable_.cardArrayWithCardNameString(cardNameString, error);
}

QString UFemDataController::modelTextOfAllCards()
{
    return UFemModelText(cardTable_.cardArray());
}

UFemCard* UFemDataController::cardAtRowIndex(quint64 rowIndex) const
{
    return cardTable_.rowArray().objectAtIndex(rowIndex).get();
}

const UFemClipboardCardValueManager* UFemDataController::clipboardCardValueManager() const
{
    return clipboardCardValueResultDataManager_.get();
}

void UFemDataController::setModelDataSelfLocked(bool isLocked)
{
    lockFlag_inside_
        = isLocked ? (lockFlag_inside_ | selfLockBit) : (lockFlag_inside_ & ~selfLockBit);
}

UErrorPtr UFemDataController::errorIfLocked() const
{
    if (!isLocked())
        return nullptr;
    if (delegate_ != nullptr) {
        if (UErrorPtr error = delegate_->modelDataLockedErrorWithDataController(*this))
            return error;
    }
    return UFemModelDataLockedError();
}

void UFemDataController::getObjectSize(double objectSize[6])
{
    if (!isObjectSizeValid_)
        updateObjectSize();
    std::copy(objectSize_, objectSize_ + 6, objectSize);
}

void UFemDataController::getObjectSize_rough(double objectSize[6])
{
    if (!isObjectSizeValid_rough_)
        updateObjectSize();
    std::copy(objectSize_rough_, objectSize_rough_ + 6, objectSize);
}

void UFemDataController::updateObjectSize()
{
    const UFemCardArray& nodes = cardTable_.nodeCardArray();
    UFemGetNodeBoundingBox(objectSize_, nodes);
    std::copy(objectSize_, objectSize_ + 6, objectSize_rough_);
    isObjectSizeValid_ = true;
    isObjectSizeValid_rough_ = true;
    objectSize_rough_previousNodeCount_ = nodes.count();
    objectSize_rough_modelDataChangeCount_ = 0;
}

double UFemBoundingBoxDiagonal(const double boundingBox[6])
{
    const double dx = boundingBox[1] - boundingBox[0];
    const double dy = boundingBox[3] - boundingBox[2];
    const double dz = boundingBox[5] - boundingBox[4];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

UNotificationCenter& UFemDataController::modelNotificationCenter() const
{
    return notificationCenter_ != nullptr ? *notificationCenter_
                                          : UNotificationCenter::defaultCenter();
}
