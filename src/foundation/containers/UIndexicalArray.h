#pragma once

#include "foundation/containers/UIndexRange.h"
#include "foundation/containers/UPointerDictionaries.h"
#include "foundation/errors/UException.h"

#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <unordered_map>
#include <vector>

// A read-mostly ordered array that tells the index of an object in constant time: filled
// wholesale, then only read (several threads may read at once). An object maps to the index of
// its last equal occurrence. The table owns every object, equal twins included; the index map
// only names them.
template <typename T, typename Hash = UObjectHash<T>, typename Equal = std::equal_to<T>>
class UIndexicalArray {
public:
    using Object = std::shared_ptr<T>;

    UIndexicalArray() = default;
    explicit UIndexicalArray(std::span<const Object> objects) { setArray(objects); }
    UIndexicalArray(const Object* objects, uint64_t count) { setArrayWithObjects(objects, count); }
    static UIndexicalArray arrayWithArray(std::span<const Object> objects)
    {
        return UIndexicalArray(objects);
    }

    std::vector<Object> array() const { return objectTable_; }
    uint64_t count() const { return objectTable_.size(); }
    uint64_t objectTableCapacity() const { return objectTable_.capacity(); }

    const Object& objectAtIndex(uint64_t index) const
    {
        if (index >= objectTable_.size())
            URaiseRangeException();
        return objectTable_[index];
    }

    // The index of the last object equal to `object`, or UNSNotFound.
    uint64_t indexOfObject(const Object& object) const
    {
        const auto entry = indexObjectDictionary_.find(object.get());
        return entry == indexObjectDictionary_.end() ? UNSNotFound : entry->second;
    }

    // As indexOfObject, but only when the object standing there is `object` itself.
    uint64_t indexOfObjectIdenticalTo(const Object& object) const
    {
        const uint64_t index = indexOfObject(object);
        return index != UNSNotFound && objectTable_[index] == object ? index : UNSNotFound;
    }

    // Releases the objects; the table keeps its capacity.
    void removeAllObjects()
    {
        indexObjectDictionary_.clear();
        objectTable_.clear();
    }

    void setArray(std::span<const Object> objects)
    {
        setArrayWithObjects(objects.data(), objects.size());
    }

    void setArrayWithObjects(const Object* objects, uint64_t count)
    {
        // The new objects are copied before the old ones are released, so refilling from the
        // array's own objects is safe.
        std::vector<Object> incoming(objects, objects + count);
        indexObjectDictionary_.clear();
        if (count > objectTable_.capacity()) {
            std::vector<Object> table;
            reserveExactly(table, count);
            objectTable_.swap(table);
        }
        objectTable_.assign(
            std::make_move_iterator(incoming.begin()), std::make_move_iterator(incoming.end()));
        try {
            indexObjectDictionary_.reserve(count);
        } catch (const std::bad_alloc&) {
            UFemRaiseMemoryAllocationFailed();
        }
        for (uint64_t i = 0; i < count; ++i)
            indexObjectDictionary_.insert_or_assign(objectTable_[i].get(), i);
    }

private:
    static void reserveExactly(std::vector<Object>& table, uint64_t count)
    {
        try {
            table.reserve(count);
        } catch (const std::bad_alloc&) {
            UFemRaiseMemoryAllocationFailed();
        } catch (const std::length_error&) {
            UFemRaiseMemoryAllocationFailed();
        }
    }

    std::vector<Object> objectTable_;
    std::unordered_map<const T*, uint64_t, UObjectKeyHash<T, Hash>, UObjectKeyEqual<T, Equal>>
        indexObjectDictionary_;
};
