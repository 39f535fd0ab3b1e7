#include "calculation/UFemWFMatrixCalculationContext.h"

#include "calculation/UFemWFCalculationMemoryEstimate.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <cmath>

namespace {

constexpr quint64 LRowGroupShift = 4;
// L's storages are made resident ahead under the adaptive policy too.
UMemoryHugePageAdvice factorPageAdvice(UMemoryPagePolicy policy)
{
    return policy == UMemoryPagePolicy::smallPages ? UMemorySystemSmallPageAdvice
                                                   : UMemorySystemHugePageAdvice;
}

} // namespace

_UFemWFMatrixCalculationContext::~_UFemWFMatrixCalculationContext()
{
    UFemWFFreeCalculationContext(this);
}

void UFemWFClearCalculationContext(_UFemWFMatrixCalculationContext* c)
{
    c->nodePageCount = 0;
    c->caseCount = 0;
    c->caseBlockCount = 0;
    c->maxPageBandWidth = 0;
    c->avePageBandWidth = 0.0;
    c->calculationProgressState = 0;
    c->columnPageIndex = 0;
    c->rowPageIndex = 0;
    c->pivotChainPageIndex = 0;
    c->progressTotalLength = 0;
    c->currentProgress = 0;
    c->computingCount = 0;
    c->stiffnessMatrixMaxValue = c->stiffnessMatrixMinValue = 0.0;
    c->stiffnessMatrixMaxValueNodeDOFIndex = c->stiffnessMatrixMinValueNodeDOFIndex = 0;
    c->D_MatrixMaxValue = c->D_MatrixMinValue = 0.0;
    c->D_MatrixMaxValueNodeDOFIndex = c->D_MatrixMinValueNodeDOFIndex = 0;
    c->calculationMatrixAllocMemoryCapacity = 0;
    c->calculationMatrixValueMemoryCapacity = 0;
    c->stiffnessMatrixAllocMemoryCapacity = c->stiffnessMatrixValueMemoryCapacity = 0;
    c->L_MatrixAllocMemoryCapacity = c->L_MatrixValueMemoryCapacity = 0;
    c->calculationErrorString.clear();
}

void UFemWFFreeCalculationContext(_UFemWFMatrixCalculationContext* c)
{
    USparseMatrixDestroy(&c->stiffnessMatrix);
    USparseMatrixDestroy(&c->forceMatrix);
    USparseMatrixDestroy(&c->L_Matrix);
    USparseMatrixDestroy(&c->Y_Matrix);
    std::vector<double>().swap(c->D_MatrixTable);
    std::vector<double>().swap(c->X_MatrixTable);
    UFemWFClearCalculationContext(c);
}

void UFemWFReleaseCalculationContext(_UFemWFMatrixCalculationContext* c, quint64 threadCount)
{
    std::vector<_UCMemoryStorage> storages;
    for (const _USparseMatrix* matrix : { &c->L_Matrix, &c->stiffnessMatrix, &c->Y_Matrix })
        for (const _UCMemoryStorage& storage : USparseMatrixStorages(matrix))
            storages.push_back(storage);
    UFemReleaseStoragePages(storages, threadCount);
    UFemWFFreeCalculationContext(c);
}

void UFemWFAllocateCalculationMatrices(
    _UFemWFMatrixCalculationContext* c, const std::vector<quint64>& firstColumnTable)
{
    const quint64 n = c->nodePageCount;
    UFemWFSetupLMatrix(&c->L_Matrix, n);
    USparseMatrixSetPageAdvice(&c->L_Matrix, factorPageAdvice(c->pagePolicy));
    // The factor's rows stay within the envelope that the memory estimate counts.
    std::vector<quint64> envelopePages(n);
    for (quint64 i = 0; i < n; ++i)
        envelopePages[i] = i + 1 - firstColumnTable[i];
    USparseMatrixReserveRowPages(&c->L_Matrix, envelopePages);
    c->D_MatrixTable.assign(n * UFemWFDPairsPerPage, 0.0);
    UFemWFSetupYMatrix(&c->Y_Matrix, n, c->caseCount);
    USparseMatrixSetPageAdvice(&c->Y_Matrix, UMemoryPageAdviceOfPolicy(c->pagePolicy));
    c->X_MatrixTable.assign(n * c->caseBlockCount * UFemWFXAreaDoubles, 0.0);
}

void UFemWFPopulateFactorStorage(_UFemWFMatrixCalculationContext* c, quint64 threadCount)
{
    USparseMatrixTakeReservedStorages(&c->L_Matrix);
    const std::vector<_UCMemoryStorage> storages = USparseMatrixStorages(&c->L_Matrix);
    if (c->pagePolicy == UMemoryPagePolicy::residentHugePages)
        UFemPopulateStorageHugePages(storages, threadCount);
    else if (c->pagePolicy == UMemoryPagePolicy::adaptivePages)
        c->factorPagesFellBack
            = UFemPopulateStorageHugePages(storages, threadCount, c->slowHugePageBytesPerSecond);
}

void UFemWFSetupCalculationStiffnessMatrix(_USparseMatrix* matrix, quint64 pageCount)
{
    USparseMatrixInit(matrix, pageCount, pageCount, UFemBlockValueCount, UFemWFPageBlockCount,
        USparseMatrixSingleRootArena, 1.5);
}

void UFemWFSetupCalculationForceMatrix(_USparseMatrix* matrix, quint64 pageCount, quint64 caseCount)
{
    USparseMatrixInit(matrix, 1, pageCount, UFemBlockValueCount,
        UFemWFGroupsPerPage * UFemWFPageLayout::caseBlockCount(caseCount),
        USparseMatrixSingleRootArena, double(pageCount / 16 + 1));
}

void UFemWFSetupYMatrix(_USparseMatrix* matrix, quint64 pageCount, quint64 caseCount)
{
    USparseMatrixInit(matrix, 1, pageCount, UFemBlockValueCount,
        UFemWFGroupsPerPage * UFemWFPageLayout::caseBlockCount(caseCount),
        USparseMatrixSingleRootArena, double(pageCount / 8 + 1));
}

double UFemWFLMatrixMemoryFactor(quint64 pageCount)
{
    const double estimate = std::pow(16.0 * double(pageCount) / 26300.0, 2.0 / 3.0) * 373.0 + 1.0;
    return double(quint64(estimate)) * 0.0625;
}

void UFemWFSetupLMatrix(_USparseMatrix* matrix, quint64 pageCount)
{
    USparseMatrixInit(matrix, pageCount, pageCount, UFemBlockValueCount, UFemWFPageBlockCount,
        LRowGroupShift, UFemWFLMatrixMemoryFactor(pageCount));
}
