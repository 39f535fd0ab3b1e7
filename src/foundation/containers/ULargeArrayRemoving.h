#pragma once

// Removing objects of ULargeArray; included by ULargeArray.h only.

// Takes `count` objects out of a child at `offset`, with their map entries.
template <typename T>
void ULargeArray<T>::eraseObjects(Record& record, uint64_t offset, uint64_t count)
{
    auto begin = record.table.begin() + offset;
    for (auto it = begin; it != begin + count; ++it)
        objectDictionary_.erase(it->get());
    record.table.erase(begin, begin + count);
    objectCount_ -= count;
}

template <typename T> void ULargeArray<T>::removeObjectAtIndex(uint64_t index)
{
    countMutation();
    if (index >= objectCount_)
        URaiseRangeException();
    if (index == objectCount_ - 1) {
        removeLastObjectUncounted();
        return;
    }
    uint64_t start = 0;
    const uint64_t position = childArrayRecordIndexAndGetLocation(&start, index);
    eraseObjects(records_[position], index - start, 1);
    lowerValidMark(position);
    if (records_[position].table.size() < half())
        rebalance();
}

template <typename T> void ULargeArray<T>::removeLastObject()
{
    countMutation();
    if (objectCount_ == 0)
        URaiseRangeException();
    removeLastObjectUncounted();
}

template <typename T> void ULargeArray<T>::removeLastObjectUncounted()
{
    const uint64_t position = childArrayRecordCount_ - 1;
    Record& record = records_[position];
    eraseObjects(record, record.table.size() - 1, 1);
    const bool emptied = record.table.empty();
    if (emptied)
        removeChildArrayRecordAtRecordIndex(position);
    if (emptied || record.table.size() < half())
        rebalance();
}

template <typename T> void ULargeArray<T>::removeObjectsInRange(UIndexRange range)
{
    if (range.length == 0)
        return;
    countMutation();
    if (removeObjectsInRangeUncounted(range))
        rebalance();
}

template <typename T> bool ULargeArray<T>::removeObjectsInRangeUncounted(UIndexRange range)
{
    if (range.location >= objectCount_ || range.length > objectCount_ - range.location)
        URaiseRangeException();
    uint64_t start = 0;
    const uint64_t first = childArrayRecordIndexAndGetLocation(&start, range.location);
    uint64_t offset = range.location - start;
    uint64_t remaining = range.length;
    uint64_t position = first;
    bool due = false;
    while (remaining > 0) {
        Record& record = records_[position];
        const uint64_t taken = std::min(remaining, record.table.size() - offset);
        eraseObjects(record, offset, taken);
        remaining -= taken;
        offset = 0;
        if (record.table.empty()) {
            removeChildArrayRecordAtRecordIndex(position);
            lowerValidMark(position);
        } else {
            due = due || record.table.size() < half();
            ++position;
        }
    }
    lowerValidMark(first);
    return due;
}

template <typename T>
void ULargeArray<T>::removeObjectsAtIndexes(const std::vector<uint64_t>& indexes)
{
    if (indexes.empty())
        return;
    countMutation();
    if (std::is_sorted(indexes.begin(), indexes.end())) {
        removeSortedIndexes(indexes);
        return;
    }
    std::vector<uint64_t> sorted = indexes;
    std::sort(sorted.begin(), sorted.end());
    removeSortedIndexes(sorted);
}

template <typename T>
void ULargeArray<T>::removeObjectsFromIndices(const uint64_t* indices, uint64_t count)
{
    if (count == 0)
        return;
    countMutation();
    std::vector<uint64_t> sorted(indices, indices + count);
    if (!std::is_sorted(sorted.begin(), sorted.end()))
        std::sort(sorted.begin(), sorted.end());
    removeSortedIndexes(sorted);
}

