#pragma once

#include <QtGlobal>

// The memory this process can still take: the system's available memory, bounded by the
// address-space limit when one is set. All ones when neither is known.
quint64 UAvailableMemoryBytes();
