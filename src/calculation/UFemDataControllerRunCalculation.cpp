#include "calculation/UFemDataControllerRunCalculation.h"

#include "calculation/UFemMatrixCalculationContext.h"
#include "calculation/results/UFemResultDataManagerImpl.h"
#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardErrorText.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cards/Node.h"
#include "cards/loads/Case.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFormattedString.h"

#include "calculation/UFemRunTasksOnThreads.h"
#include "foundation/threads/UThreadCountPreference.h"

#include <atomic>
#include <unordered_map>

namespace {

// Cards one task checks: enough to outweigh handing the task out.
constexpr quint64 cardsPerCheckSlice = 2048;

bool someCardHasErrorToRun(const std::vector<UFemCardPtr>& cards, quint64 threadCount)
{
    std::atomic<bool> found { false };
    const quint64 sliceCount = (cards.size() + cardsPerCheckSlice - 1) / cardsPerCheckSlice;
    UFemRunTasksOnThreads(sliceCount, threadCount, [&](quint64 slice) {
        const quint64 end = std::min<quint64>(cards.size(), (slice + 1) * cardsPerCheckSlice);
        for (quint64 i = slice * cardsPerCheckSlice; i < end; ++i) {
            if (found.load(std::memory_order_relaxed))
                return;
            if (cards[i]->checkErrorToRun() || cards[i]->checkWarningToRun())
                found.store(true, std::memory_order_relaxed);
        }
    });
    return found.load();
}

} // namespace

bool UFemCheckToRunCalculation(UFemDataController& dataController,
    const UFemShowCardsWithErrorToRun& showCardsWithErrorToRun, quint64 threadCount,
    UErrorPtr* error)
{
    const auto fail = [error](UErrorPtr failure) {
        UFemSetError(error, std::move(failure));
        return false;
    };
    if (dataController.errorCardArray().count() > 0)
        return fail(UFemCheckToRunCalculationSomeErrorCardExistError());
    if (dataController.caseCardArray().count() == 0)
        return fail(UFemCheckToRunCalculationNoCaseError());
    if (dataController.elementCardArray().count() == 0)
        return fail(UFemCheckToRunCalculationNoElementError());
    QStringList namesWithoutCard;
    for (const auto& cardName : dataController.cardNameTable().allCardNameArray())
        if (!cardName->hasCard())
            namesWithoutCard.append(cardName->cardNameString());
    if (!namesWithoutCard.isEmpty())
        return fail(
            UFemCheckToRunCalculationNoCardRegisteredForCardNameError_withCardNameStringArray(
                namesWithoutCard));
    if (threadCount == 0)
        threadCount = UThreadCountPreference::calculationTaskThreadCount();
    if (someCardHasErrorToRun(dataController.cardArray().toVector(), threadCount)) {
        if (showCardsWithErrorToRun)
            showCardsWithErrorToRun(dataController);
        return fail(UFemCheckToRunCalculationCardHasErrorToRunError());
    }
    return true;
}

namespace {

// A line of the report shows this much of a card's text; the rest (a vast token) is cut, never
// composed.
constexpr qsizetype reportedLineLength = 160;

QString reportedLine(UFemCard& card)
{
    return UFemComposeCardStringExcerpt(
        card, UFemColumnSeparatingCharacterTypeComma, false, true, reportedLineLength);
}

} // namespace

QString UFemReportOfCardsWithError(UFemDataController& dataController, quint64 maxCount)
{
    QString report;
    quint64 listed = 0;
    quint64 more = 0;
    for (quint64 row = 0; row < dataController.cardCount(); ++row) {
        UFemCard& card = *dataController.cardAtRowIndex(row);
        const std::optional<UFemCardErrorText> error = UFemCardErrorTextOfCard(card);
        if (!error)
            continue;
        if (listed == maxCount) {
            ++more;
            continue;
        }
        ++listed;
        report += QStringLiteral("line %1: %2\n    %3%4\n")
                      .arg(row + 1)
                      .arg(reportedLine(card),
                          error->isWarning ? QStringLiteral("warning: ") : QString(), error->text);
    }
    if (more > 0)
        report += QStringLiteral("... and %1 more cards\n").arg(more);
    return report;
}

UFemMatrixCalculationContext* UFemMatrixCalculationContextOf(
    const UFemDataController& dataController)
{
    return static_cast<UFemMatrixCalculationContext*>(dataController.matrixCalculationContext());
}

UFemMatrixCalculationContext& UFemSetupForRunCalculation(
    UFemDataController& dataController, quint64 threadCount)
{
    auto context = std::make_shared<UFemMatrixCalculationContext>(&dataController);
    context->setCalculationThreadCount(threadCount);
    dataController.setMatrixCalculationContext(context);
    return *context;
}

bool UFemRunCalculation(UFemDataController& dataController, UErrorPtr* error)
{
    UFemMatrixCalculationContext* context = UFemMatrixCalculationContextOf(dataController);
    if (context == nullptr)
        context = &UFemSetupForRunCalculation(dataController);
    if (!context->setupToRunCalculation(error) || !context->runCalculation(error))
        return false;
    std::shared_ptr<UFemResultDataManagerImpl> manager = context->resultDataManager(error);
    return manager && dataController.setResultDataManager(std::move(manager), true, error);
}

// ---- forwarding ---------------------------------------------------------------------------------

bool UFemIsCalculationPausing(const UFemDataController& dataController)
{
    const UFemCalculationControl* context = dataController.matrixCalculationContext();
    return context && context->isCalculationPausing();
}

quint64 UFemCalculatingThreadCount(const UFemDataController& dataController)
{
    const UFemCalculationControl* context = dataController.matrixCalculationContext();
    return context ? context->calculatingThreadCount() : 0;
}

