#include "foundation/threads/UThreadCountPreference.h"

#include "foundation/threads/UThreadCount.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUserDefaults.h"

#include <QThread>

#include <atomic>
#include <mutex>

namespace {

// 0 while no snapshot is held. Building and dropping it take the lock, so that a drop never
// loses to a build that read the preference before the change.
std::atomic<quint64> snapshotThreadCount { 0 };
std::mutex snapshotLock;

QVariant readReferenceThreadCountPreference()
{
    return UUserDefaults::standardUserDefaults().objectForKey(
        UFemReferenceThreadCountPreferencesKey);
}

// A change of the user defaults drops the snapshot; the registration lasts as long as the process.
void observeUserDefaultsOnce()
{
    static const bool observing = [] {
        UNotificationCenter::defaultCenter().addObserver(nullptr,
            UUserDefaultsDidChangeNotification, &UUserDefaults::standardUserDefaults(),
            [](const UNotification&) { UThreadCountPreference::invalidate(); });
        return true;
    }();
    (void)observing;
}

} // namespace

quint64 UThreadCountPreference::threadCountWithReferenceThreadCount(
    const QVariant& preference, quint64 processorCount)
{
    bool isNumber = false;
    const quint64 value = preference.toULongLong(&isNumber);
    if (isNumber && value >= 1 && value <= UThreadTaskMaximumThreadCount)
        return value;
    return processorCount > 0 ? processorCount : 1;
}

quint64 UThreadCountPreference::activeProcessorCount()
{
    const int count = QThread::idealThreadCount();
    return count > 0 ? quint64(count) : 1;
}

quint64 UThreadCountPreference::foregroundTaskThreadCount()
{
    quint64 count = snapshotThreadCount.load(std::memory_order_acquire);
    if (count != 0)
        return count;
    observeUserDefaultsOnce();
    std::lock_guard<std::mutex> locked(snapshotLock);
    count = snapshotThreadCount.load(std::memory_order_relaxed);
    if (count == 0) {
        count = threadCountWithReferenceThreadCount(
            readReferenceThreadCountPreference(), activeProcessorCount());
        snapshotThreadCount.store(count, std::memory_order_release);
    }
    return count;
}

quint64 UThreadCountPreference::calculationTaskThreadCount()
{
    return foregroundTaskThreadCount();
}

void UThreadCountPreference::invalidate()
{
    std::lock_guard<std::mutex> locked(snapshotLock);
    snapshotThreadCount.store(0, std::memory_order_release);
}
