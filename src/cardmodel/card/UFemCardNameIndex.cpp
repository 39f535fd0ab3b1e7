#include "cardmodel/card/UFemCardNameIndex.h"

#include "cardmodel/card/UFemCardName.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <QHash>
#include <QHashSeed>

#include <algorithm>
#include <new>
#include <utility>

std::size_t UFemCardNameIndex::hashOfText(QStringView text)
{
    // Seeded per process: a hostile model cannot line its names up in one probe run.
    return qHash(text, QHashSeed::globalSeed());
}

bool UFemCardNameIndex::hasText(const UFemCardName& cardName, QStringView text)
{
    return cardName.cardNameString_.equals(text);
}

std::size_t UFemCardNameIndex::findSlot(QStringView text, std::size_t hash) const
{
    if (capacity_ == 0)
        return UFemNotFound;
    for (std::size_t i = home(hash);; i = next(i)) {
        const Slot& slot = slots_[i];
        if (!slot.cardName)
            return UFemNotFound;
        if (slot.hash == hash && hasText(*slot.cardName, text))
            return i;
    }
}

const std::shared_ptr<UFemCardName>* UFemCardNameIndex::find(
    QStringView text, std::size_t hash) const
{
    const std::size_t i = findSlot(text, hash);
    return i == UFemNotFound ? nullptr : &slots_[i].cardName;
}

bool UFemCardNameIndex::insert(std::shared_ptr<UFemCardName> cardName)
{
    UCompactString::Buffer buffer;
    const QStringView text = cardName->cardNameString_.view(buffer);
    const std::size_t hash = hashOfText(text);
    if (findSlot(text, hash) != UFemNotFound)
        return false;
    if ((size_ + 1) * maximumLoadDenominator > capacity_ * maximumLoadNumerator)
        rehash(std::max(minimumCapacity, capacity_ * 2));
    std::size_t i = home(hash);
    while (slots_[i].cardName)
        i = next(i);
    slots_[i] = Slot { hash, std::move(cardName) };
    ++size_;
    return true;
}

void UFemCardNameIndex::erase(const UFemCardName* cardName)
{
    UCompactString::Buffer buffer;
    const QStringView text = cardName->cardNameString_.view(buffer);
    std::size_t hole = findSlot(text, hashOfText(text));
    if (hole == UFemNotFound || slots_[hole].cardName.get() != cardName)
        return;
    // Later entries of the probe run move back into the hole, so that no tombstone is needed.
    for (std::size_t i = next(hole); slots_[i].cardName; i = next(i)) {
        const std::size_t wanted = home(slots_[i].hash);
        const bool homeInRun
            = hole <= i ? (hole < wanted && wanted <= i) : (hole < wanted || wanted <= i);
        if (!homeInRun) {
            slots_[hole] = std::move(slots_[i]);
            hole = i;
        }
    }
    // The name may go with its last holder here: the slot is empty before that happens.
    const std::shared_ptr<UFemCardName> released = std::move(slots_[hole].cardName);
    slots_[hole].hash = 0;
    --size_;
}

void UFemCardNameIndex::resetWithCapacity(std::size_t count)
{
    std::size_t capacity = minimumCapacity;
    while (count * maximumLoadDenominator > capacity * maximumLoadNumerator)
        capacity *= 2;
    const ULargeTable<Slot> released = std::exchange(slots_, ULargeTable<Slot>(capacity));
    capacity_ = capacity;
    size_ = 0;
}

void UFemCardNameIndex::clear() noexcept
{
    const ULargeTable<Slot> released = std::exchange(slots_, ULargeTable<Slot>());
    capacity_ = 0;
    size_ = 0;
}

void UFemCardNameIndex::rehash(std::size_t capacity)
{
    ULargeTable<Slot> old = std::exchange(slots_, ULargeTable<Slot>(capacity));
    const std::size_t oldCapacity = std::exchange(capacity_, capacity);
    for (std::size_t i = 0; i < oldCapacity; ++i) {
        if (!old[i].cardName)
            continue;
        std::size_t j = home(old[i].hash);
        while (slots_[j].cardName)
            j = next(j);
        slots_[j] = std::move(old[i]);
    }
}
