#pragma once

#include "foundation/UFemNotFound.h"
#include "foundation/containers/UIndexRange.h"
#include "foundation/containers/UPointerHashMap.h"
#include "foundation/errors/UException.h"

#include <QString>

#include <algorithm>
#include <array>
#include <atomic>
#include <concepts>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <vector>

template <typename T> class ULargeArrayEnumerator;

// The ordered array that holds a model's cards: up to 144 children of roughly equal size, a
// proportional estimate over lazily kept start indexes to find the child of an index, and a map
// from object to child for identity questions. Objects are shared; the child tables own them and
// the map only names them. An object stands in the array at most once.
//
// Several threads may read one array at once while none changes it: lookups store start indexes
// and the valid mark through atomics. Any change must exclude all other access.
template <typename T> class ULargeArray {
public:
    using Object = std::shared_ptr<T>;

    static constexpr uint64_t maximumChildCount = 144;
    static constexpr uint64_t spareChildCount = 8;
    static constexpr uint64_t tableGrowthStep = 512;
    static constexpr uint64_t defaultCapacity = 10000;
    static constexpr uint64_t childCountPerReference = 64;

    ULargeArray()
        : ULargeArray(defaultCapacity)
    {
    }
    explicit ULargeArray(uint64_t capacity);
    ULargeArray(const Object* objects, uint64_t count);
    ULargeArray(const ULargeArray& other);
    ULargeArray& operator=(const ULargeArray& other);
    ~ULargeArray() = default;

    // The child-size ladder: the target number of objects per child for a count of n.
    static uint64_t referenceSizeForCount(uint64_t n);

    // Reading
    uint64_t count() const { return objectCount_; }
    const Object& objectAtIndex(uint64_t index) const;
    std::vector<Object> objectsAtIndexes(const std::vector<uint64_t>& indexes) const;
    Object lastObject() const;
    void getObjects(Object* buffer) const { getObjects(buffer, { 0, objectCount_ }); }
    void getObjects(Object* buffer, UIndexRange range) const;
    std::vector<Object> toVector() const;
    bool containsObject(const Object& object) const
    {
        return objectDictionary_.contains(object.get());
    }
    uint64_t indexOfObject(const Object& object) const
    {
        return indexOfObject(object, { 0, objectCount_ });
    }
    uint64_t indexOfObject(const Object& object, UIndexRange range) const;
    uint64_t indexOfObjectIdenticalTo(const Object& object) const;
    uint64_t indexOfObjectIdenticalTo(const Object& object, UIndexRange range) const;
    uint64_t childArrayRecordIndexAndGetLocation(uint64_t* location, uint64_t index) const;
    ULargeArrayEnumerator<T> objectEnumerator() const;
    ULargeArrayEnumerator<T> reverseObjectEnumerator() const;

    // Changing
    void addObject(Object object);
    void insertObject(Object object, uint64_t index);
    void addObjectsFromArray(std::span<const Object> objects);
    void insertObjectFromArray(std::span<const Object> objects, uint64_t index);
    void insertObjectFromArray(std::span<const Object> objects, UIndexRange range, uint64_t index);
    void replaceObjectAtIndex(uint64_t index, Object object);
    void replaceObjectsInRange(UIndexRange range, std::span<const Object> objects);
    void replaceObjectsInRange(
        UIndexRange range, std::span<const Object> objects, UIndexRange sourceRange);
    void removeObjectAtIndex(uint64_t index);
    void removeLastObject();
    void removeObjectsInRange(UIndexRange range);
    void removeObjectsAtIndexes(const std::vector<uint64_t>& indexes);
    void removeObjectsFromIndices(const uint64_t* indices, uint64_t count);
    void removeObject(const Object& object) { removeObject(object, { 0, objectCount_ }); }
    void removeObject(const Object& object, UIndexRange range)
    {
        removeFoundObject(object, range, false);
    }
    void removeObjectIdenticalTo(const Object& object)
    {
        removeObjectIdenticalTo(object, { 0, objectCount_ });
    }
    void removeObjectIdenticalTo(const Object& object, UIndexRange range)
    {
        removeFoundObject(object, range, true);
    }
    void removeAllObjects();
    void setArrayWithObjects(const Object* objects, uint64_t count);
    void optimizeWithOptimizeLevel(uint64_t level);

    // The state an enumerator walks with; see nextObjectWithEnumeratorStatePtr.
    struct EnumeratorState {
        bool isReverseDirection = false;
        uint64_t nextObjectIndex = 0;
        uint64_t currentChildArrayRecordIndex = 0;
        const Object* nextObjectPtrInChildArray = nullptr;
        const Object* lastObjectPtrInChildArray = nullptr;
        uint64_t mutations = 0;
    };
    Object nextObjectWithEnumeratorStatePtr(EnumeratorState* state) const;

    // A forward iterator that stops with a program error when the array changed under it.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Object;
        using difference_type = std::ptrdiff_t;
        using pointer = const Object*;
        using reference = const Object&;

        const_iterator() = default;
        reference operator*() const;
        pointer operator->() const { return &**this; }
        const_iterator& operator++();
        const_iterator operator++(int);
        bool operator==(const const_iterator& other) const
        {
            return position_ == other.position_ && offset_ == other.offset_;
        }

    private:
        friend class ULargeArray;
        const_iterator(const ULargeArray* array, uint64_t position)
            : array_(array)
            , position_(position)
            , mutations_(array->mutations_)
        {
        }
        void checkMutations() const;
        const ULargeArray* array_ = nullptr;
        uint64_t position_ = 0;
        uint64_t offset_ = 0;
        uint64_t mutations_ = 0;
    };
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, childArrayRecordCount_); }

    // Bookkeeping, for diagnostics and tests.
    uint64_t childArrayRecordCount() const { return childArrayRecordCount_; }
    uint64_t childArrayCount(uint64_t position) const { return records_[position].table.size(); }
    uint64_t childArrayCount_ref() const { return childArrayCount_ref_; }
    uint64_t objectCount_targetMax() const { return objectCount_targetMax_; }
    uint64_t mutations() const { return mutations_; }
    // Empty when every invariant holds, else the first broken one.
    QString invariantViolation() const;

