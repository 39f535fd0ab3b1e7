#include "graphicview/tasks/UFemColorScaleRangeCalcThreadTaskContext.h"

#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

#include <cmath>
#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

UFemColorScaleRangeCalcThreadTaskContext::UFemColorScaleRangeCalcThreadTaskContext()
{
    clearFields();
}

UFemColorScaleRangeCalcThreadTaskContext::~UFemColorScaleRangeCalcThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemColorScaleRangeCalcThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    clearFields();
}

void UFemColorScaleRangeCalcThreadTaskContext::clearFields()
{
    delegate_ = nullptr;
    cardArray_ = nullptr;
    caseCardArray_.clear();
    cardFilter_.reset();
    cardValueExpression_.reset();
    minCardValue_ = notANumber;
    maxCardValue_ = notANumber;
    numberOfCardValidByCardFilter_ = 0;
    numberOfCardRespondToValueExpression_ = 0;
}

bool UFemColorScaleRangeCalcThreadTaskContext::setArgumentIfNeededWithDelegate(Delegate* delegate,
    const UFemCardArray* cardArray, std::vector<UFemCardPtr> caseCardArray,
    std::shared_ptr<const UFemCardFilter> cardFilter,
    std::shared_ptr<const UFemCardValueExpression> cardValueExpression)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        cardArray_ = cardArray;
        caseCardArray_ = std::move(caseCardArray);
        cardFilter_ = std::move(cardFilter);
        cardValueExpression_ = std::move(cardValueExpression);
    });
}

bool UFemColorScaleRangeCalcThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return delegate_->calculateColorScaleRangeWithThreadContext(threadContext);
}

void UFemColorScaleRangeCalcThreadTaskContext::mergeCardValueRange(double minCardValue,
    double maxCardValue, quint64 numberOfCardValidByCardFilter,
    quint64 numberOfCardRespondToValueExpression)
{
    if (!std::isnan(minCardValue) && (std::isnan(minCardValue_) || minCardValue_ > minCardValue))
        minCardValue_ = minCardValue;
    if (!std::isnan(maxCardValue) && (std::isnan(maxCardValue_) || maxCardValue_ < maxCardValue))
        maxCardValue_ = maxCardValue;
    numberOfCardValidByCardFilter_ += numberOfCardValidByCardFilter;
    numberOfCardRespondToValueExpression_ += numberOfCardRespondToValueExpression;
}
