#pragma once

#include "foundation/containers/URange.h"

#include <QString>

#include <optional>

class UUnicharString;

// A string made from the whole of a UUnicharString.
QString UStringWithUUnicharString(const UUnicharString& unicharString);
// A string made from a range of it; URangeException when the range is outside.
QString UStringWithUUnicharString(const UUnicharString& unicharString, URange range);

// Whether `string` holds `substring` exactly at `location` (false when it is too short).
bool UDoesStartWithSubstring(const QString& string, const QString& substring, quint64 location);

// The string without leading and trailing U+0020 and U+0009 (no other white space); nullopt when
// nothing else is left.
std::optional<QString> UTrimmedStringOrNil(const QString& string);
