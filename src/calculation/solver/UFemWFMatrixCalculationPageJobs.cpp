// The four page jobs of UFemWFMatrixCalculationThreadTaskContext: pivot page, L page, forward
// substitution page and back substitution page. Each accumulates its sums in a fixed order.
#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"
#include "calculation/UFemWFMatrixCalculationThreadWork.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <cmath>
#include <utility>

namespace {

constexpr quint64 G = UFemWFGroupsPerPage;
constexpr quint64 N = UFemBlockDimension;
constexpr quint64 TriangularBlockCount = 2;
constexpr quint64 DiagonalBlockCount = 1;
constexpr quint64 DPairsPerGroup = 2 * N;
// A pivot below this share of its original diagonal means the stiffness was lost to round-off:
// the system is singular for practical purposes.
constexpr double SingularPivotRatio = 1e-13;

const double ZeroBlock[UFemBlockValueCount] = {};

} // namespace

double* UFemWFMatrixCalculationThreadTaskContext::takeUBlock(
    UFemMatrixCalculation_U_MatrixRecord& record)
{
    double* block = record.current_U_MatrixBlockPtr;
    record.current_U_MatrixBlockPtr += UFemBlockValueCount;
    return block;
}

// Copies the pages of L row `row` in columns [first column after the table's last, endColumn)
// into the thread's L page table from `firstSlot`; the caller holds the row's lock.
quint64 UFemWFMatrixCalculationThreadTaskContext::takeRowPages(
    quint64 row, quint64 endColumn, quint64 firstSlot, ThreadWork& work)
{
    const _USparseMatrixRowMatrix& record = calculationContext.L_Matrix.rowMatrixTable[row];
    const quint64 startColumn
        = firstSlot == 0 ? 0 : work.L_MatrixPageColumnTable[firstSlot - 1] + 1;
    const auto& columns = record.columnIndexSet;
    quint64 slot = firstSlot;
    for (auto it = std::lower_bound(columns.begin(), columns.end(), startColumn);
         it != columns.end() && *it < endColumn; ++it, ++slot) {
        work.L_MatrixPageColumnTable[slot] = *it;
        work.L_MatrixPagePtrTable[slot] = record.columnPageTable[quint64(it - columns.begin())];
    }
    return slot;
}

void UFemWFMatrixCalculationThreadTaskContext::accumulatePivotPages(
    quint64 k, quint64 firstSlot, quint64 endSlot, ThreadWork& work)
{
    UFemMatrixCalculation_U_MatrixRecord& record = uRecord(k);
    const double* D = calculationContext.D_MatrixTable.data();
    auto U = [&](quint64 s) { return &record.U_MatrixPageTable[UFemWFPageBlockCount * s]; };
    for (quint64 first = firstSlot; first < endSlot; first += UFemWFPagesPerProductRun) {
        const quint64 end = std::min(endSlot, first + UFemWFPagesPerProductRun);
        for (quint64 s = first; s < end; ++s) {
            double** L = work.L_MatrixPagePtrTable[s];
            const quint64 j = work.L_MatrixPageColumnTable[s];
            for (quint64 block = 0; block < UFemWFPageBlockCount; ++block) {
                if (!L[block])
                    continue;
                U(s)[block] = takeUBlock(record);
                UFemBlockScaleRowsByDiagonal(U(s)[block], L[block],
                    D + UFemWFDPairsPerPage * j + DPairsPerGroup * (block % G));
            }
        }
        for (quint64 a = 0; a < G; ++a) {
            for (quint64 b = 0; b <= a; ++b) {
                for (quint64 s = first; s < end; ++s)
                    for (quint64 m = 0; m < G; ++m)
                        work.gatherProduct(
                            work.L_MatrixPagePtrTable[s][G * a + m], U(s)[G * b + m]);
                work.addProductRun(G * a + b);
            }
        }
    }
}