quint64 UFemProgressTotalLength(const UFemDataController& dataController)
{
    const UFemCalculationControl* context = dataController.matrixCalculationContext();
    return context ? context->progressTotalLength() : ~quint64(0);
}

quint64 UFemCurrentProgress(const UFemDataController& dataController)
{
    const UFemCalculationControl* context = dataController.matrixCalculationContext();
    return context ? context->currentProgress() : 0;
}

quint64 UFemComputingCount(const UFemDataController& dataController)
{
    const UFemCalculationControl* context = dataController.matrixCalculationContext();
    return context ? context->computingCount() : 0;
}

void UFemPauseCalculationWithFlag(const UFemDataController& dataController, bool flag)
{
    if (UFemCalculationControl* context = dataController.matrixCalculationContext())
        context->pauseCalculationWithFlag(flag);
}

void UFemQuitCalculation(const UFemDataController& dataController)
{
    if (UFemCalculationControl* context = dataController.matrixCalculationContext())
        context->quitCalculation();
}

// ---- numbering ----------------------------------------------------------------------------------

void UFemResetNodeNoAndCaseNo(UFemDataController& dataController)
{
    for (const auto& card : dataController.nodeCardArray())
        if (auto* node = dynamic_cast<Node*>(card.get()))
            node->resetNodeNo();
    for (const auto& card : dataController.caseCardArray())
        if (auto* caseCard = dynamic_cast<Case*>(card.get()))
            caseCard->resetCaseNo();
}

namespace {

constexpr qsizetype listedMissingNameCount = 10;

// Numbers the cards after the result's names; counts and lists (the first 10) those missing.
struct NumberingOutcome {
    quint64 missingCount = 0;
    QString missingNames;
};

template <class Card, class SetNumber>
NumberingOutcome numberCards(
    const UFemCardArray& cards, const QStringList& resultNames, SetNumber setNumber)
{
    // A failed insert into a QHash ends the program (its insert is noexcept): a standard map.
    std::unordered_map<QString, quint64> numberOfName;
    numberOfName.reserve(std::size_t(resultNames.size()));
    for (qsizetype index = 0; index < resultNames.size(); ++index)
        numberOfName.insert_or_assign(resultNames[index], quint64(index));
    NumberingOutcome outcome;
    for (const auto& card : cards) {
        auto* typed = dynamic_cast<Card*>(card.get());
        const UFemCardName* name = card->cardName();
        const auto found = name ? numberOfName.find(name->cardNameString()) : numberOfName.end();
        if (found != numberOfName.end()) {
            if (typed)
                setNumber(*typed, found->second);
            continue;
        }
        if (outcome.missingCount++ < quint64(listedMissingNameCount))
            outcome.missingNames
                += (name ? name->cardNameString() : QString()) + QStringLiteral(", ");
    }
    return outcome;
}

} // namespace

bool UFemSynchronizeNodeNoAndCaseNoToResultData(
    UFemDataController& dataController, UErrorPtr* error)
{
    const UFemResultDataManager* manager = dataController.resultDataManager();
    UFemResetNodeNoAndCaseNo(dataController);
    if (manager == nullptr || !manager->canSynchronizeNodeNoAndCaseNoWithModelData())
        return false;
    const QStringList nodeNames = manager->nodeCardNameStringArray();
    const QStringList caseNames = manager->caseCardNameStringArray();
    const UFemCardArray& nodeCards = dataController.nodeCardArray();
    const UFemCardArray& caseCards = dataController.caseCardArray();
    const NumberingOutcome nodes = numberCards<Node>(
        nodeCards, nodeNames, [](Node& node, quint64 number) { node.setNodeNo(number); });
    const NumberingOutcome cases = numberCards<Case>(
        caseCards, caseNames, [](Case& caseCard, quint64 number) { caseCard.setCaseNo(number); });
    const bool nodeCountsMatch = nodeCards.count() == quint64(nodeNames.size());
    const bool caseCountsMatch = caseCards.count() == quint64(caseNames.size());
    if (nodeCountsMatch && caseCountsMatch && nodes.missingCount == 0 && cases.missingCount == 0)
        return true;
    const QString description = ULocalizedString(
        "Node Cards and Case Cards doesn't match in Model Data and Result Data.");
    QString suggestion = description;
    if (!nodeCountsMatch)
        suggestion += ULocalizedFormattedString(
            "%lu Node Cards are exist in Model Data and %lu Node Cards are exist in Result Data.\n",
            nodeCards.count(), quint64(nodeNames.size()));
    if (!caseCountsMatch)
        suggestion += ULocalizedFormattedString(
            "%lu Case Cards are exist in Model Data and %lu Case Cards are exist in Result Data.\n",
            caseCards.count(), quint64(caseNames.size()));
    if (nodes.missingCount > 0)
        suggestion
            += ULocalizedFormattedString("%lu Node Cards are not found in Result Data.\n%@\n",
                nodes.missingCount, nodes.missingNames);
    if (cases.missingCount > 0)
        suggestion
            += ULocalizedFormattedString("%lu Case Cards are not found in Result Data.\n%@\n",
                cases.missingCount, cases.missingNames);
    UFemSetError(error, UFemUnexpectedError_withDescription(description, suggestion));
    return false;
}

void UFemInstallCalculationServices(UFemDataControllerServices& services)
{
    services.resetNodeNoAndCaseNo = UFemResetNodeNoAndCaseNo;
    services.synchronizeNodeNoAndCaseNoToResultData = UFemSynchronizeNodeNoAndCaseNoToResultData;
}