// From the highest index down, a child at a time: the indexes that fall in one child are taken
// out of it in one pass. Repeated indexes count once; an index beyond the end changes nothing and
// raises.
template <typename T> void ULargeArray<T>::removeSortedIndexes(const std::vector<uint64_t>& indexes)
{
    if (indexes.back() >= objectCount_)
        URaiseRangeException();
    bool due = false;
    auto last = indexes.end();
    while (last != indexes.begin()) {
        uint64_t start = 0;
        const uint64_t position = childArrayRecordIndexAndGetLocation(&start, *(last - 1));
        const auto first = std::lower_bound(indexes.begin(), last, start);
        Record& record = records_[position];
        eraseOffsets(record, std::span<const uint64_t>(first, last), start);
        lowerValidMark(position);
        if (record.table.empty())
            removeChildArrayRecordAtRecordIndex(position);
        else
            due = due || record.table.size() < half();
        last = first;
    }
    if (due)
        rebalance();
}

// Takes out of a child the objects at the given indexes (ascending, all inside the child that
// starts at `start`), keeping the others in order.
template <typename T>
void ULargeArray<T>::eraseOffsets(Record& record, std::span<const uint64_t> indexes, uint64_t start)
{
    Table& table = record.table;
    uint64_t write = indexes.front() - start;
    uint64_t removed = 0;
    auto next = indexes.begin();
    for (uint64_t read = write; read < table.size(); ++read) {
        if (next != indexes.end() && *next - start == read) {
            objectDictionary_.erase(table[read].get());
            ++removed;
            while (next != indexes.end() && *next - start == read)
                ++next;
            continue;
        }
        table[write++] = std::move(table[read]);
    }
    table.resize(write);
    objectCount_ -= removed;
}

// The index of the first object in the range, inside the object's own child, that is the object
// (identical) or equal to it; UNSNotFound otherwise.
template <typename T>
uint64_t ULargeArray<T>::findObject(
    const Object& object, UIndexRange range, bool identical, uint64_t* position) const
{
    const auto entry = objectDictionary_.find(object.get());
    if (entry == objectDictionary_.end())
        return UNSNotFound;
    *position = childArrayIndexTableByIdentifier_[entry->second - 1];
    validateLocationsUpTo(*position);
    const Record& record = records_[*position];
    const uint64_t start = record.location.load();
    const uint64_t end = start + record.table.size();
    const uint64_t rangeEnd = range.length > ~uint64_t(0) - range.location
        ? ~uint64_t(0)
        : range.location + range.length;
    const uint64_t from = std::max(range.location, start);
    const uint64_t to = std::min(rangeEnd, end);
    for (uint64_t i = from; i < to; ++i) {
        const Object& candidate = record.table[i - start];
        if (candidate == object)
            return i;
        if constexpr (requires(const T& a, const T& b) {
                          {
                              a == b
                              } -> std::convertible_to<bool>;
                      }) {
            if (!identical && candidate && object && *object == *candidate)
                return i;
        }
    }
    return UNSNotFound;
}

template <typename T>
uint64_t ULargeArray<T>::indexOfObject(const Object& object, UIndexRange range) const
{
    uint64_t position = 0;
    return findObject(object, range, false, &position);
}

template <typename T> uint64_t ULargeArray<T>::indexOfObjectIdenticalTo(const Object& object) const
{
    return indexOfObjectIdenticalTo(object, { 0, objectCount_ });
}

template <typename T>
uint64_t ULargeArray<T>::indexOfObjectIdenticalTo(const Object& object, UIndexRange range) const
{
    uint64_t position = 0;
    return findObject(object, range, true, &position);
}

template <typename T>
void ULargeArray<T>::removeFoundObject(const Object& object, UIndexRange range, bool identical)
{
    countMutation();
    uint64_t position = 0;
    const uint64_t index = findObject(object, range, identical, &position);
    if (index == UNSNotFound)
        return;
    Record& record = records_[position];
    eraseObjects(record, index - record.location.load(), 1);
    lowerValidMark(position);
    if (record.table.empty())
        removeChildArrayRecordAtRecordIndex(position);
    else if (record.table.size() < half())
        rebalance();
}