// Column j of an off-diagonal L block: (K - S) times 1/D of DOF j of group b of page k, after the
// contribution of the block's earlier columns through the diagonal block (U_bb).
void UFemWFMatrixCalculationThreadTaskContext::solveOffDiagonalBlock(
    quint64 k, quint64 b, const double* K, double* L, const double* Ubb, double* S)
{
    const double* D
        = calculationContext.D_MatrixTable.data() + UFemWFDPairsPerPage * k + DPairsPerGroup * b;
    for (quint64 j = 0; j < N; ++j) {
        if (j > 0 && Ubb)
            UFemBlockRowMultiplyAddForL(S, L, Ubb, j);
        const double inverse = D[2 * j + 1];
        for (quint64 r = 0; r < N; ++r)
            L[N * j + r] = (K[N * j + r] - S[N * j + r]) * inverse;
    }
}

void UFemWFMatrixCalculationThreadTaskContext::factoriseDiagonalBlock(
    quint64 k, quint64 a, const double* K, double* L, double* U, double* S)
{
    double* D
        = calculationContext.D_MatrixTable.data() + UFemWFDPairsPerPage * k + DPairsPerGroup * a;
    for (quint64 j = 0; j < N; ++j) {
        const double d = K[(N + 1) * j];
        if (d == 0.0) {
            // A DOF without stiffness (restrained or padding) drops out: D = 1/D = 0, X = 0.
            D[2 * j] = D[2 * j + 1] = 0.0;
            continue;
        }
        if (j > 0)
            UFemBlockRowMultiplyAddForL(S, L, U, j);
        const double pivot = d - S[(N + 1) * j];
        const bool isPositive
            = std::isfinite(pivot) && pivot > 0.0 && pivot >= SingularPivotRatio * d;
        const double inverse = isPositive ? 1.0 / pivot : 0.0;
        // A denormal pivot passes the other tests but has no finite inverse.
        if (!isPositive || !std::isfinite(inverse)) {
            failSolutionOnPivot(UFemWFPageDOFCount * k + N * a + j);
            throw SolutionAborted();
        }
        D[2 * j] = pivot;
        D[2 * j + 1] = inverse;
        for (quint64 l = j + 1; l < N; ++l) {
            U[N * j + l] = K[N * j + l] - S[N * j + l];
            L[N * j + l] = U[N * j + l] * inverse;
        }
    }
}

void UFemWFMatrixCalculationThreadTaskContext::calculatePivotPage(quint64 k, ThreadWork& work)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    auto& e = L_RowMatrixValidEndColumnIndexTable;
    work.clearSums(UFemWFPageBlockCount);
    UFemMatrixCalculation_U_MatrixRecord& record = uRecord(k);
    {
        Lock lock = lockPolling(record.lockCondition.mutex);
        waitUntil(record.lockCondition, lock, [&] { return record.readThreadCount == 0; });
        record.rowPageIndex = k;
        record.readThreadCount = std::exchange(record.nextReadThreadCount, 0);
        record.isValid = false;
        record.lockCondition.broadcast();
    }
    const quint64 width = k + 1 - stiffnessMatrixRowMatrixFirstColumnIndexTable[k];
    std::fill_n(record.U_MatrixPageTable.begin(), width * UFemWFPageBlockCount, nullptr);
    record.current_U_MatrixBlockPtr = record.U_MatrixBlockMemory.data();

    Condition& row = rowCondition(k);
    quint64 validEnd = 0;
    quint64 count = 0;
    {
        Lock lock = lockPolling(row.mutex);
        validEnd = e[k];
        count = takeRowPages(k, validEnd, 0, work);
    }
    accumulatePivotPages(k, 0, count, work);
    if (validEnd < k) {
        const quint64 first = count;
        {
            Lock lock = lockPolling(row.mutex);
            pollThenWaitUntil(row, lock, [&] { return e[k] >= k; });
            count = takeRowPages(k, k, first, work);
        }
        accumulatePivotPages(k, first, count, work);
    }

    double** K = USparseMatrixPageAt(&c.stiffnessMatrix, k, k);
    _USparseMatrixRowMatrix* rowRecord = nullptr;
    double** L = nullptr;
    {
        Lock lock = lockPolling(row.mutex);
        L = USparseMatrixRowPageCreate(&rowRecord, &c.L_Matrix, k, k);
    }
    work.L_MatrixPagePtrTable[count] = L;
    work.L_MatrixPageColumnTable[count] = k;
    work.pivotPageCount = count + 1;
    double** U = &record.U_MatrixPageTable[UFemWFPageBlockCount * count];
    for (quint64 a = 0; a < G; ++a) {
        for (quint64 b = 0; b <= a; ++b) {
            const quint64 block = G * a + b;
            for (quint64 m = 0; m < b; ++m)
                work.gatherProduct(L[G * a + m], U[G * b + m]);
            work.addProductRun(block);
            double* S = work.sum(block);
            const double* KBlock = K ? K[block] : nullptr;
            if (!work.validness[block] && !KBlock)
                continue;
            double* LBlock = USparseMatrixNewPageZeroed(&c.L_Matrix, rowRecord, L, block);
            U[block] = takeUBlock(record);
            if (b < a) {
                solveOffDiagonalBlock(k, b, KBlock ? KBlock : ZeroBlock, LBlock, U[G * b + b], S);
                UFemBlockScaleRowsByDiagonal(U[block], LBlock,
                    c.D_MatrixTable.data() + UFemWFDPairsPerPage * k + DPairsPerGroup * b);
                work.pendingComputingCount += TriangularBlockCount;
            } else {
                factoriseDiagonalBlock(k, a, KBlock ? KBlock : ZeroBlock, LBlock, U[block], S);
                work.pendingComputingCount += DiagonalBlockCount;
            }
        }
    }
}

