#pragma once

#include "foundation/errors/UException.h"

#include <QHashFunctions>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <unordered_map>

// The objects' own hash: Qt's qHash where the type has one (QString), else std::hash.
template <typename K> struct UObjectHash {
    size_t operator()(const K& key) const
    {
        if constexpr (requires { qHash(key); })
            return qHash(key);
        else
            return std::hash<K> {}(key);
    }
};

// Hashes and compares shared objects by the objects' own hash and equality, not by address.
template <typename K, typename Hash = UObjectHash<K>> struct UObjectKeyHash {
    size_t operator()(const std::shared_ptr<K>& key) const { return key ? Hash {}(*key) : 0; }
    size_t operator()(const K* key) const { return key ? Hash {}(*key) : 0; }
};

template <typename K, typename Equal = std::equal_to<K>> struct UObjectKeyEqual {
    bool operator()(const std::shared_ptr<K>& a, const std::shared_ptr<K>& b) const
    {
        return (*this)(a.get(), b.get());
    }
    bool operator()(const K* a, const K* b) const { return a == b || (a && b && Equal {}(*a, *b)); }
};

// Word keys (a column number, say) compared by value; raw pointer values, not owned.
template <typename V> using UPointerKeyDictionary = std::unordered_map<uint64_t, V*>;

// Shared object keys, held by the map and compared by equality; raw pointer values, not owned.
template <typename K, typename V>
using UObjectKeyPointerValueDictionary
    = std::unordered_map<std::shared_ptr<K>, V*, UObjectKeyHash<K>, UObjectKeyEqual<K>>;

// Shared object keys as above; unsigned integer values.
template <typename K>
using UObjectKeyIntegerValueDictionary
    = std::unordered_map<std::shared_ptr<K>, uint64_t, UObjectKeyHash<K>, UObjectKeyEqual<K>>;

// Reserves room for `capacity` entries (0: none) up front; raises the memory-allocation program
// error when the system cannot supply it.
template <typename Dictionary> Dictionary UCreateDictionaryWithCapacity(uint64_t capacity)
{
    Dictionary dictionary;
    try {
        dictionary.reserve(capacity);
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    } catch (const std::length_error&) {
        UFemRaiseMemoryAllocationFailed();
    }
    return dictionary;
}

template <typename V> UPointerKeyDictionary<V> UCreatePointerKeyDictionary(uint64_t capacity)
{
    return UCreateDictionaryWithCapacity<UPointerKeyDictionary<V>>(capacity);
}

template <typename K, typename V>
UObjectKeyPointerValueDictionary<K, V> UCreateObjectKeyPointerValueDictionary(uint64_t capacity)
{
    return UCreateDictionaryWithCapacity<UObjectKeyPointerValueDictionary<K, V>>(capacity);
}

template <typename K>
UObjectKeyIntegerValueDictionary<K> UCreateObjectKeyIntegerValueDictionary(uint64_t capacity)
{
    return UCreateDictionaryWithCapacity<UObjectKeyIntegerValueDictionary<K>>(capacity);
}

// How a raw pointer value shows itself in diagnostics.
inline QString UDescribePointerValue(const void* pointer)
{
    return QString::asprintf("%p", pointer);
}
