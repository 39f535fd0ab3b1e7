// The merge: one undo step that removes the merged nodes (or makes them comment lines) and points
// every reference to them at the kept nodes; a failure rolls the step back.

#include "tools/merger/UFemToolNodeMerger.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"
#include "platform/UUndoManager.h"

#include <new>

namespace {

const QString RemovedNodeCommentFormat = QStringLiteral("\\ <RemovedByNodeMerge> %1");

struct MergePlan {
    UFemCardVector removedCards;
    QStringList commentLines;
    QStringList removedNames;
    QStringList keptNames;
};

MergePlan planOf(const std::vector<UFemToolNodeMerger::NodeGroup>& groups, bool withComments)
{
    MergePlan plan;
    for (const UFemToolNodeMerger::NodeGroup& group : groups) {
        const QString kept = group.front()->cardNameString().value_or(QString());
        for (auto member = group.begin() + 1; member != group.end(); ++member) {
            plan.removedCards.push_back(*member);
            if (withComments)
                plan.commentLines.append(RemovedNodeCommentFormat.arg(UFemCardString(**member)));
            const UFemCardName* name = (*member)->cardName();
            if (name != nullptr && name->hasNameRef()) {
                plan.removedNames.append(name->cardNameString());
                plan.keptNames.append(kept);
            }
        }
    }
    return plan;
}

// A card's row is found from the row it remembers, or else by a search from the first row; cards
// never asked yet, and the cards after many removed ones, would each cost a search.
void refreshRememberedRows(const UFemDataController& model)
{
    const quint64 count = model.numberOfCards();
    for (quint64 row = 0; row < count; ++row)
        model.cardAtRowIndex(row)->setCardRowIndex_last(row);
}

[[nodiscard]] bool carryOut(
    UFemDataController& model, const MergePlan& plan, bool withComments, UErrorPtr* error)
{
    refreshRememberedRows(model);
    if (withComments) {
        if (!model.modifyCardsInCardArray(plan.removedCards, plan.commentLines,
                UFemColumnSeparatingCharacterTypeComma, true, error))
            return false;
    } else {
        if (!model.removeCardsWithCardArray(plan.removedCards, error))
            return false;
        refreshRememberedRows(model);
    }
    return model.mergeCardNameFromCardNameStringArray(plan.removedNames, plan.keptNames, error);
}

// One undo step, through the model's undo manager or one for this call; a failure or an
// exception rolls it back.
[[nodiscard]] bool mergeInOneStep(
    UFemDataController& model, const MergePlan& plan, bool withComments, UErrorPtr* error)
{
    UUndoManager* undoManager = model.undoManager();
    std::unique_ptr<UUndoManager> ownUndoManager;
    if (undoManager == nullptr) {
        ownUndoManager = std::make_unique<UUndoManager>(model.notificationCenter());
        undoManager = ownUndoManager.get();
        model.setUndoManager(undoManager);
    }
    undoManager->beginUndoGrouping();
    const std::size_t mark = undoManager->openGroupActionCount();
    bool merged = false;
    try {
        merged = carryOut(model, plan, withComments, error);
    } catch (...) {
        undoManager->rollBackOpenGroup(mark);
        undoManager->endUndoGrouping();
        if (ownUndoManager)
            model.setUndoManager(nullptr);
        throw;
    }
    if (!merged)
        undoManager->rollBackOpenGroup(mark);
    else if (!undoManager->isUndoing() && !undoManager->isRedoing())
        undoManager->setActionName(UFormattedString(
            "Merge Nodes ( Remove %lu node cards )", quint64(plan.removedCards.size())));
    undoManager->endUndoGrouping();
    if (ownUndoManager)
        model.setUndoManager(nullptr);
    return merged;
}

} // namespace

bool UFemToolNodeMerger::mergeNode(const std::vector<NodeGroup>& nodeCardNameChangeList,
    bool doesKeepRemovedNodeCardAsComment, UErrorPtr* error)
{
    if (error == nullptr)
        UFemRaiseErrorResponderError();
    if (nodeCardNameChangeList.empty())
        return true;
    auto* model = dynamic_cast<UFemDataController*>(
        nodeCardNameChangeList.front().front()->dataController());
    if (model == nullptr)
        UFemRaiseProgramError(QStringLiteral("The nodes to merge belong to no data controller."));
    try {
        return mergeInOneStep(*model,
            planOf(nodeCardNameChangeList, doesKeepRemovedNodeCardAsComment),
            doesKeepRemovedNodeCardAsComment, error);
    } catch (const std::bad_alloc&) {
        // Rolled back: memory running out is the memory error, not a program error.
        UFemSetError(error, UFemMallocFailedError());
        return false;
    }
}
