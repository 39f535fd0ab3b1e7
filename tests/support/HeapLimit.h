#pragma once

#include <atomic>
#include <cstdint>

namespace HeapLimit {

// From now on the allocation functions count their calls in `count` (from 1) and the call
// numbered `number` fails (0: none). Overrides VANTREL_FAIL_ALLOCATION; made for a process that
// has just been forked and is still single-threaded.
void failAllocation(std::uint64_t number, std::atomic<std::uint64_t>* count) noexcept;

} // namespace HeapLimit
