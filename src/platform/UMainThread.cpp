#include "platform/UMainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace {

// Work waits in a queue of our own, guarded by a standard mutex, rather than in Qt's event queue
// alone: Qt's locks are invisible to ThreadSanitizer, ours make the hand-over visible to it.
class MainThreadQueue {
public:
    void post(QCoreApplication* app, std::function<void()> work)
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(work));
        // Posted under the lock, so that even the wake-up call is ordered before the drain.
        QMetaObject::invokeMethod(
            app, [] { instance().drain(); }, Qt::QueuedConnection);
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
        MainThreadQueue::instance().post(app, std::move(work));
        return;
    }
    auto completion = std::make_shared<Completion>();
    MainThreadQueue::instance().post(app, [completion, work = std::move(work)] {
        std::exception_ptr exception;
        try {
            work();
        } catch (...) {
            exception = std::current_exception();
        }
        std::lock_guard lock(completion->mutex);
        completion->exception = exception;
        completion->done = true;
        completion->finished.notify_all();
    });
    std::unique_lock lock(completion->mutex);
    completion->finished.wait(lock, [&] { return completion->done; });
    if (completion->exception)
        std::rethrow_exception(completion->exception);
}

} // namespace UMainThread
