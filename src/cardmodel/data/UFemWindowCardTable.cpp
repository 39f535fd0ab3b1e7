#include "cardmodel/data/UFemWindowCardTable.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

namespace {

UNotificationCenter& centerOf(const UFemDataController& dataController)
{
    UNotificationCenter* center = dataController.notificationCenter();
    return center ? *center : UNotificationCenter::defaultCenter();
}

} // namespace

UFemWindowCardTable::UFemWindowCardTable(UFemDataController& dataController)
    : documentCardTable_(dataController.cardTable())
    , center_(centerOf(dataController))
    , windowCardArray_(filteredArrayCapacity)
{
    for (auto& typeArray : windowCardTypeCardArrayTable_)
        typeArray.emplace(filteredArrayCapacity);
    const auto relay = [this](const QString& name, bool marksStale) {
        return [this, name, marksStale](const UNotification&) {
            if (marksStale)
                needsUpdateWindowCardArray_ = true;
            post(name);
        };
    };
    const void* sender = &dataController;
    observations_.push_back(center_.observe(UFemModelDataWillChangeNotification_private, sender,
        relay(UFemWindowCardTableWillChangeNotification_private, false)));
    observations_.push_back(center_.observe(UFemModelDataDidChangeNotification_private, sender,
        relay(UFemWindowCardTableDidChangeNotification_private, true)));
    observations_.push_back(center_.observe(UFemModelDataWillChangeNotification, sender,
        relay(UFemWindowCardTableWillChangeNotification, false)));
    observations_.push_back(center_.observe(UFemModelDataDidChangeNotification, sender,
        relay(UFemWindowCardTableDidChangeNotification, false)));
}

UFemWindowCardTable::~UFemWindowCardTable()
{
    observations_.clear();
}

bool UFemWindowCardTable::useFilteredArrays()
{
    if (!windowCardFilter_.isCardFilterValid())
        return false;
    updateWindowCardArray();
    return true;
}

void UFemWindowCardTable::updateWindowCardArray()
{
    if (!windowCardFilter_.isCardFilterValid() || !needsUpdateWindowCardArray_)
        return;
    windowCardArray_.removeAllObjects();
    for (auto& typeArray : windowCardTypeCardArrayTable_)
        typeArray->removeAllObjects();
    for (const UFemCardPtr& card : documentCardTable_.cardArray()) {
        if (!windowCardFilter_.isCardValid(*card))
            continue;
        windowCardArray_.addObject(card);
        const qint32 cardType = card->cardType();
        if (cardType > 0 && cardType < UFemCardTable::cardTypeArrayCount)
            windowCardTypeCardArrayTable_[size_t(cardType)]->addObject(card);
    }
    needsUpdateWindowCardArray_ = false;
}

quint64 UFemWindowCardTable::indexOfCard(const UFemCardPtr& card)
{
    if (!useFilteredArrays())
        return documentCardTable_.indexOfCard(card);
    const quint64 index = windowCardArray_.indexOfObjectIdenticalTo(card);
    return index == UNSNotFound ? UFemNotFound : index;
}

bool UFemWindowCardTable::containsCard(const UFemCardPtr& card)
{
    return useFilteredArrays() ? windowCardArray_.containsObject(card)
                               : documentCardTable_.containsCard(card);
}

quint64 UFemWindowCardTable::count()
{
    return useFilteredArrays() ? windowCardArray_.count() : documentCardTable_.count();
}

const UFemCardPtr& UFemWindowCardTable::cardAtIndex(quint64 index)
{
    return useFilteredArrays() ? windowCardArray_.objectAtIndex(index)
                               : documentCardTable_.cardAtIndex(index);
}

const UFemCardArray& UFemWindowCardTable::cardArray()
{
    return useFilteredArrays() ? windowCardArray_ : documentCardTable_.cardArray();
}

const UFemCardArray& UFemWindowCardTable::cardArrayOfCardType(qint32 cardType)
{
    if (!useFilteredArrays())
        return documentCardTable_.cardArrayOfCardType(cardType);
    if (cardType < 0 || cardType >= UFemCardTable::cardTypeArrayCount)
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown card type."), cardType);
    return *windowCardTypeCardArrayTable_[size_t(cardType)];
}

UFemCardEnumerator UFemWindowCardTable::cardEnumerator()
{
    return useFilteredArrays() ? windowCardArray_.objectEnumerator()
                               : documentCardTable_.cardEnumerator();
}

void UFemWindowCardTable::setCardFilterString(
    const std::optional<QString>& cardFilterString, UErrorPtr* error)
{
    post(UFemWindowCardTableWillChangeNotification);
    post(UFemWindowCardTableWillChangeNotification_private);
    UErrorPtr failure;
    if (windowCardFilter_.setCardFilterString(cardFilterString, &failure))
        needsUpdateWindowCardArray_ = true;
    post(UFemWindowCardTableDidChangeNotification_private);
    post(UFemWindowCardTableDidChangeNotification);
    if (failure)
        UFemSetError(error, std::move(failure));
}
