#include "calculation/UFemWFCalculationMatrixBuild.h"

#include "calculation/UFemRunTasksOnThreads.h"
#include "calculation/solver/UFemWFNodeMatrix.h"
#include "calculation/solver/UFemWFPageLayout.h"
#include "foundation/UFemNotFound.h"

#include <algorithm>

namespace {

using namespace UFemWFPageLayout;

bool isValid(const _UFemNode3DOFState& states, quint64 direction)
{
    return states.state[direction] == UFemNodeDOFStateValid;
}

// One node block bound for the calculation stiffness.
struct StiffnessEntry {
    quint64 rowSlot;
    quint64 columnSlot;
    const double* nodeBlock;
};

void collectRowStiffness(std::vector<StiffnessEntry>& entries, const UFemWFNodeMatrices& matrices,
    const UFemWFCalculationSlotLayout& layout, quint64 rowSlot)
{
    const quint64 t = layout.orderedCombNodeNoTableByCalc()[rowSlot];
    const quint64 node = t / 2;
    for (const quint64 c : USparseMatrixRowColumnIndexSet(matrices.stiffnessMatrix(), node)) {
        for (quint64 rotation = 0; rotation < 2; ++rotation) {
            const quint64 columnSlot = layout.slotOfTriple(2 * c + rotation);
            if (columnSlot == UFemNotFound
                || columnSlot / UFemWFSlotsPerNodeBlock > rowSlot / UFemWFSlotsPerNodeBlock)
                continue;
            const double* block = UFemWFStiffnessBlockAddressIfPresent(
                matrices.stiffnessMatrix(), node, t % 2, c, rotation);
            if (block)
                entries.push_back({ rowSlot, columnSlot, block });
        }
    }
}

// Page rows are independent (each writes its own row of pages): a task takes every taskCount-th.
void writeStiffness(_USparseMatrix* matrix, const UFemWFNodeMatrices& matrices,
    const UFemWFCalculationSlotLayout& layout, quint64 threadCount)
{
    const auto& triples = layout.orderedCombNodeNoTableByCalc();
    const _UFemNode3DOFState* states = matrices.nodeDOFStateTable();
    const quint64 taskCount = std::min(layout.pageCount(), UFemTasksPerThread * threadCount);
    UFemRunTasksOnThreads(taskCount, threadCount, [&](quint64 task) {
        std::vector<StiffnessEntry> entries;
        for (quint64 p = task; p < layout.pageCount(); p += taskCount) {
            entries.clear();
            const quint64 end = std::min<quint64>((p + 1) * UFemWFSlotsPerPage, triples.size());
            for (quint64 s = p * UFemWFSlotsPerPage; s < end; ++s) {
                if (triples[s] != UFemNotFound)
                    collectRowStiffness(entries, matrices, layout, s);
            }
            // Pages of a row are made in ascending column order.
            std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
                return std::pair(a.columnSlot, a.rowSlot) < std::pair(b.columnSlot, b.rowSlot);
            });
            for (const StiffnessEntry& e : entries)
                UFemWFWriteStiffnessBlockToCalculationMatrix(matrix, e.nodeBlock, e.rowSlot,
                    e.columnSlot, states[triples[e.rowSlot]], states[triples[e.columnSlot]]);
        }
    });
}

void writeForces(_USparseMatrix* matrix, const UFemWFNodeMatrices& matrices,
    const UFemWFCalculationSlotLayout& layout)
{
    const _UFemNode3DOFState* states = matrices.nodeDOFStateTable();
    const quint64 caseCount = matrices.caseCount();
    std::vector<quint64> loadedSlots;
    for (const quint64 node : USparseMatrixRowColumnIndexSet(matrices.forceMatrix(), 0)) {
        for (quint64 rotation = 0; rotation < 2; ++rotation) {
            const quint64 slot = layout.slotOfTriple(2 * node + rotation);
            if (slot != UFemNotFound)
                loadedSlots.push_back(slot);
        }
    }
    std::sort(loadedSlots.begin(), loadedSlots.end());
    const auto& triples = layout.orderedCombNodeNoTableByCalc();
    for (const quint64 slot : loadedSlots) {
        const quint64 t = triples[slot];
        for (quint64 first = 0; first < caseCount; first += UFemWFCasesPerBlock) {
            const double* vectors
                = UFemWFForceVectorAddressIfPresent(matrices.forceMatrix(), t / 2, t % 2, first);
            if (vectors)
                UFemWFWriteForceVectorsToCalculationMatrix(matrix, vectors, slot, first,
                    std::min(UFemWFCasesPerBlock, caseCount - first), states[t]);
        }
    }
}

} // namespace

