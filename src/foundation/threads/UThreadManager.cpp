#include "foundation/threads/UThreadManager.h"

#include <QtGlobal>

#include <exception>
#include <utility>

void UThreadManager::runThreadContinuouslyWithMethodArray(std::vector<UThreadJob> methods)
{
    runThreadSelector([methods = std::move(methods)] {
        for (const UThreadJob& method : methods)
            performJob(method);
    });
}

void UThreadManager::performJob(const UThreadJob& job) noexcept
{
    if (!job)
        return;
    try {
        job();
    } catch (const std::exception& exception) {
        qWarning("Uncaught exception on a worker thread: %s", exception.what());
    } catch (...) {
        qWarning("Uncaught exception on a worker thread.");
    }
}
