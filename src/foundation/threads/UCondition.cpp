#include "foundation/threads/UCondition.h"

void UCondition::wait()
{
    // The caller already holds the mutex: adopt it for the wait and hand it back afterwards.
    std::unique_lock<std::mutex> held(mutex_, std::adopt_lock);
    condition_.wait(held);
    held.release();
}

bool UCondition::waitUntil(Clock::time_point deadline)
{
    std::unique_lock<std::mutex> held(mutex_, std::adopt_lock);
    const std::cv_status status = condition_.wait_until(held, deadline);
    held.release();
    return status == std::cv_status::no_timeout;
}
