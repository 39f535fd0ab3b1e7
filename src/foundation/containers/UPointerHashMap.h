#pragma once

#include "foundation/containers/ULargeTable.h"
#include "foundation/errors/UException.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

// A map from non-null pointers or non-zero integers to small values in one open-addressing table
// (linear probing, deletion by backward shift): no node per entry, one multiply per pointer hash.
// Integers are their own hash, so that keys given out one after another fill neighbouring slots;
// they must not come from outside. Iterators and entry references stay valid only until the
// next insertion or erasure.
template <typename Key, typename V> class UOpenHashMap {
public:
    static_assert(std::is_pointer_v<Key> || std::is_unsigned_v<Key>);
    struct Entry {
        Key first {};
        V second {};
    };
    using iterator = Entry*;
    using const_iterator = const Entry*;

    UOpenHashMap() = default;
    UOpenHashMap(const UOpenHashMap& other) { *this = other; }
    UOpenHashMap& operator=(const UOpenHashMap& other)
    {
        if (this == &other)
            return *this;
        clear();
        reserve(other.size_);
        for (uint64_t i = 0; i < other.capacity_; ++i) {
            if (other.slots_[i].first != Key {})
                try_emplace(other.slots_[i].first, other.slots_[i].second);
        }
        return *this;
    }
    UOpenHashMap(UOpenHashMap&& other) noexcept { swap(other); }
    UOpenHashMap& operator=(UOpenHashMap&& other) noexcept
    {
        UOpenHashMap moved(std::move(other));
        swap(moved);
        return *this;
    }
    ~UOpenHashMap() = default;

    uint64_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    iterator end() { return nullptr; }
    const_iterator end() const { return nullptr; }

    iterator find(Key key) { return const_cast<iterator>(std::as_const(*this).find(key)); }
    const_iterator find(Key key) const
    {
        if (capacity_ == 0)
            return nullptr;
        for (uint64_t i = home(key);; i = next(i)) {
            const Entry& slot = slots_[i];
            if (slot.first == key)
                return &slot;
            if (slot.first == Key {})
                return nullptr;
        }
    }
    bool contains(Key key) const { return find(key) != nullptr; }

    // The entry of the key and whether it was added (with `value`).
    std::pair<iterator, bool> try_emplace(Key key, V value)
    {
        if (key == Key {})
            UFemRaiseProgramError(QStringLiteral("A null pointer or zero is no key."));
        if ((size_ + 1) * maximumLoadDenominator > capacity_ * maximumLoadNumerator)
            rehash(std::max<uint64_t>(minimumCapacity, capacity_ * 2));
        uint64_t i = home(key);
        for (; slots_[i].first != Key {}; i = next(i)) {
            if (slots_[i].first == key)
                return { &slots_[i], false };
        }
        slots_[i] = Entry { key, std::move(value) };
        ++size_;
        return { &slots_[i], true };
    }
    std::pair<iterator, bool> emplace(Key key, V value)
    {
        return try_emplace(key, std::move(value));
    }
    V& operator[](Key key) { return try_emplace(key, V {}).first->second; }

    bool erase(Key key)
    {
        const iterator found = find(key);
        if (found == nullptr)
            return false;
        erase(found);
        return true;
    }
    // Moves later entries of the probe run back into the hole, so that no tombstone is needed.
    void erase(iterator entry)
    {
        uint64_t hole = uint64_t(entry - slots_.data());
        for (uint64_t i = next(hole); slots_[i].first != Key {}; i = next(i)) {
            const uint64_t wanted = home(slots_[i].first);
            // The entry may fill the hole when its home is not cyclically in (hole, i].
            const bool homeInRun
                = hole <= i ? (hole < wanted && wanted <= i) : (hole < wanted || wanted <= i);
            if (!homeInRun) {
                slots_[hole] = slots_[i];
                hole = i;
            }
        }
        slots_[hole] = Entry {};
        --size_;
    }

    void clear()
    {
        slots_ = {};
        capacity_ = 0;
        size_ = 0;
    }
    void reserve(uint64_t count)
    {
        uint64_t capacity = minimumCapacity;
        while (count * maximumLoadDenominator > capacity * maximumLoadNumerator)
            capacity *= 2;
        if (capacity > capacity_)
            rehash(capacity);
    }

    template <typename F> void forEach(F&& function) const
    {
        for (uint64_t i = 0; i < capacity_; ++i) {
            if (slots_[i].first != Key {})
                function(slots_[i].first, slots_[i].second);
        }
    }

private:
    static constexpr uint64_t minimumCapacity = 16;
    // At most three quarters full, so that probe runs stay short.
    static constexpr uint64_t maximumLoadNumerator = 3;
    static constexpr uint64_t maximumLoadDenominator = 4;
    static constexpr uint64_t fibonacciMultiplier = 0x9E3779B97F4A7C15ull;

    uint64_t home(Key key) const
    {
        if constexpr (std::is_pointer_v<Key>)
            return (uint64_t(reinterpret_cast<uintptr_t>(key)) * fibonacciMultiplier) >> shift_;
        else
            return uint64_t(key) & (capacity_ - 1);
    }
    uint64_t next(uint64_t i) const { return (i + 1) & (capacity_ - 1); }

    void swap(UOpenHashMap& other) noexcept
    {
        std::swap(slots_, other.slots_);
        std::swap(capacity_, other.capacity_);
        std::swap(size_, other.size_);
        std::swap(shift_, other.shift_);
    }

    void rehash(uint64_t capacity)
    {
        ULargeTable<Entry> old = std::exchange(slots_, ULargeTable<Entry>(capacity));
        const uint64_t oldCapacity = std::exchange(capacity_, capacity);
        shift_ = 64 - uint32_t(std::countr_zero(capacity));
        for (uint64_t i = 0; i < oldCapacity; ++i) {
            if (old[i].first == Key {})
                continue;
            uint64_t j = home(old[i].first);
            while (slots_[j].first != Key {})
                j = next(j);
            slots_[j] = std::move(old[i]);
        }
    }

    ULargeTable<Entry> slots_;
    uint64_t capacity_ = 0;
    uint64_t size_ = 0;
    uint32_t shift_ = 64;
};

template <typename K, typename V> using UPointerHashMap = UOpenHashMap<K*, V>;