void UFemWFWriteStiffnessBlockToCalculationMatrix(_USparseMatrix* matrix, const double* nodeBlock,
    quint64 rowSlot, quint64 columnSlot, const _UFemNode3DOFState& rowStates,
    const _UFemNode3DOFState& columnStates)
{
    double* block = USparseMatrixBlockCreate(matrix, pageOf(rowSlot), pageOf(columnSlot),
        blockIndex(blockInPage(rowSlot), blockInPage(columnSlot)));
    const quint64 r0 = firstRowOf(rowSlot);
    const quint64 q0 = firstRowOf(columnSlot);
    for (quint64 i = 0; i < 3; ++i) {
        for (quint64 j = 0; j < 3; ++j) {
            const bool valid = isValid(rowStates, i) && isValid(columnStates, j);
            block[valueIndex(r0 + i, q0 + j)] = valid ? nodeBlock[3 * i + j] : 0.0;
        }
    }
}

void UFemWFWriteForceVectorsToCalculationMatrix(_USparseMatrix* matrix, const double* vectors,
    quint64 slot, quint64 firstCase, quint64 count, const _UFemNode3DOFState& states)
{
    double* block = USparseMatrixBlockCreate(
        matrix, 0, pageOf(slot), forceBlockIndex(blockInPage(slot), caseBlockOf(firstCase)));
    const quint64 r0 = firstRowOf(slot);
    for (quint64 k = 0; k < count; ++k) {
        for (quint64 d = 0; d < 3; ++d)
            block[forceValueIndex(r0 + d, firstCase + k)]
                = isValid(states, d) ? vectors[3 * k + d] : 0.0;
    }
}

void UFemWFWriteForceVectorToCalculationMatrix(_USparseMatrix* matrix, const double* vector,
    quint64 slot, quint64 caseIndex, const _UFemNode3DOFState& states)
{
    double* block = USparseMatrixBlockCreate(
        matrix, 0, pageOf(slot), forceBlockIndex(blockInPage(slot), caseBlockOf(caseIndex)));
    const quint64 r0 = firstRowOf(slot);
    for (quint64 d = 0; d < 3; ++d)
        block[forceValueIndex(r0 + d, caseIndex)] = isValid(states, d) ? vector[d] : 0.0;
}

std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> UFemWFBuildCalculationThreadTaskContext(
    const UFemWFNodeMatrices& matrices, const UFemWFCalculationSlotLayout& layout,
    const UFemWFMatrixCalculationDelegate* delegate, quint64 memoryLimit, quint64 threadCount,
    UMemoryPagePolicy pagePolicy, UErrorPtr* error)
{
    const quint64 pageCount = layout.pageCount();
    const quint64 caseCount = matrices.caseCount();
    if (pageCount == 0 || caseCount == 0)
        return nullptr;
    auto task = std::make_unique<UFemWFMatrixCalculationThreadTaskContext>();
    {
        std::lock_guard<UThreadTaskContext> lock(*task);
        task->setArgumentIfNeededWithDelegate(delegate);
    }
    _UFemWFMatrixCalculationContext* context = task->calculationContextPtr();
    context->nodePageCount = pageCount;
    context->caseCount = caseCount;
    context->memoryLimit = memoryLimit;
    context->pagePolicy = pagePolicy;
    const UMemoryHugePageAdvice advice = UMemoryPageAdviceOfPolicy(pagePolicy);
    context->caseBlockCount = (caseCount + UFemWFCasesPerBlock - 1) / UFemWFCasesPerBlock;
    UFemWFSetupCalculationStiffnessMatrix(&context->stiffnessMatrix, pageCount);
    USparseMatrixSetPageAdvice(&context->stiffnessMatrix, advice);
    writeStiffness(&context->stiffnessMatrix, matrices, layout, threadCount);
    UFemWFSetupCalculationForceMatrix(&context->forceMatrix, pageCount, caseCount);
    USparseMatrixSetPageAdvice(&context->forceMatrix, advice);
    writeForces(&context->forceMatrix, matrices, layout);
    UErrorPtr failure;
    task->setupToRunCalculation(&failure);
    if (failure) {
        UFemSetError(error, failure);
        return nullptr;
    }
    UFemWFPopulateFactorStorage(context, threadCount);
    return task;
}
