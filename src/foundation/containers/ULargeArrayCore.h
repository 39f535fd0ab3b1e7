#pragma once

#include "foundation/UFemNotFound.h"

// Children, reference sizes and rebalancing of ULargeArray; included by ULargeArray.h only.

template <typename T> ULargeArray<T>::ULargeArray(uint64_t capacity)
{
    childArrayIndexTableByIdentifier_.fill(UFemNotFound);
    if (capacity > 0) {
        childArrayCount_ref_ = referenceSizeForCount(capacity);
        objectCount_targetMax_ = childCountPerReference * childArrayCount_ref_;
    }
}

template <typename T>
ULargeArray<T>::ULargeArray(const Object* objects, uint64_t count)
    : ULargeArray(count)
{
    setArrayWithObjects(objects, count);
}

template <typename T>
ULargeArray<T>::ULargeArray(const ULargeArray& other)
    : ULargeArray(other.objectCount_)
{
    const std::vector<Object> objects = other.toVector();
    setArrayWithObjects(objects.data(), objects.size());
}

template <typename T> ULargeArray<T>& ULargeArray<T>::operator=(const ULargeArray& other)
{
    if (this != &other) {
        const std::vector<Object> objects = other.toVector();
        setArrayWithObjects(objects.data(), objects.size());
    }
    return *this;
}

template <typename T> uint64_t ULargeArray<T>::referenceSizeForCount(uint64_t n)
{
    constexpr uint64_t million = 1048576;
    constexpr uint64_t largestStep = 16384;
    if (n > million)
        return largestStep * ((n - 1) / million + 1);
    uint64_t reference = 1024;
    for (uint64_t limit = 65536; n > limit; limit *= 2)
        reference *= 2;
    return reference;
}

template <typename T> void ULargeArray<T>::lowerValidMark(uint64_t position)
{
    if (validMark() > position)
        setValidMark(position);
}

// Readers may race here; the mark only ever rises, and the starts below it are already stored.
template <typename T> void ULargeArray<T>::raiseValidMark(uint64_t position) const
{
    uint64_t mark = validMark();
    while ((mark == UFemNotFound || mark < position)
        && !childArrayLocationValidRecordIndex_.compare_exchange_weak(
            mark, position, std::memory_order_acq_rel, std::memory_order_acquire)) { }
}

template <typename T> void ULargeArray<T>::validateLocationsUpTo(uint64_t position) const
{
    uint64_t mark = validMark();
    if (mark != UFemNotFound && mark >= position)
        return;
    if (mark == UFemNotFound) {
        mark = 0;
        records_[0].location.store(0);
    }
    uint64_t start = records_[mark].location.load();
    for (uint64_t r = mark; r < position; ++r) {
        start += records_[r].table.size();
        records_[r + 1].location.store(start);
    }
    raiseValidMark(position);
}

template <typename T> void ULargeArray<T>::applyProspectiveCount(uint64_t count)
{
    if (count > objectCount_targetMax_) {
        childArrayCount_ref_ = referenceSizeForCount(count);
        objectCount_targetMax_ = childCountPerReference * childArrayCount_ref_;
    }
}

template <typename T> void ULargeArray<T>::countMutation()
{
    ++mutations_;
    if (childArrayCount_ref_ != childArrayCount_optimized_)
        rebalance();
}

template <typename T> void ULargeArray<T>::reserveTable(Table& table, uint64_t needed)
{
    if (needed <= table.capacity())
        return;
    try {
        table.reserve(std::max<uint64_t>(table.capacity() + tableGrowthStep, needed));
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    } catch (const std::length_error&) {
        UFemRaiseMemoryAllocationFailed();
    }
}

template <typename T>
void ULargeArray<T>::enterObjects(const Record& record, uint64_t from, uint64_t to)
{
    const uint32_t value = uint32_t(record.identifier + 1);
    for (uint64_t i = from; i < to; ++i)
        objectDictionary_[record.table[i].get()] = value;
}

