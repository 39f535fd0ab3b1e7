#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "cards/Node.h"
#include "cards/loads/ForceDisp.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "graphicview/ranges/UFemDisplacementValueRangeCalcThreadTaskContext.h"
#include "graphicview/ranges/UFemValueRangeChunks.h"
#include "graphicview/ranges/UFemValueRangeMaximum.h"

#include <cmath>
#include <limits>
#include <mutex>

namespace {

using Task = UFemDisplacementValueRangeCalcThreadTaskContext;

constexpr quint64 firstRotationDirection6 = 3;

// The largest translation over the nodes and the cases; NaN without cases.
[[nodiscard]] bool maxNodeTranslation(std::span<const UFemCardPtr> nodes,
    const std::vector<UFemCardPtr>& cases, double* maximum, UErrorPtr* error,
    const UThreadContext& threadContext)
{
    double largestSquare = 0.0;
    for (const UFemCardPtr& card : nodes) {
        if (threadContext.cancelFlag())
            return false;
        const auto* node = dynamic_cast<const Node*>(card.get());
        if (node == nullptr)
            continue;
        for (const UFemCardPtr& caseCard : cases) {
            double translation[3];
            UErrorPtr nodeError;
            if (!node->getNodeDisplacement(translation, nullptr, UFemRotationIndexSetTranslation,
                    caseCard.get(), &nodeError)) {
                UFemSetError(error,
                    UFemUnexpectedError_withDescription(UFormattedString(
                        "( Error - Calculating Auto Displacement Scale Factor...) - %@",
                        nodeError ? nodeError->localizedDescription() : QString())));
                return false;
            }
            largestSquare = std::max(largestSquare,
                translation[0] * translation[0] + translation[1] * translation[1]
                    + translation[2] * translation[2]);
        }
    }
    if (!cases.empty())
        UFemMergeValueRangeMaximum(maximum, std::sqrt(largestSquare));
    return true;
}

// The largest prescribed translation of the ForceDisp cards; rotations do not count.
bool maxPrescribedTranslation(
    std::span<const UFemCardPtr> cards, double* maximum, const UThreadContext& threadContext)
{
    double largest = 0.0;
    for (const UFemCardPtr& card : cards) {
        if (&card->cardClass() == &ForceDisp::cardClassObject()) {
            const auto& forceDisp = static_cast<const ForceDisp&>(*card);
            if (forceDisp.restraintDegreeOfFreedomColumn().direction6() < firstRotationDirection6)
                largest = std::max(
                    largest, std::fabs(forceDisp.displacementValueColumn().doubleValue()));
        }
        if (threadContext.cancelFlag())
            return false;
    }
    if (largest != 0.0)
        UFemMergeValueRangeMaximum(maximum, largest);
    return true;
}

} // namespace

bool UFemCalculateDisplacementValueRangeWithThreadContext(
    UFemDataController& dataController, UThreadContext& threadContext)
{
    auto& task = dynamic_cast<Task&>(*threadContext.threadTaskContext());
    double maximum = std::numeric_limits<double>::quiet_NaN();
    UErrorPtr error;
    bool finished = false;
    if (dataController.hasResultData()) {
        const std::vector<UFemCardPtr> cases = dataController.caseCardArray().toVector();
        const UFemCardArray& nodes = dataController.nodeCardArray();
        finished = UFemForEachValueRangeChunk(threadContext, nodes.count(),
            UFemValueRangeFetchFromCardArray(nodes), [&](std::span<const UFemCardPtr> chunk) {
                return maxNodeTranslation(chunk, cases, &maximum, &error, threadContext);
            });
    } else {
        const UFemCardArray& restraints = dataController.restraintCardArray();
        finished = UFemForEachValueRangeChunk(threadContext, restraints.count(),
            UFemValueRangeFetchFromCardArray(restraints), [&](std::span<const UFemCardPtr> chunk) {
                return maxPrescribedTranslation(chunk, &maximum, threadContext);
            });
    }
    if (error) {
        task.addCalculationError(error);
        return false;
    }
    if (!finished)
        return false;
    std::lock_guard lock(task);
    task.mergeMaxDisplacementValue(maximum);
    task.broadcast();
    return true;
}
