#pragma once

#include <QString>

// Why a keyed archive could not be read or written. The archive sits below the error catalogue,
// so callers map any of these to the file error of their own document (project or result file).
enum class KeyedArchiveErrorCode {
    NotPropertyList, // no binary property-list header, or a trailer that does not fit the data
    Malformed, // an object, offset, length or reference out of bounds or of the wrong kind
    NotKeyedArchive, // a property list without the keyed-archiver root entries
    Cyclic, // an object that contains itself
    TooDeep, // objects nested deeper than the archive allows
    TooLarge, // more decoded content than the data can hold without abusive sharing
    UnsupportedValue, // a value of a type the archive cannot hold (writing)
};

struct KeyedArchiveError {
    KeyedArchiveErrorCode code = KeyedArchiveErrorCode::Malformed;
    QString reason; // for logs and tests: what was wrong and where
};

// Stores an error through `error` when the caller asked for one; always answers false so that
// failure paths read `return failKeyedArchive(...)`.
inline bool failKeyedArchive(
    KeyedArchiveError* error, KeyedArchiveErrorCode code, const QString& reason)
{
    if (error)
        *error = KeyedArchiveError { code, reason };
    return false;
}
