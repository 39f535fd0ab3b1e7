#pragma once

// The typed binary container of result files: a 72-byte header, a table of 64-byte component
// records and the components' data areas, each padded to 8 bytes. Header and record fields are
// little-endian and never swapped; only numeric component data is byte-swapped (endian type 2).
//
// Every reading function treats the block as hostile: the checker bounds every area and every
// name, and a lookup in a block that fails the check reports an error instead of reading.

#include "foundation/errors/UError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

inline constexpr quint64 UFormattedDataMagicNumber = 0x00FF0204FA77AA00ull;
inline constexpr quint64 UFormattedDataFormatVersionNumber = 10;
inline constexpr quint64 UFormattedDataWrittenValueSizeType = 2;
inline constexpr quint64 UFormattedDataEndianTypeInMemoryOrder = 1;
inline constexpr quint64 UFormattedDataEndianTypeSwapped = 2;
inline constexpr quint64 UFormattedDataNameFieldSize = 32;
inline constexpr quint64 UFormattedDataAreaAlignment = 8;

// Value types with a meaning of their own; every other known type is a number of a fixed width
// (UFormattedDataElementWidthOfValueType) or raw bytes.
inline constexpr quint64 UFormattedDataValueTypeString = 201;
inline constexpr quint64 UFormattedDataValueTypeStringArray = 202;
inline constexpr quint64 UFormattedDataValueTypeReservedArea = 801;

struct _UFormattedDataHeader {
    quint64 magic;
    quint32 formatVersion;
    quint16 valueSizeType;
    quint16 endianType;
    quint64 reserved;
    char dataTypeName[UFormattedDataNameFieldSize];
    quint32 dataVersionNumber;
    quint32 optionalInteger1;
    quint32 optionalInteger2;
    quint32 componentCount;
};
static_assert(sizeof(_UFormattedDataHeader) == 72);

struct _UFormattedDataComponentRecord {
    quint32 identifier;
    quint32 valueType;
    quint64 dataOffset;
    quint64 dataLength;
    quint64 reserved;
    char name[UFormattedDataNameFieldSize];
};
static_assert(sizeof(_UFormattedDataComponentRecord) == 64);

// One component handed to the writer. `string` is the data of value type 201, `stringArray` that
// of 202; every other type takes `length` bytes from `bytes` (not read for 801).
struct _UFormattedDataComponent {
    quint64 identifier = 0;
    const char* name = nullptr;
    QString string;
    QStringList stringArray;
    const void* bytes = nullptr;
    quint64 length = 0;
    quint64 valueType = 0;
};

// A component read back as an object: nothing (std::monostate), a string (201), a list of strings
// (202) or a new byte buffer.
using UFormattedDataComponentObject
    = std::variant<std::monostate, QString, QStringList, QByteArray>;

// A byte range inside the container.
struct UFormattedDataRange {
    quint64 location = 0;
    quint64 length = 0;
    bool operator==(const UFormattedDataRange&) const = default;
};

// Bytes per element that are swapped for `valueType`: 8, 4 or 2 for numbers, 1 for raw bytes and
// for the string and reserved types, 0 for a type outside the table.
quint64 UFormattedDataElementWidthOfValueType(quint64 valueType);

// Copies `length` bytes from `source` to `destination`, reversing each `width`-byte element;
// `length` must be a whole number of elements.
void UFormattedDataCopySwappingElements(
    const char* source, char* destination, quint64 length, quint64 width);

// Writing. An endian type of 0, 1 or 3 stores numeric data as in memory (header 1); 2 or above 3
// stores it byte-swapped. Names longer than 31 bytes and malformed components are program errors.
// The only error reported is a container too large to allocate.
QByteArray UFormattedDataWithDataTypeNameString(const char* dataTypeNameString,
    quint64 dataVersionNumber, quint64 endianType, quint64 optionalInteger1,
    quint64 optionalInteger2, const _UFormattedDataComponent* dataComponentTable,
    quint64 dataComponentCount, UErrorPtr* error);

