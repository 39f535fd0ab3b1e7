#include "graphicview/ranges/UFemDisplacementValueRangeCalcThreadTaskContext.h"

#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "graphicview/ranges/UFemValueRangeMaximum.h"
#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

#include <mutex>

UFemDisplacementValueRangeCalcThreadTaskContext::~UFemDisplacementValueRangeCalcThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemDisplacementValueRangeCalcThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    maxDisplacementValue_ = 0.0;
}

bool UFemDisplacementValueRangeCalcThreadTaskContext::setArgumentIfNeededWithDelegate(
    UFemDataController* delegate)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] { delegate_ = delegate; });
}

bool UFemDisplacementValueRangeCalcThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    UFemDataController* dataController = nullptr;
    {
        std::lock_guard lock(*this);
        dataController = delegate_;
    }
    return UFemCalculateDisplacementValueRangeWithThreadContext(*dataController, threadContext);
}

void UFemDisplacementValueRangeCalcThreadTaskContext::mergeMaxDisplacementValue(
    double maxDisplacementValue)
{
    UFemMergeValueRangeMaximum(&maxDisplacementValue_, maxDisplacementValue);
}
