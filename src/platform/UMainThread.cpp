#include "platform/UMainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>

namespace {

// Work waits in a queue of our own, guarded by a standard mutex, rather than in Qt's event queue
// alone: Qt's locks are invisible to ThreadSanitizer, ours make the hand-over visible to it.
class MainThreadQueue {
public:
    // Takes `work` only when it is queued and its wake-up call posted.
    void post(QCoreApplication* app, std::function<void()>& work)
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
        // Posted under the lock, so that even the wake-up call is ordered before the drain, and
        // a wake-up call that fails takes its work back before a drain can see it.
        try {
            QMetaObject::invokeMethod(
                app, [] { instance().drain(); }, Qt::QueuedConnection);
        } catch (...) {
            work = std::move(queue_.back());
            queue_.pop_back();
            throw;
        }
    }

    static MainThreadQueue& instance()
    {
        static MainThreadQueue queue;
        return queue;
    }

private:
    void drain()
    {
        for (;;) {
            std::function<void()> work;
            {
                std::lock_guard lock(mutex_);
                if (queue_.empty())
                    return;
                work = std::move(queue_.front());
                queue_.pop_front();
            }
            work();
        }
    }

    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
};

// What a waiting caller needs to learn: that the work ran, and how it ended.
struct Completion {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr exception;
};

} // namespace

namespace UMainThread {

bool isMainThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void perform(std::function<void()> work, bool waitUntilDone)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || (waitUntilDone && isMainThread())) {
        work();
        return;
    }
    if (!waitUntilDone) {
        MainThreadQueue::instance().post(app, work);
        return;
    }
    auto completion = std::make_shared<Completion>();
    std::function<void()> waitedWork = [completion, work = std::move(work)] {
        std::exception_ptr exception;
        try {
            work();
        } catch (...) {
            exception = std::current_exception();
        }
        std::lock_guard lock(completion->mutex);
        // Handed over whole, so that the exception dies on the caller's thread.
        completion->exception = std::move(exception);
        completion->done = true;
        completion->finished.notify_all();
    };
    MainThreadQueue::instance().post(app, waitedWork);
    std::unique_lock lock(completion->mutex);
    completion->finished.wait(lock, [&] { return completion->done; });
    std::exception_ptr exception = std::move(completion->exception);
    lock.unlock();
    if (exception)
        std::rethrow_exception(exception);
}

void postOrKeep(std::function<void()>& work)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        std::exchange(work, {})();
        return;
    }
    MainThreadQueue::instance().post(app, work);
}

} // namespace UMainThread
