#pragma once

#include "foundation/strings/UStringGettingCharactersProtocol.h"

#include <QStringView>

// A character source over a string the caller keeps alive: it answers bulk reads with pointers
// into the string itself, so a column or comment text is scanned in one piece without a copy.
class UFemStringViewSource final : public UStringGettingCharactersProtocol {
public:
    explicit UFemStringViewSource(QStringView string)
        : string_(string)
    {
    }

    QString string() const override { return string_.toString(); }
    quint64 length() const override { return quint64(string_.size()); }
    char16_t characterAtIndex(quint64 index) const override;
    QString substringWithRange(URange range) const override;
    quint64 getCharacterAndSetValidCharacterBufferPtr(const char16_t** validCharacterBufferPtr,
        quint64 fromStartIndex, quint64 toEndIndex, char16_t* withCharacterBuffer,
        quint64 characterBufferLength) const override;

private:
    QStringView string_;
};