template <typename T>
void ULargeArray<T>::enterNewObject(const Object& object, const Record& record)
{
    objectDictionary_.emplace(object.get(), uint32_t(record.identifier + 1));
}

template <typename T> void ULargeArray<T>::refuseDuplicate(const Object& object) const
{
    if (containsObject(object))
        UFemRaiseProgramError(QStringLiteral("Object is already in the array."));
}

// Enters a new object in the map with no child yet, refusing one the array already holds.
template <typename T>
typename ULargeArray<T>::Dictionary::iterator ULargeArray<T>::claimEntry(const Object& object)
{
    const auto [entry, inserted] = objectDictionary_.try_emplace(object.get(), 0);
    if (!inserted)
        UFemRaiseProgramError(QStringLiteral("Object is already in the array."));
    return entry;
}

template <typename T> uint64_t ULargeArray<T>::takeFreeIdentifier()
{
    uint64_t identifier = newChildArrayIdentifierSearchMin_;
    while (childArrayIndexTableByIdentifier_[identifier] != UFemNotFound)
        ++identifier;
    newChildArrayIdentifierSearchMin_ = identifier + 1;
    return identifier;
}

template <typename T> void ULargeArray<T>::insertChildArrayRecordAtRecordIndex(uint64_t position)
{
    if (childArrayRecordCount_ == maximumChildCount)
        UFemRaiseProgramError(QStringLiteral("Array Table is full."));
    const uint64_t spare = childArrayRecordCount_;
    if (!records_[spare].allocated) {
        Record& record = records_[spare];
        record.table = Table();
        reserveTable(record.table, childArrayCount_ref_ * 5 / 4);
        record.identifier = takeFreeIdentifier();
        record.allocated = true;
    }
    std::rotate(
        records_.begin() + position, records_.begin() + spare, records_.begin() + spare + 1);
    for (uint64_t r = position; r <= spare; ++r) {
        if (records_[r].allocated)
            childArrayIndexTableByIdentifier_[records_[r].identifier] = r;
    }
    ++childArrayRecordCount_;
    if (position == 0)
        records_[0].location.store(0);
}

template <typename T> void ULargeArray<T>::removeChildArrayRecordAtRecordIndex(uint64_t position)
{
    const uint64_t start = records_[position].location.load();
    records_[position].table.clear();
    const uint64_t last = childArrayRecordCount_ - 1;
    std::rotate(
        records_.begin() + position, records_.begin() + position + 1, records_.begin() + last + 1);
    for (uint64_t r = position; r <= last; ++r) {
        if (records_[r].allocated)
            childArrayIndexTableByIdentifier_[records_[r].identifier] = r;
    }
    --childArrayRecordCount_;
    releaseSpareBeyondReach();
    if (position < childArrayRecordCount_)
        records_[position].location.store(start);
    // A mark beyond the live children would vouch for the start of the next child created there.
    const uint64_t mark = validMark();
    if (mark != UFemNotFound && mark >= childArrayRecordCount_)
        setValidMark(childArrayRecordCount_ == 0 ? UFemNotFound : childArrayRecordCount_ - 1);
}

template <typename T> void ULargeArray<T>::releaseSpareBeyondReach()
{
    const uint64_t beyond = childArrayRecordCount_ + spareChildCount;
    if (beyond >= maximumChildCount || !records_[beyond].allocated)
        return;
    Record& record = records_[beyond];
    record.table = Table();
    childArrayIndexTableByIdentifier_[record.identifier] = UFemNotFound;
    newChildArrayIdentifierSearchMin_
        = std::min(newChildArrayIdentifierSearchMin_, record.identifier);
    record.identifier = 0;
    record.allocated = false;
}

template <typename T>
void ULargeArray<T>::moveObjectsToEnd(Record& from, uint64_t offset, uint64_t count, Record& to)
{
    const uint64_t first = to.table.size();
    reserveTable(to.table, first + count);
    auto begin = from.table.begin() + offset;
    to.table.insert(
        to.table.end(), std::make_move_iterator(begin), std::make_move_iterator(begin + count));
    from.table.erase(begin, begin + count);
    enterObjects(to, first, first + count);
}

