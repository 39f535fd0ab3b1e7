#pragma once

#include "foundation/containers/ULargeTable.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <memory>

class UFemCardName;

// The valid names of a model by their text, in one open-addressing table (linear probing,
// deletion by backward shift). Each slot keeps the hash of its name's text, so that a probe
// compares texts only on a full hash match: a model of a million names is looked up once per
// name column while it is read, and a node-based hash map chases two pointers per probe.
class UFemCardNameIndex {
public:
    UFemCardNameIndex() = default;
    UFemCardNameIndex(const UFemCardNameIndex&) = delete;
    UFemCardNameIndex& operator=(const UFemCardNameIndex&) = delete;

    // The seeded hash that lookups with a text pass along.
    static std::size_t hashOfText(QStringView text);

    std::size_t size() const { return size_; }
    // The held name with the text, or null.
    const std::shared_ptr<UFemCardName>* find(QStringView text, std::size_t hash) const;
    // False, and nothing held, when a name with the same text is held already.
    bool insert(std::shared_ptr<UFemCardName> cardName);
    // Lets go of the entry of the name's text when it is this very name.
    void erase(const UFemCardName* cardName);
    // Empties the table, sized for `count` names without growing.
    void resetWithCapacity(std::size_t count);
    // Empties the table and lets its memory go, allocating nothing (for a tear-down).
    void clear() noexcept;

    template <typename F> void forEach(F&& function) const
    {
        for (std::size_t i = 0; i < capacity_; ++i) {
            if (slots_[i].cardName)
                function(slots_[i].cardName);
        }
    }

private:
    struct Slot {
        std::size_t hash = 0;
        std::shared_ptr<UFemCardName> cardName;
    };

    static constexpr std::size_t minimumCapacity = 16;
    // At most three quarters full, so that probe runs stay short.
    static constexpr std::size_t maximumLoadNumerator = 3;
    static constexpr std::size_t maximumLoadDenominator = 4;

    static bool hasText(const UFemCardName& cardName, QStringView text);
    std::size_t home(std::size_t hash) const { return hash & (capacity_ - 1); }
    std::size_t next(std::size_t i) const { return (i + 1) & (capacity_ - 1); }
    std::size_t findSlot(QStringView text, std::size_t hash) const;
    void rehash(std::size_t capacity);

    ULargeTable<Slot> slots_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};
