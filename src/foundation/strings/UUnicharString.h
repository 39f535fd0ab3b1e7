#pragma once

#include "foundation/strings/UStringGettingCharactersProtocol.h"

#include <QStringView>

#include <memory>
#include <string_view>

class UUnicharString;
using UUnicharStringPtr = std::shared_ptr<const UUnicharString>;

// An immutable UTF-16 copy of a string for fast scanning. The units are contiguous and never
// change, so scanners may keep unicharPtr() or view() for as long as they hold the object.
class UUnicharString final : public UStringGettingCharactersProtocol {
public:
    explicit UUnicharString(const QString& string);
    // Raises URangeException when the range does not lie inside `string`.
    UUnicharString(const QString& string, URange range);

    static UUnicharStringPtr unicharStringWithString(const QString& string);
    static UUnicharStringPtr unicharStringWithString(const QString& string, URange range);

    // The fast path for scanners: the whole text as contiguous units.
    const char16_t* unicharPtr() const
    {
        return reinterpret_cast<const char16_t*>(string_.constData());
    }
    std::u16string_view view() const
    {
        return { unicharPtr(), static_cast<size_t>(string_.size()) };
    }
    QStringView stringView() const { return string_; }

    QString string() const override { return string_; }
    quint64 length() const override { return static_cast<quint64>(string_.size()); }
    char16_t characterAtIndex(quint64 index) const override;
    QString substringWithRange(URange range) const override;
    quint64 getCharacterAndSetValidCharacterBufferPtr(const char16_t** validCharacterBufferPtr,
        quint64 fromStartIndex, quint64 toEndIndex, char16_t* withCharacterBuffer,
        quint64 characterBufferLength) const override;

private:
    // A deep copy made at construction and never modified, so it shares with nobody's raw data.
    const QString string_;
};
