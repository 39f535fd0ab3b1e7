#pragma once

#include "foundation/buffers/UFormattedData.h"

#include <optional>

// A container that passed the check: copies of the header and records, taken with memcpy so that
// an unaligned block is read safely.
class UFormattedDataCheckedView {
public:
    // std::nullopt when `data` is not a well-formed container.
    static std::optional<UFormattedDataCheckedView> check(const QByteArray& data);
    // The same, with the container's error when `data` is not one.
    [[nodiscard]] static std::optional<UFormattedDataCheckedView> checkedViewOrError(
        const QByteArray& data, UErrorPtr* error);

    const _UFormattedDataHeader& header() const { return header_; }
    quint64 componentCount() const { return header_.componentCount; }
    _UFormattedDataComponentRecord record(quint64 index) const;
    // Points into the block; zero-terminated inside its field (the check makes sure).
    const char* recordNamePtr(quint64 index) const;
    const char* dataTypeNamePtr() const;
    const char* bytesAt(quint64 offset) const { return bytes_ + offset; }

    static constexpr quint64 recordTableOffset = sizeof(_UFormattedDataHeader);
    static constexpr quint64 recordSize = sizeof(_UFormattedDataComponentRecord);

private:
    UFormattedDataCheckedView(const char* bytes, const _UFormattedDataHeader& header);

    const char* bytes_;
    _UFormattedDataHeader header_;
};
