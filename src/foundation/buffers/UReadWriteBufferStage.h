#pragma once

#include "foundation/UFemNotFound.h"

// Stage words of the read-write buffers: stage s is 2s + 1 while open and 2s + 2 once closed.

#include <QtGlobal>

inline constexpr quint64 UReadWriteBufferFinishedStageWord = ~quint64(0);
inline constexpr quint64 UReadWriteBufferEmptyStageWord = ~quint64(0) - 1;

// Stages from 2^63 - 1 on have no word of their own and share the finished mark.
inline constexpr quint64 UReadWriteBufferLargestStageWithWord = (quint64(1) << 63) - 2;

inline constexpr quint64 UReadWriteBufferOpenStageWord(quint64 stageIdentifier)
{
    return stageIdentifier > UReadWriteBufferLargestStageWithWord
        ? UReadWriteBufferFinishedStageWord
        : 2 * stageIdentifier + 1;
}

// Both words of a stage give it back; the word 0 (nothing opened yet) gives no stage.
inline constexpr quint64 UReadWriteBufferStageOfWord(quint64 word)
{
    return word < (quint64(1) << 63) - 1 ? ((word + 1) >> 1) - 1 : UFemNotFound;
}
