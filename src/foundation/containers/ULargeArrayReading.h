#pragma once

#include "foundation/UFemNotFound.h"

// Lookups, copies, enumeration and invariant checks of ULargeArray; included by ULargeArray.h only.

// Finds the child holding `index` from a proportional estimate. Walking forwards stores the
// starts it passes and raises the valid mark; concurrent readers store the same values.
template <typename T>
uint64_t ULargeArray<T>::childArrayRecordIndexAndGetLocation(
    uint64_t* location, uint64_t index) const
{
    if (index >= objectCount_)
        URaiseRangeException();
    const uint64_t live = childArrayRecordCount_;
    const uint64_t estimate = uint64_t((unsigned __int128)live * index / objectCount_);
    const uint64_t mark = validMark();
    uint64_t position = std::min({ mark == UFemNotFound ? 0 : mark, live, estimate });
    uint64_t start = records_[position].location.load();
    if (mark == UFemNotFound) {
        position = 0;
        start = 0;
    }
    if (index < start) {
        do {
            start = records_[--position].location.load();
        } while (index < start);
        *location = start;
        return position;
    }
    while (index >= start + records_[position].table.size()) {
        start += records_[position].table.size();
        records_[++position].location.store(start);
    }
    raiseValidMark(position);
    *location = start;
    return position;
}

template <typename T>
const typename ULargeArray<T>::Object& ULargeArray<T>::objectAtIndex(uint64_t index) const
{
    uint64_t start = 0;
    const uint64_t position = childArrayRecordIndexAndGetLocation(&start, index);
    return records_[position].table[index - start];
}

template <typename T>
std::vector<typename ULargeArray<T>::Object> ULargeArray<T>::objectsAtIndexes(
    const std::vector<uint64_t>& indexes) const
{
    std::vector<uint64_t> sorted = indexes;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<Object> objects;
    objects.reserve(sorted.size());
    for (const uint64_t index : sorted)
        objects.push_back(objectAtIndex(index));
    return objects;
}

template <typename T> typename ULargeArray<T>::Object ULargeArray<T>::lastObject() const
{
    if (objectCount_ == 0)
        return nullptr;
    return records_[childArrayRecordCount_ - 1].table.back();
}

template <typename T> void ULargeArray<T>::getObjects(Object* buffer, UIndexRange range) const
{
    if (range.location > objectCount_ || range.length > objectCount_ - range.location)
        URaiseRangeException();
    if (range.length == 0)
        return;
    uint64_t start = 0;
    uint64_t position = childArrayRecordIndexAndGetLocation(&start, range.location);
    uint64_t offset = range.location - start;
    for (uint64_t remaining = range.length; remaining > 0; ++position, offset = 0) {
        const Table& table = records_[position].table;
        const uint64_t taken = std::min(remaining, table.size() - offset);
        buffer = std::copy(table.begin() + offset, table.begin() + offset + taken, buffer);
        remaining -= taken;
    }
}

template <typename T> std::vector<typename ULargeArray<T>::Object> ULargeArray<T>::toVector() const
{
    std::vector<Object> objects;
    objects.reserve(objectCount_);
    for (uint64_t r = 0; r < childArrayRecordCount_; ++r)
        objects.insert(objects.end(), records_[r].table.begin(), records_[r].table.end());
    return objects;
}

template <typename T> ULargeArrayEnumerator<T> ULargeArray<T>::objectEnumerator() const
{
    EnumeratorState state;
    state.mutations = mutations_;
    if (objectCount_ > 0) {
        state.nextObjectPtrInChildArray = records_[0].table.data();
        state.lastObjectPtrInChildArray = records_[0].table.data() + records_[0].table.size() - 1;
    }
    return ULargeArrayEnumerator<T>(this, state);
}

template <typename T> ULargeArrayEnumerator<T> ULargeArray<T>::reverseObjectEnumerator() const
{
    EnumeratorState state;
    state.isReverseDirection = true;
    state.mutations = mutations_;
    if (objectCount_ > 0) {
        const Table& last = records_[childArrayRecordCount_ - 1].table;
        state.nextObjectIndex = objectCount_ - 1;
        state.currentChildArrayRecordIndex = childArrayRecordCount_ - 1;
        state.nextObjectPtrInChildArray = last.data() + last.size() - 1;
        state.lastObjectPtrInChildArray = last.data();
    }
    return ULargeArrayEnumerator<T>(this, state);
}

