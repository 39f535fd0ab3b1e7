#include "foundation/threads/UThreadManager.h"

#include <QtGlobal>

#include <unistd.h>

#include <cstring>
#include <exception>
#include <new>
#include <utility>

namespace {

// Straight to the standard error, allocating nothing: the log of a job that ran out of memory.
void logWithoutAllocating(const char* text) noexcept
{
    static_cast<void>(::write(STDERR_FILENO, text, std::strlen(text)));
}

void logEscapedException(std::exception_ptr escaped)
{
    try {
        std::rethrow_exception(std::move(escaped));
    } catch (const std::bad_alloc&) {
        logWithoutAllocating("Uncaught exception on a worker thread: Memory allocation failed.\n");
    } catch (const std::exception& exception) {
        qWarning("Uncaught exception on a worker thread: %s", exception.what());
    } catch (...) {
        qWarning("Uncaught exception on a worker thread.");
    }
}

} // namespace

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
    } catch (...) {
        // The log itself may want memory that is not there; the thread goes on all the same.
        try {
            logEscapedException(std::current_exception());
        } catch (...) {
            logWithoutAllocating("Uncaught exception on a worker thread.\n");
        }
    }
}
