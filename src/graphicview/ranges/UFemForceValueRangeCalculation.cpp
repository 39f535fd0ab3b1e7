#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/loads/Case.h"
#include "cards/loads/UFemForceSource.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "graphicview/ranges/UFemForceValueRangeCalcThreadTaskContext.h"
#include "graphicview/ranges/UFemMaxForceCalculatorAsDummyMatrixCalculator.h"
#include "graphicview/ranges/UFemValueRangeChunks.h"

#include <algorithm>
#include <mutex>

namespace {

using Task = UFemForceValueRangeCalcThreadTaskContext;

// The cards the cases name as their forces, in case order; without any, every force card.
std::vector<UFemCardPtr> forceCardsToMeasure(UFemDataController& dataController)
{
    std::vector<UFemCardPtr> cards;
    for (const UFemCardPtr& caseCard : dataController.caseCardArray()) {
        const auto* theCase = dynamic_cast<const Case*>(caseCard.get());
        const UFemCardName* forceName = theCase ? theCase->forceCardName() : nullptr;
        if (forceName == nullptr)
            continue;
        for (UFemCard* card : forceName->cardArray())
            cards.push_back(card->shared_from_this());
    }
    if (cards.empty())
        cards = dataController.forceCardArray().toVector();
    return cards;
}

// The first worker builds the list while the others wait for it.
const std::vector<UFemCardPtr>& sharedForceCardArray(Task& task, UFemDataController& dataController)
{
    std::unique_lock lock(task);
    if (task.forceCardArrayValidnessState() == Task::ForceCardArrayNotBuilt) {
        task.setForceCardArrayValidnessState(Task::ForceCardArrayBuilding);
        task.broadcast();
        lock.unlock();
        std::vector<UFemCardPtr> cards = forceCardsToMeasure(dataController);
        lock.lock();
        task.setForceCardArray(std::move(cards));
        task.setForceCardArrayValidnessState(Task::ForceCardArrayBuilt);
        task.broadcast();
    }
    while (task.forceCardArrayValidnessState() != Task::ForceCardArrayBuilt)
        task.wait();
    return task.forceCardArray();
}

bool putForces(std::span<const UFemCardPtr> cards,
    UFemMaxForceCalculatorAsDummyMatrixCalculator& calculator, UErrorPtr* error,
    const UThreadContext& threadContext)
{
    // Force cards put their loads without a case here; the calculator ignores it.
    static const UFemCardName noCaseName(nullptr);
    for (const UFemCardPtr& card : cards) {
        const auto* source = dynamic_cast<const UFemForceSource*>(card.get());
        if (source != nullptr
            && !source->putForceMatrixToMatrixCalculator(calculator, 1.0, noCaseName, error))
            return false;
        if (threadContext.cancelFlag())
            return false;
    }
    return true;
}

} // namespace

bool UFemCalculateForceValueRangeWithThreadContext(
    UFemDataController& dataController, UThreadContext& threadContext)
{
    auto& task = dynamic_cast<Task&>(*threadContext.threadTaskContext());
    const std::vector<UFemCardPtr>& cards = sharedForceCardArray(task, dataController);
    UFemMaxForceCalculatorAsDummyMatrixCalculator calculator;
    UErrorPtr error;
    const auto fetch = [&cards](UFemCardPtr* buffer, UIndexRange range) {
        std::copy_n(cards.begin() + qsizetype(range.location), range.length, buffer);
    };
    const bool finished = UFemForEachValueRangeChunk(
        threadContext, cards.size(), fetch, [&](std::span<const UFemCardPtr> chunk) {
            return putForces(chunk, calculator, &error, threadContext);
        });
    if (error) {
        task.addCalculationError(error);
        return false;
    }
    if (!finished)
        return false;
    std::lock_guard lock(task);
    task.mergeMaxForceValue(calculator.maxForceSize(), calculator.maxMomentSize());
    task.broadcast();
    return true;
}
