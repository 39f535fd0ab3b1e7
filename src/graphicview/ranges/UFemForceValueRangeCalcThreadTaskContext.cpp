#include "graphicview/ranges/UFemForceValueRangeCalcThreadTaskContext.h"

#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "graphicview/ranges/UFemValueRangeMaximum.h"
#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

#include <mutex>

UFemForceValueRangeCalcThreadTaskContext::~UFemForceValueRangeCalcThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemForceValueRangeCalcThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    forceCardArrayValidnessState_ = ForceCardArrayNotBuilt;
    forceCardArray_.clear();
    maxForceValue_ = 0.0;
    maxMomentValue_ = 0.0;
}

bool UFemForceValueRangeCalcThreadTaskContext::setArgumentIfNeededWithDelegate(
    UFemDataController* delegate)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] { delegate_ = delegate; });
}

bool UFemForceValueRangeCalcThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    UFemDataController* dataController = nullptr;
    {
        std::lock_guard lock(*this);
        dataController = delegate_;
    }
    return UFemCalculateForceValueRangeWithThreadContext(*dataController, threadContext);
}

void UFemForceValueRangeCalcThreadTaskContext::mergeMaxForceValue(
    double maxForceValue, double maxMomentValue)
{
    UFemMergeValueRangeMaximum(&maxForceValue_, maxForceValue);
    UFemMergeValueRangeMaximum(&maxMomentValue_, maxMomentValue);
}
