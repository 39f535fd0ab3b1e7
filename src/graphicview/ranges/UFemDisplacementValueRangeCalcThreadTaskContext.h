#pragma once

#include "foundation/threads/UThreadTaskContext.h"

class UFemDataController;

// The largest translation of a model (over every node and case of its results, or over its
// prescribed displacements without results), measured on worker threads for the automatic
// displacement scale factor. The data controller owns it and clears it with every model or result
// change.
class UFemDisplacementValueRangeCalcThreadTaskContext final : public UThreadTaskContext {
public:
    UFemDisplacementValueRangeCalcThreadTaskContext() = default;
    ~UFemDisplacementValueRangeCalcThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // Only a cleared task whose cancel flag is clear takes the argument and becomes ready.
    bool setArgumentIfNeededWithDelegate(UFemDataController* delegate);
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    // Under the task lock.
    UFemDataController* delegate() const { return delegate_; }
    double maxDisplacementValue() const { return maxDisplacementValue_; }
    // A number replaces a result that is not a number or smaller.
    void mergeMaxDisplacementValue(double maxDisplacementValue);

private:
    UFemDataController* delegate_ = nullptr;
    double maxDisplacementValue_ = 0.0;
};