void UFemWFMatrixCalculationThreadTaskContext::calculateLPage(
    quint64 i, quint64 k, ThreadWork& work)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    auto& e = L_RowMatrixValidEndColumnIndexTable;
    work.clearSums(UFemWFPageBlockCount);
    // Every L job of column k starts here at once: row k's lock is taken only to sleep.
    awaitPivot(k);
    const USparseMatrixIndexSet* rowKColumns = &c.L_Matrix.rowMatrixTable[k].columnIndexSet;
    const UFemMatrixCalculation_U_MatrixRecord& record = uRecord(k);
    Condition& rowI = rowCondition(i);
    double*** pages = work.L_MatrixPagePtrTable.data();
    quint64 validEnd = 0;
    quint64 count = 0;
    {
        Lock lock = lockPolling(rowI.mutex);
        validEnd = std::min(k, e[i].load(std::memory_order_relaxed));
        count = USparseMatrixGetRowPagesForIndexRange(
            pages, &c.L_Matrix, i, *rowKColumns, 0, validEnd);
    }
    auto accumulate = [&](quint64 firstSlot, quint64 endSlot) {
        auto U = [&](quint64 s) { return &record.U_MatrixPageTable[UFemWFPageBlockCount * s]; };
        for (quint64 first = firstSlot; first < endSlot; first += UFemWFPagesPerProductRun) {
            const quint64 end = std::min(endSlot, first + UFemWFPagesPerProductRun);
            for (quint64 block = 0; block < UFemWFPageBlockCount; ++block) {
                const quint64 a = block / G;
                const quint64 b = block % G;
                for (quint64 s = first; s < end; ++s) {
                    if (!pages[s])
                        continue;
                    for (quint64 m = 0; m < G; ++m)
                        work.gatherProduct(pages[s][G * a + m], U(s)[G * b + m]);
                }
                work.addProductRun(block);
            }
        }
    };
    accumulate(0, count);
    if (validEnd < k) {
        const quint64 first = count;
        {
            Lock lock = lockPolling(rowI.mutex);
            pollThenWaitUntil(rowI, lock, [&] { return e[i] >= k; });
            count = first
                + USparseMatrixGetRowPagesForIndexRange(
                    pages + first, &c.L_Matrix, i, *rowKColumns, validEnd, k - validEnd);
        }
        accumulate(first, count);
    }

    double** K = USparseMatrixPageAt(&c.stiffnessMatrix, i, k);
    if (!K && !work.anyValid(UFemWFPageBlockCount))
        return;
    double* const* Ukk
        = &record.U_MatrixPageTable[UFemWFPageBlockCount * (rowKColumns->size() - 1)];
    _USparseMatrixRowMatrix* rowRecord = nullptr;
    double** L = nullptr;
    for (quint64 block = 0; block < UFemWFPageBlockCount; ++block) {
        const quint64 a = block / G;
        const quint64 b = block % G;
        for (quint64 m = 0; L && m < b; ++m)
            work.gatherProduct(L[G * a + m], Ukk[G * b + m]);
        work.addProductRun(block);
        double* S = work.sum(block);
        const double* KBlock = K ? K[block] : nullptr;
        if (!work.validness[block] && !KBlock)
            continue;
        if (!L) {
            Lock lock = lockPolling(rowI.mutex);
            L = USparseMatrixRowPageCreate(&rowRecord, &c.L_Matrix, i, k);
        }
        double* LBlock = USparseMatrixNewPageZeroed(&c.L_Matrix, rowRecord, L, block);
        solveOffDiagonalBlock(k, b, KBlock ? KBlock : ZeroBlock, LBlock, Ukk[G * b + b], S);
        work.pendingComputingCount += TriangularBlockCount;
    }
}

