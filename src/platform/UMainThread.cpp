#include "platform/UMainThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

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
    QMetaObject::invokeMethod(app, std::move(work),
        waitUntilDone ? Qt::BlockingQueuedConnection : Qt::QueuedConnection);
}

} // namespace UMainThread
