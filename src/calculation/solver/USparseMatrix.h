#pragma once

#include "foundation/containers/UChildMemoryAllocator.h"
#include "foundation/containers/UMemoryAllocator.h"

#include <QtGlobal>

#include <utility>
#include <vector>

// A block-sparse matrix: a grid of pages, each page a table of `matrixPageLength` pointers to dense
// blocks of `matrixBlockLength` doubles. A missing page or a null block pointer means zeros. Pages
// and blocks come from one child arena per row, so threads filling different rows share no lock;
// nothing is freed singly, everything goes with the arenas.
//
// Rule for users: one thread at a time creates pages in a given row; a thread that reads a row's
// column set while another may create a page in it holds the same lock as the creator.

using USparseMatrixIndexSet = std::vector<quint64>; // ascending column indexes

struct _USparseMatrixRowMatrix {
    quint64 rowIndex = 0;
    USparseMatrixIndexSet columnIndexSet;
    // The page of columnIndexSet[i] at position i: a column-to-page dictionary kept sorted.
    std::vector<double**> columnPageTable;
    _UCChildMemoryAllocator childMemoryAllocator {};
};

inline constexpr quint64 USparseMatrixSingleRootArena = ~quint64(0);

// Owns its tables and arenas: its destructor releases them, and it moves but never copies (a copy
// would share them). USparseMatrixCopy makes a deep copy; Init and Copy refuse a matrix that holds
// storage, which USparseMatrixDestroy releases first.
struct _USparseMatrix {
    _USparseMatrix() = default;
    ~_USparseMatrix();
    _USparseMatrix(_USparseMatrix&& other) noexcept;
    _USparseMatrix& operator=(_USparseMatrix&& other) noexcept;
    _USparseMatrix(const _USparseMatrix&) = delete;
    _USparseMatrix& operator=(const _USparseMatrix&) = delete;

    quint64 maxRowIndex = 0;
    quint64 maxColumnIndex = 0;
    _USparseMatrixRowMatrix* rowMatrixTable = nullptr;
    quint64 matrixBlockLength = 0;
    quint64 matrixPageLength = 0;
    quint64 rootMemoryAllocatorRowGroupSizeShift = USparseMatrixSingleRootArena;
    _UCMemoryAllocator rootMemoryAllocator {};
    _UCMemoryAllocator* rootMemoryAllocatorTable = nullptr;
    quint64 rootMemoryAllocatorCount = 0;
    quint64 rowChildMemoryStorageCapacity = 0;
};

// Lifetime
void USparseMatrixInit(_USparseMatrix* matrix, quint64 rowCount, quint64 columnCount,
    quint64 blockLength, quint64 pageLength, quint64 rowGroupSizeShift, double memoryFactor);
void USparseMatrixCopy(_USparseMatrix* destination, const _USparseMatrix* source);
void USparseMatrixDestroy(_USparseMatrix* matrix);
void USparseMatrixRowInit(_USparseMatrixRowMatrix* row, quint64 index,
    _UCMemoryAllocator* rootArena, quint64 chunkCapacity);
void USparseMatrixRowClear(_USparseMatrixRowMatrix* row);
// The advice the root arenas map their later large storages with (a copy takes its source's).
void USparseMatrixSetPageAdvice(_USparseMatrix* matrix, UMemoryHugePageAdvice advice);
// The chunk size a row's child arena takes from its root arena.
quint64 USparseMatrixRowChunkCapacity(quint64 blockLength, quint64 pageLength, double memoryFactor);
// For rows whose pages are bounded in advance, before any page is made: each row takes room for
// `pageCounts[row]` full pages at its first page, and each root arena one storage for all its rows.
// Nothing is then taken beyond those pages: chunks taken ahead would be resident in huge pages.
void USparseMatrixReserveRowPages(_USparseMatrix* matrix, const std::vector<quint64>& pageCounts);
// Takes each root arena's first storage now rather than at its first page, so that the storages
// can be made resident before the pages are written.
void USparseMatrixTakeReservedStorages(_USparseMatrix* matrix);

// Lookup (no allocation)
double** USparseMatrixPageAt(const _USparseMatrix* matrix, quint64 row, quint64 column);
double* USparseMatrixBlockAt(
    const _USparseMatrix* matrix, quint64 row, quint64 column, quint64 blockIndex);
const USparseMatrixIndexSet& USparseMatrixRowColumnIndexSet(
    const _USparseMatrix* matrix, quint64 row);
quint64 USparseMatrixRowColumnCount(const _USparseMatrix* matrix, quint64 row);
bool USparseMatrixRowIntersectsIndexSet(
    const _USparseMatrix* matrix, quint64 row, const USparseMatrixIndexSet& indexSet);
quint64 USparseMatrixGetRowPagesForIndexSet(double*** outTable, const _USparseMatrix* matrix,
    quint64 row, const USparseMatrixIndexSet& indexSet);
quint64 USparseMatrixGetRowPagesForIndexRange(double*** outTable, const _USparseMatrix* matrix,
    quint64 row, const USparseMatrixIndexSet& indexSet, quint64 location, quint64 length);

// Creation (from the row's child arena; zero-filled)
double** USparseMatrixPageCreate(_USparseMatrix* matrix, quint64 row, quint64 column);
double** USparseMatrixRowPageCreate(
    _USparseMatrixRowMatrix** outRow, _USparseMatrix* matrix, quint64 row, quint64 column);
double* USparseMatrixBlockCreate(
    _USparseMatrix* matrix, quint64 row, quint64 column, quint64 blockIndex);
double* USparseMatrixNewPageZeroed(
    const _USparseMatrix* matrix, _USparseMatrixRowMatrix* rowRecord, double** page, quint64 slot);
double* USparseMatrixNewPageCopy(const _USparseMatrix* matrix, _USparseMatrixRowMatrix* rowRecord,
    double** page, quint64 slot, const double* sourceBlock);

// Accounting
quint64 USparseMatrixCountPagesAndBlocks(
    quint64* outPages, const _USparseMatrix* matrix, quint64 firstRow, quint64 rowCount);
quint64 USparseMatrixCountAllPagesAndBlocks(quint64* outPages, const _USparseMatrix* matrix);
quint64 USparseMatrixRowCountBlocks(quint64* outPages, const _USparseMatrix* matrix, quint64 row);
quint64 USparseMatrixValueMemorySize(
    const _USparseMatrix* matrix, quint64 firstRow, quint64 rowCount);
quint64 USparseMatrixTotalMemoryCapacity(_USparseMatrix* matrix);
// The storages of the matrix's root arenas: page-aligned runs of whole pages.
std::vector<_UCMemoryStorage> USparseMatrixStorages(const _USparseMatrix* matrix);
// Releases the storage of the row groups lying wholly inside the rows; answers (first group,
// count).
std::pair<quint64, quint64> USparseMatrixFreeRowGroupMemory(
    _USparseMatrix* matrix, quint64 firstRow, quint64 rowCount);
