#pragma once

#include <QtGlobal>

// The most threads a task context starts by a factor, and the most a reference count may ask for.
inline constexpr quint64 UThreadTaskMaximumThreadCount = 16;

// trunc(count × factor + 0.6), at most `maximum`; a product that truncates to 0 gives 1 (even
// when the maximum is 0). So with factor 0.5 and maximum 4: 0 or 1 gives 1, 3 gives 2, 8 gives 4.
quint64 UThreadCountWithThreadCountFactor(quint64 count, quint64 maximum, double factor);
