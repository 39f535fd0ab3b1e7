#include "ProcessThreads.h"

#include <QDir>

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
