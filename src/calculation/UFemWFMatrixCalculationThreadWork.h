#pragma once

#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <algorithm>
#include <array>

// Pages of a row whose products a page job forms sum block by sum block: their L and U (or Y)
// blocks stay in the core's L2 cache while each of the 16 sums takes its run of pairs.
inline constexpr quint64 UFemWFPagesPerProductRun = 8;

// Working memory of one thread of a solution run: page tables, sum blocks and their flags, and the
// progress, computing count and L memory not yet added to the totals.
struct UFemWFMatrixCalculationThreadTaskContext::ThreadWork {
    explicit ThreadWork(const _UFemWFMatrixCalculationContext& context)
        : L_MatrixPagePtrTable(context.maxPageBandWidth, nullptr)
        , L_MatrixPageColumnTable(context.maxPageBandWidth, 0)
        , YX_MatrixPagePtrTable(context.maxPageBandWidth, nullptr)
        , sumBlockCount(
              std::max<quint64>(UFemWFGroupsPerPage * context.caseBlockCount, UFemWFPageBlockCount))
        , validness(sumBlockCount, 0)
        , sums(sumBlockCount * UFemBlockValueCount, 0.0)
    {
    }

    double* sum(quint64 index) { return sums.data() + UFemBlockValueCount * index; }
    void clearSums(quint64 count)
    {
        std::fill_n(validness.begin(), count, 0);
        std::fill_n(sums.begin(), count * UFemBlockValueCount, 0.0);
    }
    // Adds the gathered run of transposed products (of L by U, or of Y by L) to sum `index` and
    // clears the run.
    void addProductRun(quint64 index)
    {
        if (runCount == 0)
            return;
        UFemBlockMultiplyTransposedAddRunForL(sum(index), run.data(), runCount);
        validness[index] = 1;
        pendingComputingCount += ProductComputingCount * runCount;
        runCount = 0;
    }
    // Gathers one product of the run when both blocks exist.
    void gatherProduct(const double* B, const double* A)
    {
        if (B && A)
            run[runCount++] = { B, A };
    }
    bool anyValid(quint64 count) const
    {
        return std::any_of(
            validness.begin(), validness.begin() + count, [](unsigned char v) { return v != 0; });
    }

    std::vector<double**> L_MatrixPagePtrTable;
    std::vector<quint64> L_MatrixPageColumnTable;
    quint64 pivotPageCount = 0; // pages the last pivot job put in the L page table
    std::vector<double**> YX_MatrixPagePtrTable;
    quint64 sumBlockCount;
    std::vector<unsigned char> validness;
    std::vector<double> sums;
    // Computing count of one 12x12 product.
    static constexpr quint64 ProductComputingCount = 4;
    std::array<UFemBlockPair, UFemWFPagesPerProductRun * UFemWFGroupsPerPage> run {};
    quint64 runCount = 0;
    quint64 pendingProgress = 0;
    quint64 pendingComputingCount = 0;
    quint64 pendingLMemory = 0;
};
