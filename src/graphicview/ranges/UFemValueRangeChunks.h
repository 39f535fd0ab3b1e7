#pragma once

#include "cardmodel/data/UFemCardTable.h"
#include "foundation/UFemNotFound.h"
#include "foundation/containers/UIndexRange.h"
#include "foundation/threads/UThreadContext.h"
#include "foundation/threads/UThreadTaskContext.h"

#include <array>
#include <span>

// The work loop of the value-range workers: chunks of at most 256 of `cardCount` cards from the
// task's work dispenser, fetched by `fetch(buffer, range)` into a fixed buffer, until the
// dispenser is finished. `body` gets each chunk and answers false to stop; the answer is false
// when the body stopped or a cancel came first.
inline constexpr quint64 UFemValueRangeChunkCardCount = 256;

// Fetches from a large card array.
inline auto UFemValueRangeFetchFromCardArray(const UFemCardArray& cardArray)
{
    return [&cardArray](
               UFemCardPtr* buffer, UIndexRange range) { cardArray.getObjects(buffer, range); };
}

template <typename Fetch, typename Body>
bool UFemForEachValueRangeChunk(
    UThreadContext& threadContext, quint64 cardCount, Fetch&& fetch, Body&& body)
{
    UThreadTaskContext& task = *threadContext.threadTaskContext();
    std::array<UFemCardPtr, UFemValueRangeChunkCardCount> buffer;
    for (;;) {
        const UThreadTaskIndexRange range
            = task.nextTargetIndexesManager().nextTargetIndexRangeWithCount(
                UFemValueRangeChunkCardCount, cardCount);
        if (range.location == UFemNotFound)
            return true;
        if (threadContext.cancelFlag())
            return false;
        fetch(buffer.data(), UIndexRange { range.location, range.length });
        const bool goesOn = body(std::span<const UFemCardPtr>(buffer.data(), range.length));
        for (quint64 i = 0; i < range.length; ++i)
            buffer[i].reset();
        if (!goesOn)
            return false;
    }
}
