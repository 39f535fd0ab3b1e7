#include "foundation/threads/UDetachedThreadManager.h"

#include <thread>
#include <utility>

void UDetachedThreadManager::runThreadSelector(UThreadJob job)
{
    detachNewThread(std::move(job));
}

void UDetachedThreadManager::detachNewThread(UThreadJob job)
{
    std::thread([job = std::move(job)] { performJob(job); }).detach();
}
