#include "foundation/threads/UThreadContext.h"

#include "foundation/threads/UThreadTaskContext.h"

#include <mutex>

UThreadContext::UThreadContext(UThreadTaskContext* threadTaskContext)
    : threadTaskContext_(threadTaskContext)
{
}

void UThreadContext::waitUntilDone()
{
    std::lock_guard<UThreadTaskContext> locked(*threadTaskContext_);
    while (threadState() == UThreadTaskStateRunning)
        threadTaskContext_->wait();
}
