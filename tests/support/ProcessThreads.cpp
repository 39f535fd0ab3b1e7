#include "ProcessThreads.h"

#include <QDir>

#include <chrono>
#include <thread>

namespace {

#if defined(__SANITIZE_THREAD__)
constexpr bool underThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr bool underThreadSanitizer = true;
#else
constexpr bool underThreadSanitizer = false;
#endif
#else
constexpr bool underThreadSanitizer = false;
#endif

constexpr auto threadExitTimeout = std::chrono::seconds(2);
constexpr auto threadExitPoll = std::chrono::milliseconds(1);

} // namespace

quint64 processThreadCount()
{
    const auto listed = quint64(QDir(QStringLiteral("/proc/self/task"))
                                    .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                                    .size());
    // ThreadSanitizer starts a thread of its own with the first one the process starts, and
    // keeps it to the end.
    return underThreadSanitizer && listed > 1 ? listed - 1 : listed;
}

quint64 processThreadCountAfterExits(quint64 count)
{
    const auto deadline = std::chrono::steady_clock::now() + threadExitTimeout;
    quint64 listed = processThreadCount();
    while (listed > count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(threadExitPoll);
        listed = processThreadCount();
    }
    return listed;
}
