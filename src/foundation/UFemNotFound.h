#pragma once

#include <QtGlobal>

// "None" and "not found" of an index, a row, a node or a number: all ones. Values that mean
// something else (limits, stage words, "not specified") keep names of their own.
inline constexpr quint64 UFemNotFound = ~quint64(0);
