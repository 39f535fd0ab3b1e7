#pragma once

#include "calculation/solver/UFemWFPageLayout.h"
#include "calculation/solver/USparseMatrix.h"
#include "foundation/UFemNotFound.h"

#include <QString>

#include <atomic>
#include <vector>

// Below this a thread's time makes fresh huge pages resident more slowly than 4 KiB pages come:
// huge pages a guest recycled took 2-7 GiB/s, ones its host had taken back 0.15-0.3 GiB/s, against
// 0.3-3 GiB/s in 4 KiB pages.
inline constexpr double UFemWFSlowHugePageBytesPerSecond = double(quint64(1) << 30);

// The data one solution works on and the figures it reports. Totals that the main thread reads
// while the solution runs are atomics.
struct _UFemWFMatrixCalculationContext {
    quint64 nodePageCount = 0;
    quint64 caseCount = 0;
    quint64 caseBlockCount = 0;
    _USparseMatrix stiffnessMatrix;
    _USparseMatrix forceMatrix;
    _USparseMatrix L_Matrix;
    std::vector<double> D_MatrixTable; // {D, 1/D} per DOF in calculation order
    _USparseMatrix Y_Matrix;
    std::vector<double> X_MatrixTable;
    quint64 maxPageBandWidth = 0;
    double avePageBandWidth = 0.0;
    quint64 calculationProgressState = 0;
    quint64 columnPageIndex = 0;
    quint64 rowPageIndex = 0;
    // The next pivot page whose job (its L page left of the diagonal, then the pivot) is untaken.
    quint64 pivotChainPageIndex = 0;
    std::atomic<quint64> progressTotalLength { 0 };
    std::atomic<quint64> currentProgress { 0 };
    std::atomic<quint64> computingCount { 0 };
    double stiffnessMatrixMaxValue = 0.0;
    quint64 stiffnessMatrixMaxValueNodeDOFIndex = 0;
    double stiffnessMatrixMinValue = 0.0;
    quint64 stiffnessMatrixMinValueNodeDOFIndex = 0;
    double D_MatrixMaxValue = 0.0;
    quint64 D_MatrixMaxValueNodeDOFIndex = 0;
    double D_MatrixMinValue = 0.0;
    quint64 D_MatrixMinValueNodeDOFIndex = 0;
    std::atomic<quint64> calculationMatrixAllocMemoryCapacity { 0 };
    quint64 calculationMatrixValueMemoryCapacity = 0;
    quint64 stiffnessMatrixAllocMemoryCapacity = 0;
    quint64 stiffnessMatrixValueMemoryCapacity = 0;
    quint64 L_MatrixAllocMemoryCapacity = 0;
    quint64 L_MatrixValueMemoryCapacity = 0;
    QString calculationErrorString;
    // Bytes the solution may take; 0 takes the memory the machine has available.
    quint64 memoryLimit = 0;
    UMemoryPagePolicy pagePolicy = UMemoryPagePolicy::adaptivePages;
    // Under the adaptive policy: L's huge pages came slowly, and the rest took 4 KiB pages.
    bool factorPagesFellBack = false;
    // The adaptive policy's rate below which L's huge pages come slowly.
    double slowHugePageBytesPerSecond = UFemWFSlowHugePageBytesPerSecond;
    quint64 estimatedMemoryCapacity = 0;

    _UFemWFMatrixCalculationContext() = default;
    _UFemWFMatrixCalculationContext(const _UFemWFMatrixCalculationContext&) = delete;
    _UFemWFMatrixCalculationContext& operator=(const _UFemWFMatrixCalculationContext&) = delete;
    ~_UFemWFMatrixCalculationContext();
};

void UFemWFClearCalculationContext(_UFemWFMatrixCalculationContext* context);
void UFemWFFreeCalculationContext(_UFemWFMatrixCalculationContext* context);
// Frees the context as UFemWFFreeCalculationContext does, its matrices' pages handed back to the
// system on `threadCount` threads first.
void UFemWFReleaseCalculationContext(_UFemWFMatrixCalculationContext* context, quint64 threadCount);
// L, D, Y and X for n pages and the context's case blocks, row i of L reserved for its pages from
// `firstColumnTable[i]` to the diagonal; throws std::bad_alloc when memory runs out.
void UFemWFAllocateCalculationMatrices(
    _UFemWFMatrixCalculationContext* context, const std::vector<quint64>& firstColumnTable);
// Takes L's reserved storages; under the resident and the adaptive policies makes their huge pages
// resident on `threadCount` threads before the factorisation, which would otherwise take the
// kernel's faults and page zeroing on its own path.
void UFemWFPopulateFactorStorage(_UFemWFMatrixCalculationContext* context, quint64 threadCount);

void UFemWFSetupCalculationStiffnessMatrix(_USparseMatrix* matrix, quint64 pageCount);
void UFemWFSetupCalculationForceMatrix(
    _USparseMatrix* matrix, quint64 pageCount, quint64 caseCount);
void UFemWFSetupYMatrix(_USparseMatrix* matrix, quint64 pageCount, quint64 caseCount);
void UFemWFSetupLMatrix(_USparseMatrix* matrix, quint64 pageCount);
double UFemWFLMatrixMemoryFactor(quint64 pageCount);

inline double* UFemWFXMatrixEntryAddress(
    double* table, quint64 t, quint64 c, quint64 caseBlockCount)
{
    return table + UFemWFXMatrixEntryIndex(t, c, caseBlockCount);
}