void UFemWFMatrixCalculationThreadTaskContext::accumulateYPages(
    quint64 firstSlot, quint64 endSlot, ThreadWork& work)
{
    const quint64 cb = calculationContext.caseBlockCount;
    for (quint64 first = firstSlot; first < endSlot; first += UFemWFPagesPerProductRun) {
        const quint64 end = std::min(endSlot, first + UFemWFPagesPerProductRun);
        for (quint64 caseBlock = 0; caseBlock < cb; ++caseBlock) {
            for (quint64 a = 0; a < G; ++a) {
                for (quint64 s = first; s < end; ++s) {
                    double** Y = work.YX_MatrixPagePtrTable[s];
                    double** L = work.L_MatrixPagePtrTable[s];
                    if (!Y)
                        continue;
                    for (quint64 m = 0; m < G; ++m)
                        work.gatherProduct(Y[G * caseBlock + m], L[G * a + m]);
                }
                work.addProductRun(G * caseBlock + a);
            }
        }
    }
}

void UFemWFMatrixCalculationThreadTaskContext::calculateYPage(quint64 k, ThreadWork& work)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    const quint64 cb = c.caseBlockCount;
    work.clearSums(G * cb);
    const quint64 leftCount = work.pivotPageCount - 1; // the pages of L row k left of the diagonal
    auto takeYPages = [&](quint64 firstSlot, quint64 endColumn) {
        quint64 s = firstSlot;
        for (; s < leftCount && work.L_MatrixPageColumnTable[s] < endColumn; ++s)
            work.YX_MatrixPagePtrTable[s]
                = USparseMatrixPageAt(&c.Y_Matrix, 0, work.L_MatrixPageColumnTable[s]);
        return s;
    };
    quint64 validEnd = 0;
    quint64 count = 0;
    {
        Lock lock = lockPolling(Y_X_MatrixMutex);
        validEnd = Y_MatrixValidEndRowIndex.load(std::memory_order_relaxed);
        count = takeYPages(0, std::min(validEnd, k));
    }
    accumulateYPages(0, count, work);
    if (validEnd < k) {
        const quint64 first = count;
        {
            Lock lock = lockPolling(Y_X_MatrixMutex);
            waitForYPages(lock, k);
            count = takeYPages(first, k);
        }
        accumulateYPages(first, count, work);
    }

    double** F = USparseMatrixPageAt(&c.forceMatrix, 0, k);
    if (!F && !work.anyValid(G * cb))
        return;
    double** L = work.L_MatrixPagePtrTable[leftCount];
    _USparseMatrixRowMatrix* rowRecord = nullptr;
    double** Y = nullptr;
    for (quint64 caseBlock = 0; caseBlock < cb; ++caseBlock) {
        for (quint64 a = 0; a < G; ++a) {
            const quint64 block = G * caseBlock + a;
            for (quint64 m = 0; Y && m < a; ++m)
                work.gatherProduct(Y[G * caseBlock + m], L[G * a + m]);
            work.addProductRun(block);
            double* S = work.sum(block);
            const double* FBlock = F ? F[block] : nullptr;
            if (!work.validness[block] && !FBlock)
                continue;
            double* YBlock = nullptr;
            {
                Lock lock = lockPolling(Y_X_MatrixMutex);
                if (!Y)
                    Y = USparseMatrixRowPageCreate(&rowRecord, &c.Y_Matrix, 0, k);
                YBlock = USparseMatrixNewPageZeroed(&c.Y_Matrix, rowRecord, Y, block);
            }
            const double* f = FBlock ? FBlock : ZeroBlock;
            const double* Laa = L[G * a + a];
            for (quint64 j = 0; j < N; ++j) {
                if (j > 0 && Laa)
                    UFemBlockRowMultiplyAddForY(S, YBlock, Laa, j);
                for (quint64 q = 0; q < N; ++q)
                    YBlock[N * j + q] = f[N * j + q] - S[N * j + q];
            }
            work.pendingComputingCount += TriangularBlockCount;
        }
    }
}

