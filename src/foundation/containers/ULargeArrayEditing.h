#pragma once

#include "foundation/UFemNotFound.h"

// Adding, inserting, replacing and removing objects of ULargeArray; included by ULargeArray.h only.

template <typename T> void ULargeArray<T>::addObject(Object object)
{
    applyProspectiveCount(objectCount_ + 1);
    countMutation();
    const auto entry = claimEntry(object);
    try {
        if (childArrayRecordCount_ == 0) {
            insertChildArrayRecordAtRecordIndex(0);
            setValidMark(0);
        }
        if (records_[childArrayRecordCount_ - 1].table.size() >= childArrayCount_ref_)
            insertChildArrayRecordAtRecordIndex(childArrayRecordCount_);
        Record& last = records_[childArrayRecordCount_ - 1];
        reserveTable(last.table, last.table.size() + 1);
        entry->second = uint32_t(last.identifier + 1);
        last.table.push_back(std::move(object));
    } catch (...) {
        objectDictionary_.erase(entry);
        throw;
    }
    ++objectCount_;
}

template <typename T> void ULargeArray<T>::insertObject(Object object, uint64_t index)
{
    if (index == objectCount_) {
        addObject(std::move(object));
        return;
    }
    if (index > objectCount_)
        URaiseRangeException();
    applyProspectiveCount(objectCount_ + 1);
    countMutation();
    uint64_t start = 0;
    const uint64_t position
        = index == 0 ? 0 : childArrayRecordIndexAndGetLocation(&start, index - 1);
    Record& record = records_[position];
    const auto entry = claimEntry(object);
    try {
        reserveTable(record.table, record.table.size() + 1);
    } catch (...) {
        objectDictionary_.erase(entry);
        throw;
    }
    entry->second = uint32_t(record.identifier + 1);
    record.table.insert(record.table.begin() + (index - start), std::move(object));
    ++objectCount_;
    lowerValidMark(position);
    if (record.table.size() > big())
        rebalance();
}

template <typename T> void ULargeArray<T>::addObjectsFromArray(std::span<const Object> objects)
{
    applyProspectiveCount(objectCount_ + objects.size());
    countMutation();
    if (addObjectsFromSpan(objects))
        rebalance();
}

template <typename T>
void ULargeArray<T>::insertObjectFromArray(std::span<const Object> objects, uint64_t index)
{
    insertObjectFromArray(objects, { 0, objects.size() }, index);
}

template <typename T>
void ULargeArray<T>::insertObjectFromArray(
    std::span<const Object> objects, UIndexRange range, uint64_t index)
{
    if (range.location > objects.size() || range.length > objects.size() - range.location
        || index > objectCount_)
        URaiseRangeException();
    applyProspectiveCount(objectCount_ + range.length);
    countMutation();
    if (insertObjectsFromSpan(objects.subspan(range.location, range.length), index))
        rebalance();
}

// Appends in chunks that fill the last child up to ref and then new children of ref each.
template <typename T> bool ULargeArray<T>::addObjectsFromSpan(std::span<const Object> objects)
{
    const uint64_t n = objects.size();
    if (n == 0)
        return false;
    if (childArrayRecordCount_ == 0) {
        insertChildArrayRecordAtRecordIndex(0);
        setValidMark(0);
    }
    if (childArrayRecordCount_ + 2 + n / childArrayCount_ref_ > maximumChildCount - 1)
        rebalance();
    const uint64_t lastCount = records_[childArrayRecordCount_ - 1].table.size();
    uint64_t chunk = std::min(n, childArrayCount_ref_ - std::min(lastCount, childArrayCount_ref_));
    if (chunk == 0) {
        insertChildArrayRecordAtRecordIndex(childArrayRecordCount_);
        chunk = std::min(n, childArrayCount_ref_);
    }
    for (uint64_t taken = 0; taken < n;) {
        if (taken > 0) {
            insertChildArrayRecordAtRecordIndex(childArrayRecordCount_);
            chunk = std::min(n - taken, childArrayCount_ref_);
        }
        Record& record = records_[childArrayRecordCount_ - 1];
        const uint64_t first = record.table.size();
        reserveTable(record.table, first + chunk);
        record.table.insert(
            record.table.end(), objects.begin() + taken, objects.begin() + taken + chunk);
        enterObjects(record, first, first + chunk);
        objectCount_ += chunk;
        taken += chunk;
    }
    return false;
}

template <typename T>
bool ULargeArray<T>::insertObjectsFromSpan(std::span<const Object> objects, uint64_t index)
{
    const uint64_t length = objects.size();
    if (length == 0)
        return false;
    if (index == objectCount_)
        return addObjectsFromSpan(objects);
    if (childArrayRecordCount_ + 2 + length / childArrayCount_ref_ > maximumChildCount - 1)
        rebalance();
    uint64_t start = 0;
    const uint64_t position
        = index == 0 ? 0 : childArrayRecordIndexAndGetLocation(&start, index - 1);
    Record& record = records_[position];
    const uint64_t offset = index - start;
    if (record.table.size() + length >= big())
        return insertLarge(objects, position, offset);
    reserveTable(record.table, record.table.size() + length);
    record.table.insert(record.table.begin() + offset, objects.begin(), objects.end());
    enterObjects(record, offset, offset + length);
    objectCount_ += length;
    lowerValidMark(position);
    return false;
}