template <typename T>
typename ULargeArray<T>::Object ULargeArray<T>::nextObjectWithEnumeratorStatePtr(
    EnumeratorState* state) const
{
    if (state->mutations != mutations_)
        UFemRaiseProgramError(QStringLiteral("LargeArray changed while enumerating."));
    const Object* slot = state->nextObjectPtrInChildArray;
    if (!slot)
        return nullptr;
    const bool reverse = state->isReverseDirection;
    state->nextObjectIndex += reverse ? uint64_t(-1) : 1;
    if (slot != state->lastObjectPtrInChildArray) {
        state->nextObjectPtrInChildArray = reverse ? slot - 1 : slot + 1;
        return *slot;
    }
    const uint64_t current = state->currentChildArrayRecordIndex;
    const bool exhausted = reverse ? current == 0 : current + 1 >= childArrayRecordCount_;
    if (exhausted) {
        state->nextObjectPtrInChildArray = nullptr;
        state->lastObjectPtrInChildArray = nullptr;
        return *slot;
    }
    const uint64_t next = reverse ? current - 1 : current + 1;
    const Table& table = records_[next].table;
    state->currentChildArrayRecordIndex = next;
    state->nextObjectPtrInChildArray = reverse ? table.data() + table.size() - 1 : table.data();
    state->lastObjectPtrInChildArray = reverse ? table.data() : table.data() + table.size() - 1;
    return *slot;
}

template <typename T> void ULargeArray<T>::const_iterator::checkMutations() const
{
    if (mutations_ != array_->mutations_)
        UFemRaiseProgramError(QStringLiteral("LargeArray changed while enumerating."));
}

template <typename T>
typename ULargeArray<T>::const_iterator::reference ULargeArray<T>::const_iterator::operator*() const
{
    checkMutations();
    return array_->records_[position_].table[offset_];
}

template <typename T>
typename ULargeArray<T>::const_iterator& ULargeArray<T>::const_iterator::operator++()
{
    checkMutations();
    if (++offset_ == array_->records_[position_].table.size()) {
        ++position_;
        offset_ = 0;
    }
    return *this;
}

template <typename T>
typename ULargeArray<T>::const_iterator ULargeArray<T>::const_iterator::operator++(int)
{
    const_iterator before = *this;
    ++*this;
    return before;
}

template <typename T> QString ULargeArray<T>::invariantViolation() const
{
    uint64_t total = 0;
    for (uint64_t r = 0; r < childArrayRecordCount_; ++r) {
        const Record& record = records_[r];
        if (record.table.empty())
            return QStringLiteral("empty live child %1").arg(r);
        if (!record.allocated || childArrayIndexTableByIdentifier_[record.identifier] != r)
            return QStringLiteral("identifier of child %1").arg(r);
        for (const Object& object : record.table) {
            const auto entry = objectDictionary_.find(object.get());
            if (entry == objectDictionary_.end() || entry->second != record.identifier + 1)
                return QStringLiteral("map entry of an object of child %1").arg(r);
        }
        total += record.table.size();
    }
    if (total != objectCount_ || objectDictionary_.size() != objectCount_)
        return QStringLiteral("object count");
    for (uint64_t r = childArrayRecordCount_; r < maximumChildCount; ++r) {
        if (!records_[r].table.empty()
            || (r >= childArrayRecordCount_ + spareChildCount && records_[r].allocated))
            return QStringLiteral("spare child %1").arg(r);
    }
    if (objectCount_ > childCountPerReference * childArrayCount_ref_)
        return QStringLiteral("reference size");
    return locationViolation();
}

template <typename T> QString ULargeArray<T>::locationViolation() const
{
    if (childArrayRecordCount_ == 0)
        return QString();
    const uint64_t mark = validMark();
    if (mark == UFemNotFound || mark >= childArrayRecordCount_)
        return QStringLiteral("valid mark %1 with %2 children")
            .arg(mark)
            .arg(childArrayRecordCount_);
    uint64_t start = 0;
    for (uint64_t r = 0; r <= mark; ++r) {
        if (records_[r].location.load() != start)
            return QStringLiteral("start of child %1").arg(r);
        start += records_[r].table.size();
    }
    return QString();
}
