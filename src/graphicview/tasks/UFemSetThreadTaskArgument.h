#pragma once

#include "foundation/threads/UThreadTaskContext.h"

#include <mutex>

// The argument rule of the 3-D view's tasks: only a cleared task whose cancel flag is clear takes
// its arguments (stored by `store` under the task lock) and becomes ready; any other task changes
// nothing and answers false.
template <typename Store>
bool UFemSetThreadTaskArgumentIfNeeded(UThreadTaskContext& task, Store&& store)
{
    std::lock_guard lock(task);
    if (task.threadState() != UThreadTaskStateCleared || task.cancelFlag())
        return false;
    store();
    task._setThreadState_whileLocked(UThreadTaskStateReadyToRun);
    return true;
}