// Splits the target child at the insertion point, then fills it and new children after it with
// chunks of up to ref objects.
template <typename T>
bool ULargeArray<T>::insertLarge(
    std::span<const Object> objects, uint64_t position, uint64_t offset)
{
    const uint64_t count = records_[position].table.size();
    const uint64_t start = records_[position].location.load();
    bool due = false;
    uint64_t target = position;
    if (offset != count) {
        due = count - offset < half();
        if (offset > count / 2) {
            insertChildArrayRecordAtRecordIndex(position + 1);
            moveObjectsToEnd(records_[position], offset, count - offset, records_[position + 1]);
        } else {
            insertChildArrayRecordAtRecordIndex(position);
            moveObjectsToEnd(records_[position + 1], 0, offset, records_[position]);
            records_[position].location.store(start);
        }
    }
    const uint64_t length = objects.size();
    uint64_t taken = 0;
    uint64_t chunk = std::min(length,
        childArrayCount_ref_ - std::min(records_[target].table.size(), childArrayCount_ref_));
    while (taken < length) {
        if (chunk == 0) {
            const uint64_t nextStart
                = records_[target].location.load() + records_[target].table.size();
            insertChildArrayRecordAtRecordIndex(++target);
            records_[target].location.store(nextStart);
            chunk = std::min(length - taken, childArrayCount_ref_);
        }
        Record& record = records_[target];
        const uint64_t first = record.table.size();
        reserveTable(record.table, first + chunk);
        record.table.insert(
            record.table.end(), objects.begin() + taken, objects.begin() + taken + chunk);
        enterObjects(record, first, first + chunk);
        taken += chunk;
        chunk = 0;
    }
    objectCount_ += length;
    lowerValidMark(target);
    return due || records_[target].table.size() < half();
}

template <typename T> void ULargeArray<T>::replaceObjectAtIndex(uint64_t index, Object object)
{
    uint64_t start = 0;
    const uint64_t position = childArrayRecordIndexAndGetLocation(&start, index);
    Record& record = records_[position];
    Object& slot = record.table[index - start];
    if (slot == object)
        return;
    refuseDuplicate(object);
    objectDictionary_.erase(slot.get());
    enterNewObject(object, record);
    slot = std::move(object);
}

template <typename T>
void ULargeArray<T>::replaceObjectsInRange(UIndexRange range, std::span<const Object> objects)
{
    replaceObjectsInRange(range, objects, { 0, objects.size() });
}

template <typename T>
void ULargeArray<T>::replaceObjectsInRange(
    UIndexRange range, std::span<const Object> objects, UIndexRange sourceRange)
{
    if (range.length == 0 && sourceRange.length == 0)
        return;
    if (range.location > objectCount_ || range.length > objectCount_ - range.location
        || sourceRange.location > objects.size()
        || sourceRange.length > objects.size() - sourceRange.location)
        URaiseRangeException();
    if (sourceRange.length > range.length)
        applyProspectiveCount(objectCount_ + sourceRange.length - range.length);
    countMutation();
    bool due = false;
    if (range.length != 0)
        due = removeObjectsInRangeUncounted(range);
    if (sourceRange.length != 0)
        due = insertObjectsFromSpan(
                  objects.subspan(sourceRange.location, sourceRange.length), range.location)
            || due;
    if (due)
        rebalance();
}

template <typename T>
void ULargeArray<T>::setArrayWithObjects(const Object* objects, uint64_t count)
{
    applyProspectiveCount(count);
    ++mutations_;
    objectDictionary_.clear();
    objectDictionary_.reserve(count);
    uint64_t position = 0;
    for (uint64_t taken = 0; taken < count; ++position) {
        if (position >= childArrayRecordCount_)
            insertChildArrayRecordAtRecordIndex(position);
        Record& record = records_[position];
        const uint64_t chunk = std::min(count - taken, childArrayCount_ref_);
        record.table.clear();
        reserveTable(record.table, chunk);
        record.table.assign(objects + taken, objects + taken + chunk);
        record.location.store(taken);
        enterObjects(record, 0, chunk);
        taken += chunk;
    }
    while (childArrayRecordCount_ > position)
        removeChildArrayRecordAtRecordIndex(childArrayRecordCount_ - 1);
    objectCount_ = count;
    setValidMark(childArrayRecordCount_ == 0 ? UFemNotFound : childArrayRecordCount_ - 1);
}

template <typename T> void ULargeArray<T>::removeAllObjects()
{
    ++mutations_;
    objectDictionary_.clear();
    while (childArrayRecordCount_ > 0)
        removeChildArrayRecordAtRecordIndex(childArrayRecordCount_ - 1);
    objectCount_ = 0;
    records_[0].location.store(0);
    setValidMark(0);
}