template <typename T>
void ULargeArray<T>::moveObjectsToFront(Record& from, uint64_t offset, uint64_t count, Record& to)
{
    reserveTable(to.table, to.table.size() + count);
    auto begin = from.table.begin() + offset;
    to.table.insert(
        to.table.begin(), std::make_move_iterator(begin), std::make_move_iterator(begin + count));
    from.table.erase(begin, begin + count);
    enterObjects(to, 0, count);
}

template <typename T> void ULargeArray<T>::optimizeWithOptimizeLevel(uint64_t level)
{
    if (level == 0)
        return;
    if (level == 1) {
        rebalance();
        return;
    }
    const std::vector<Object> objects = toVector();
    setArrayWithObjects(objects.data(), objects.size());
}

// One pass over the children: small ones are merged with or topped up from their successor,
// large ones split or hand their tail on, so that children end between half and big.
template <typename T> void ULargeArray<T>::rebalance()
{
    if (childArrayRecordCount_ == 0) {
        setValidMark(UFemNotFound);
        childArrayCount_optimized_ = childArrayCount_ref_;
        return;
    }
    uint64_t start = 0;
    uint64_t position = 0;
    while (position < childArrayRecordCount_) {
        records_[position].location.store(start);
        const uint64_t count = records_[position].table.size();
        const bool last = position == childArrayRecordCount_ - 1;
        if (count < half() && !last)
            position = rebalanceSmallChild(position, start);
        else if (count > big())
            position = rebalanceLargeChild(position, start);
        else {
            start += count;
            ++position;
        }
    }
    setValidMark(childArrayRecordCount_ - 1);
    childArrayCount_optimized_ = childArrayCount_ref_;
}

// Returns the next position to visit; `start` advances past the children done.
template <typename T>
uint64_t ULargeArray<T>::rebalanceSmallChild(uint64_t position, uint64_t& start)
{
    uint64_t count = records_[position].table.size();
    while (count < half() && position != childArrayRecordCount_ - 1) {
        Record& next = records_[position + 1];
        const uint64_t sum = count + next.table.size();
        if (sum > big()) {
            const uint64_t target = sum > doubleBig() ? childArrayCount_ref_ : sum / 2;
            moveObjectsToEnd(next, 0, target - count, records_[position]);
            start += target;
            if (sum > doubleBig())
                return position + 1;
            next.location.store(start);
            start += next.table.size();
            return position + 2;
        }
        if (count < next.table.size()) {
            moveObjectsToFront(records_[position], 0, count, next);
            removeChildArrayRecordAtRecordIndex(position);
        } else {
            moveObjectsToEnd(next, 0, next.table.size(), records_[position]);
            removeChildArrayRecordAtRecordIndex(position + 1);
        }
        records_[position].location.store(start);
        count = records_[position].table.size();
    }
    start += count;
    return position + 1;
}

template <typename T>
uint64_t ULargeArray<T>::rebalanceLargeChild(uint64_t position, uint64_t& start)
{
    const uint64_t count = records_[position].table.size();
    uint64_t keep;
    if (position == childArrayRecordCount_ - 1) {
        keep = childArrayCount_ref_;
    } else {
        const uint64_t sum = count + records_[position + 1].table.size();
        if (sum <= doubleBig()) {
            keep = sum / 2;
            moveObjectsToFront(records_[position], keep, count - keep, records_[position + 1]);
            records_[position + 1].location.store(start + keep);
            start += sum;
            return position + 2;
        }
        keep = count > doubleBig() ? childArrayCount_ref_ : count / 2;
    }
    insertChildArrayRecordAtRecordIndex(position + 1);
    moveObjectsToEnd(records_[position], keep, count - keep, records_[position + 1]);
    records_[position + 1].location.store(start + keep);
    start += count;
    return position + 2;
}