void UFemWFMatrixCalculationThreadTaskContext::calculateXPage(quint64 k, ThreadWork& work)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    const quint64 cb = c.caseBlockCount;
    const auto& fc = stiffnessMatrixRowMatrixFirstColumnIndexTable;
    work.clearSums(G * cb);
    // Rows below page k with an L page in column k; the factor is complete and read without locks.
    quint64 count = 0;
    for (quint64 j = k + 1; j <= stiffnessMatrixColumnMatrixLastRowIndexTable[k]; ++j) {
        if (fc[j] > k)
            continue;
        if (double** page = USparseMatrixPageAt(&c.L_Matrix, j, k)) {
            work.L_MatrixPagePtrTable[count] = page;
            work.L_MatrixPageColumnTable[count++] = j;
        }
    }
    double* X = c.X_MatrixTable.data();
    for (quint64 s = count; s-- > 0;) {
        const quint64 j = work.L_MatrixPageColumnTable[s];
        waitForXPage(j);
        double** L = work.L_MatrixPagePtrTable[s];
        for (quint64 caseBlock = 0; caseBlock < cb; ++caseBlock) {
            const double* Xj = X + (j * cb + caseBlock) * UFemWFXAreaDoubles;
            for (quint64 a = 0; a < G; ++a) {
                for (quint64 m = 0; m < G; ++m) {
                    if (!L[G * m + a])
                        continue;
                    UFemBlockMultiplyAddForX(
                        work.sum(G * caseBlock + a), Xj + UFemBlockValueCount * m, L[G * m + a]);
                    work.pendingComputingCount += ThreadWork::ProductComputingCount;
                }
            }
        }
    }

    double** Y = USparseMatrixPageAt(&c.Y_Matrix, 0, k);
    double** L = USparseMatrixPageAt(&c.L_Matrix, k, k);
    const double* D = c.D_MatrixTable.data() + UFemWFDPairsPerPage * k;
    for (quint64 caseBlock = 0; caseBlock < cb; ++caseBlock) {
        double* Xk = X + (k * cb + caseBlock) * UFemWFXAreaDoubles;
        for (quint64 a = G; a-- > 0;) {
            double* S = work.sum(G * caseBlock + a);
            for (quint64 m = a + 1; m < G; ++m) {
                if (!L[G * m + a])
                    continue;
                UFemBlockMultiplyAddForX(S, Xk + UFemBlockValueCount * m, L[G * m + a]);
                work.pendingComputingCount += ThreadWork::ProductComputingCount;
            }
            const double* Laa = L[G * a + a];
            if (!Laa)
                continue;
            double* XBlock = Xk + UFemBlockValueCount * a;
            const double* YBlock = Y ? Y[G * caseBlock + a] : nullptr;
            const double* Da = D + DPairsPerGroup * a;
            for (quint64 j = N; j-- > 0;) {
                if (j + 1 < N)
                    UFemBlockRowMultiplyAddForX(S, XBlock, Laa, j);
                const double inverse = Da[2 * j + 1];
                for (quint64 q = 0; q < N; ++q)
                    XBlock[N * j + q]
                        = YBlock ? inverse * YBlock[N * j + q] - S[N * j + q] : -S[N * j + q];
            }
            work.pendingComputingCount += TriangularBlockCount;
        }
    }
    // The index only ever falls one page at a time.
    waitForXPage(k + 1);
}