// The checker. Every given output is filled on success and zeroed on failure; no error is stored.
// The header and record pointers point into `data` and may be unaligned: copy fields out with
// memcpy. The name pointer is a zero-terminated string inside `data`.
[[nodiscard]] bool _checkUFormattedDataAndGetFormattedDataHeaderPtrPtr(const QByteArray& data,
    const _UFormattedDataHeader** formattedDataHeaderPtr,
    const _UFormattedDataComponentRecord** formattedDataComponentRecordTablePtr,
    quint64* formatVertionPtr, quint64* valueSizeTypePtr, quint64* endianTypePtr,
    const char** dataTypeNameStringPtr, quint64* dataVersionNumberPtr, quint64* optionalInteger1,
    quint64* optionalInteger2, quint64* dataComponentCount, UErrorPtr* error);

[[nodiscard]] bool isUFormattedData_error(const QByteArray& data, UErrorPtr* error);
// Whether `data` begins as a container does, whole or damaged.
bool hasUFormattedDataMagicNumber(const QByteArray& data);
quint64 _UFormattedData_FormatVersionNumber_error(const QByteArray& data, UErrorPtr* error);
quint64 UFormattedDataValueSizeType_error(const QByteArray& data, UErrorPtr* error);
quint64 UFormattedDataEndianType_error(const QByteArray& data, UErrorPtr* error);
quint64 UFormattedDataVersionNumber_error(const QByteArray& data, UErrorPtr* error);
quint64 UFormattedDataOptionalInteger1_error(const QByteArray& data, UErrorPtr* error);
quint64 UFormattedDataOptionalInteger2_error(const QByteArray& data, UErrorPtr* error);
quint64 UFormattedDataComponentCount_error(const QByteArray& data, UErrorPtr* error);
// Null when the check fails; otherwise valid while `data` lives unchanged.
[[nodiscard]] const char* UFormattedDataTypeNameString_error(
    const QByteArray& data, UErrorPtr* error);

// Component lookups: records are searched in table order and the first match wins. A block that
// fails the check gives the "Unextedted File Data Version." error; a missing component does not.
quint64 UFormattedDataComponentIdentifierWithComponentNameString(
    const QByteArray& data, const char* componentNameString, UErrorPtr* error);
[[nodiscard]] const char* UFormattedDataComponentNameStringWithComponentIdentifier(
    const QByteArray& data, quint64 componentIdentifier, UErrorPtr* error);
// Every record's name in record order; false on error.
[[nodiscard]] bool UFormattedDataComponentNameStringArray_error(
    const QByteArray& data, QStringList* names, UErrorPtr* error);
// Every record's identifier in record order; false on error.
[[nodiscard]] bool getUFormattedDataComponentIdentifierTable(
    const QByteArray& data, std::vector<quint64>* identifierTable, UErrorPtr* error);

// The component reader: strings and swapped numbers come back through `componentObject` with the
// range (0, 0); data readable in place comes back as its range inside `data`. A value type other
// than the record's, or a swapped area that is not whole elements, is an error.
UFormattedDataRange _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(const QByteArray& data,
    UFormattedDataComponentObject* componentObject, quint64 componentIdentifier, quint64 valueType,
    UErrorPtr* error);

// The component as an object; std::monostate when missing, empty or on error.
UFormattedDataComponentObject UFormattedDataComponentObjectWithComponentIdentifier(
    const QByteArray& data, quint64 componentIdentifier, quint64 valueType, UErrorPtr* error);
UFormattedDataComponentObject UFormattedDataComponentObjectWithComponentNameString(
    const QByteArray& data, const char* componentNameString, quint64 valueType, UErrorPtr* error);

// The component's bytes: in place (a raw view into `data`, valid while it lives unchanged) when no
// conversion is needed, else a new buffer. Strings give a null array and 0; a missing or empty
// component gives 0 and leaves `dataBytes` as it was; an error gives a null array and 0.
quint64 getUFormattedDataComponentDataBytesWithComponentIdentifier(const QByteArray& data,
    QByteArray* dataBytes, quint64 componentIdentifier, quint64 valueType, UErrorPtr* error);
quint64 getUFormattedDataComponentDataBytesWithComponentNameString(const QByteArray& data,
    QByteArray* dataBytes, const char* componentNameString, quint64 valueType, UErrorPtr* error);