private:
    // A start index that concurrent readers may store; copying it is done by the single writer.
    struct Location {
        std::atomic<uint64_t> value { 0 };
        Location() = default;
        Location(const Location& other)
            : value(other.load())
        {
        }
        Location& operator=(const Location& other)
        {
            store(other.load());
            return *this;
        }
        uint64_t load() const { return value.load(std::memory_order_relaxed); }
        void store(uint64_t start) { value.store(start, std::memory_order_relaxed); }
    };

    struct Record {
        uint64_t identifier = 0;
        mutable Location location;
        std::vector<Object> table; // owns the child's objects
        bool allocated = false;
    };

    using Table = std::vector<Object>;
    using Dictionary = UPointerHashMap<T, uint32_t>; // object → child identifier + 1

    uint64_t half() const { return childArrayCount_ref_ / 2; }
    uint64_t big() const { return childArrayCount_ref_ + childArrayCount_ref_ / 2; }
    uint64_t doubleBig() const { return 2 * big(); }
    uint64_t validMark() const
    {
        return childArrayLocationValidRecordIndex_.load(std::memory_order_acquire);
    }
    void setValidMark(uint64_t mark)
    {
        childArrayLocationValidRecordIndex_.store(mark, std::memory_order_release);
    }
    void lowerValidMark(uint64_t position);
    void raiseValidMark(uint64_t position) const;
    void validateLocationsUpTo(uint64_t position) const;

    void applyProspectiveCount(uint64_t count);
    void countMutation();
    static void reserveTable(Table& table, uint64_t needed);
    void enterObjects(const Record& record, uint64_t from, uint64_t to);
    void enterNewObject(const Object& object, const Record& record);
    void refuseDuplicate(const Object& object) const;
    typename Dictionary::iterator claimEntry(const Object& object);

    void insertChildArrayRecordAtRecordIndex(uint64_t position);
    void removeChildArrayRecordAtRecordIndex(uint64_t position);
    void releaseSpareBeyondReach();
    uint64_t takeFreeIdentifier();
    void moveObjectsToEnd(Record& from, uint64_t offset, uint64_t count, Record& to);
    void moveObjectsToFront(Record& from, uint64_t offset, uint64_t count, Record& to);

    bool addObjectsFromSpan(std::span<const Object> objects);
    bool insertObjectsFromSpan(std::span<const Object> objects, uint64_t index);
    bool insertLarge(std::span<const Object> objects, uint64_t position, uint64_t offset);
    bool removeObjectsInRangeUncounted(UIndexRange range);
    void removeLastObjectUncounted();
    void removeSortedIndexes(const std::vector<uint64_t>& indexes);
    void eraseObjects(Record& record, uint64_t offset, uint64_t count);
    void eraseOffsets(Record& record, std::span<const uint64_t> indexes, uint64_t start);
    uint64_t findObject(
        const Object& object, UIndexRange range, bool identical, uint64_t* position) const;
    void removeFoundObject(const Object& object, UIndexRange range, bool identical);
    void rebalance();
    uint64_t rebalanceSmallChild(uint64_t position, uint64_t& start);
    uint64_t rebalanceLargeChild(uint64_t position, uint64_t& start);
    QString locationViolation() const;

    uint64_t objectCount_ = 0;
    uint64_t childArrayRecordCount_ = 0;
    std::array<uint64_t, maximumChildCount> childArrayIndexTableByIdentifier_;
    std::array<Record, maximumChildCount> records_;
    Dictionary objectDictionary_;
    mutable std::atomic<uint64_t> childArrayLocationValidRecordIndex_ { UFemNotFound };
    uint64_t objectCount_targetMax_ = 0;
    uint64_t childArrayCount_ref_ = 0;
    uint64_t childArrayCount_optimized_ = 0;
    uint64_t newChildArrayIdentifierSearchMin_ = 0;
    uint64_t mutations_ = 0;
};

// Walks a large array forwards or backwards; the array must outlive it.
template <typename T> class ULargeArrayEnumerator {
public:
    using Object = std::shared_ptr<T>;
    using State = typename ULargeArray<T>::EnumeratorState;

    ULargeArrayEnumerator(const ULargeArray<T>* array, const State& state)
        : array_(array)
        , state_(state)
    {
    }
    // The next object, or null after the last; raises a program error when the array changed.
    Object nextObject() { return array_->nextObjectWithEnumeratorStatePtr(&state_); }

private:
    const ULargeArray<T>* array_;
    State state_;
};

#include "foundation/containers/ULargeArrayCore.h"
#include "foundation/containers/ULargeArrayEditing.h"
#include "foundation/containers/ULargeArrayReading.h"
#include "foundation/containers/ULargeArrayRemoving.h"
