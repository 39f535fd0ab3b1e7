#pragma once

#include "foundation/strings/UStringGettingCharactersProtocol.h"

// The platform string's side of the character-reading interface: a QString read through the
// caller's buffer, a chunk at a time.
class UPlatformString final : public UStringGettingCharactersProtocol {
public:
    explicit UPlatformString(QString string)
        : string_(std::move(string))
    {
    }

    QString string() const override { return string_; }
    quint64 length() const override { return static_cast<quint64>(string_.size()); }
    char16_t characterAtIndex(quint64 index) const override;
    QString substringWithRange(URange range) const override;
    // Copies at most characterBufferLength units into the caller's buffer; a buffer of no units
    // raises URangeException, since a reader could never advance with it.
    quint64 getCharacterAndSetValidCharacterBufferPtr(const char16_t** validCharacterBufferPtr,
        quint64 fromStartIndex, quint64 toEndIndex, char16_t* withCharacterBuffer,
        quint64 characterBufferLength) const override;

private:
    QString string_;
};
