#pragma once

#include "cardmodel/data/UFemCardTable.h"
#include "foundation/threads/UThreadTaskContext.h"

#include <memory>
#include <vector>

class UFemCardFilter;
class UFemCardValueExpression;

// The range of the colour-by-value values over a model, for the automatic colour scale.
class UFemColorScaleRangeCalcThreadTaskContext final : public UThreadTaskContext {
public:
    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual bool calculateColorScaleRangeWithThreadContext(UThreadContext& threadContext) = 0;
    };

    UFemColorScaleRangeCalcThreadTaskContext();
    ~UFemColorScaleRangeCalcThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // `cardArray` is not owned: the model stays unchanged while the task holds it, since every
    // change first cancels and clears the view's tasks.
    bool setArgumentIfNeededWithDelegate(Delegate* delegate, const UFemCardArray* cardArray,
        std::vector<UFemCardPtr> caseCardArray, std::shared_ptr<const UFemCardFilter> cardFilter,
        std::shared_ptr<const UFemCardValueExpression> cardValueExpression);
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    // Arguments, fixed while the task runs.
    const UFemCardArray* cardArray() const { return cardArray_; }
    const std::vector<UFemCardPtr>& caseCardArray() const { return caseCardArray_; }
    const UFemCardFilter* cardFilter() const { return cardFilter_.get(); }
    const UFemCardValueExpression* cardValueExpression() const
    {
        return cardValueExpression_.get();
    }

    // Results, under the task lock: NaN and 0 until a worker merges.
    double minCardValue() const { return minCardValue_; }
    double maxCardValue() const { return maxCardValue_; }
    quint64 numberOfCardValidByCardFilter() const { return numberOfCardValidByCardFilter_; }
    quint64 numberOfCardRespondToValueExpression() const
    {
        return numberOfCardRespondToValueExpression_;
    }
    // A worker's extremes (NaN-aware) and counts.
    void mergeCardValueRange(double minCardValue, double maxCardValue,
        quint64 numberOfCardValidByCardFilter, quint64 numberOfCardRespondToValueExpression);

private:
    void clearFields();

    Delegate* delegate_ = nullptr;
    const UFemCardArray* cardArray_ = nullptr;
    std::vector<UFemCardPtr> caseCardArray_;
    std::shared_ptr<const UFemCardFilter> cardFilter_;
    std::shared_ptr<const UFemCardValueExpression> cardValueExpression_;
    double minCardValue_;
    double maxCardValue_;
    quint64 numberOfCardValidByCardFilter_ = 0;
    quint64 numberOfCardRespondToValueExpression_ = 0;
};
