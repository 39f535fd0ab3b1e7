#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>

// A text that is usually short, in 16 bytes: up to 15 Latin-1 characters in place, a longer or
// wider text in a string of its own. A model of a million cards keeps a few million column
// texts, nearly all short numbers, which a string each would cost an allocation and 48 bytes.
class UCompactString {
public:
    static constexpr std::size_t inlineCapacity = 15;
    using Buffer = std::array<char16_t, inlineCapacity>;

    UCompactString() = default;
    ~UCompactString() { clear(); }
    UCompactString(const UCompactString&) = delete;
    UCompactString& operator=(const UCompactString&) = delete;

    // A null text is not there at all; an empty one is.
    bool isNull() const { return state_ == nullState; }
    void clear();
    void assign(QStringView text);
    // The null string while null.
    QString toString() const;
    // A null text equals nothing.
    bool equals(QStringView text) const;
    // The text without a copy of its own: widened into `buffer` when kept in place.
    QStringView view(Buffer& buffer) const;

private:
    static constexpr unsigned char nullState = 0xFF;
    static constexpr unsigned char wideState = 0xFE;

    bool isWide() const { return state_ == wideState; }
    QString* wide() const;

    // The characters in place, or the address of the wide text.
    char latin1_[inlineCapacity];
    // The in-place length, or one of the two states.
    unsigned char state_ = nullState;
};
