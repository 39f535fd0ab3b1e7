#pragma once

#include <functional>

// Runs work on the main thread (the thread of the application object's event loop).
namespace UMainThread {

bool isMainThread();

// Queues `work` for the main thread's event loop; queued work runs in the order it was queued.
// With `waitUntilDone`, blocks until it has run and rethrows what it threw; called on the main
// thread with `waitUntilDone`, runs it at once.
void perform(std::function<void()> work, bool waitUntilDone);

// Queues `work` as perform does without waiting, taking it only once it is queued: when memory
// runs out on the way, the exception leaves and `work` is as it was, to be queued again.
void postOrKeep(std::function<void()>& work);

} // namespace UMainThread
