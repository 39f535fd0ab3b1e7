#pragma once

#include "cardmodel/data/UFemCardTable.h"
#include "foundation/threads/UThreadTaskContext.h"

#include <vector>

class UFemDataController;

// The largest force and moment of a model, measured on worker threads for the automatic force
// scale factors. The data controller owns it and clears it with every model change.
class UFemForceValueRangeCalcThreadTaskContext final : public UThreadTaskContext {
public:
    // States of the force card list that the first worker of a run builds for all.
    enum ForceCardArrayValidness : quint64 {
        ForceCardArrayNotBuilt = 0,
        ForceCardArrayBuilt = 1,
        ForceCardArrayBuilding = 2,
    };

    UFemForceValueRangeCalcThreadTaskContext() = default;
    ~UFemForceValueRangeCalcThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // Only a cleared task whose cancel flag is clear takes the argument and becomes ready.
    bool setArgumentIfNeededWithDelegate(UFemDataController* delegate);
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    // Under the task lock.
    UFemDataController* delegate() const { return delegate_; }
    quint64 forceCardArrayValidnessState() const { return forceCardArrayValidnessState_; }
    void setForceCardArrayValidnessState(quint64 state) { forceCardArrayValidnessState_ = state; }
    const std::vector<UFemCardPtr>& forceCardArray() const { return forceCardArray_; }
    void setForceCardArray(std::vector<UFemCardPtr> cards) { forceCardArray_ = std::move(cards); }
    double maxForceValue() const { return maxForceValue_; }
    double maxMomentValue() const { return maxMomentValue_; }
    // A number replaces a result that is not a number or smaller.
    void mergeMaxForceValue(double maxForceValue, double maxMomentValue);

private:
    UFemDataController* delegate_ = nullptr;
    quint64 forceCardArrayValidnessState_ = ForceCardArrayNotBuilt;
    std::vector<UFemCardPtr> forceCardArray_;
    double maxForceValue_ = 0.0;
    double maxMomentValue_ = 0.0;
};
