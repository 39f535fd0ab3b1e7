#pragma once

#include <QtGlobal>

// The memory this process can still take: the system's available memory, bounded by the
// address-space limit when one is set. All ones when neither is known.
quint64 UAvailableMemoryBytes();

// Hands the allocator's free memory back to the system, so that a run that freed many small blocks
// does not keep them resident beside what it allocates next. Nothing under a sanitizer's allocator.
void UReturnFreedMemoryToSystem();
