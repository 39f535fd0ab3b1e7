#pragma once

#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <algorithm>

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
    quint64 pendingProgress = 0;
    quint64 pendingComputingCount = 0;
    quint64 pendingLMemory = 0;
};
