#include "calculation/solver/USparseMatrix.h"

#include "foundation/errors/UException.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr quint64 StoragePage = 4096;
constexpr quint64 SingleRootExtraBytes = 1024 * 1024;
constexpr quint64 RowGroupExtraBytes = 256 * 1024;

quint64 roundUp(quint64 value, quint64 multiple)
{
    return (value + multiple - 1) / multiple * multiple;
}

_UCMemoryAllocator* rootArenaOfRow(_USparseMatrix* matrix, quint64 row)
{
    if (matrix->rootMemoryAllocatorRowGroupSizeShift == USparseMatrixSingleRootArena)
        return &matrix->rootMemoryAllocator;
    return &matrix->rootMemoryAllocatorTable[row >> matrix->rootMemoryAllocatorRowGroupSizeShift];
}

// Position of `column` in the row's set, or the set's size when absent.
quint64 findColumn(const _USparseMatrixRowMatrix& row, quint64 column)
{
    const auto& set = row.columnIndexSet;
    const auto it = std::lower_bound(set.begin(), set.end(), column);
    if (it == set.end() || *it != column)
        return set.size();
    return quint64(it - set.begin());
}

void* allocZeroed(_USparseMatrixRowMatrix* row, quint64 bytes)
{
    void* memory = UCChildMemoryAllocatorAlloc(&row->childMemoryAllocator, bytes);
    std::memset(memory, 0, bytes);
    return memory;
}

} // namespace

quint64 USparseMatrixRowChunkCapacity(quint64 blockLength, quint64 pageLength, double memoryFactor)
{
    const auto v
        = quint64(std::floor(memoryFactor * 0.25 * double((blockLength + 1) * pageLength * 8)));
    if (v + 1 < 2048)
        return (v + 1024) / 1024 * 1024;
    return (v + 4096) / 4096 * 4096;
}

void USparseMatrixRowInit(_USparseMatrixRowMatrix* row, quint64 index,
    _UCMemoryAllocator* rootArena, quint64 chunkCapacity)
{
    row->rowIndex = index;
    row->columnIndexSet.clear();
    row->columnPageTable.clear();
    UCChildMemoryAllocatorInit(&row->childMemoryAllocator, rootArena, chunkCapacity);
}

void USparseMatrixRowClear(_USparseMatrixRowMatrix* row)
{
    USparseMatrixIndexSet().swap(row->columnIndexSet);
    std::vector<double**>().swap(row->columnPageTable);
    UCChildMemoryAllocatorClear(&row->childMemoryAllocator);
}

namespace {

bool holdsStorage(const _USparseMatrix* matrix)
{
    return matrix->rowMatrixTable || matrix->rootMemoryAllocatorTable
        || matrix->rootMemoryAllocator.memoryStorageArray.table;
}

void requireEmpty(const _USparseMatrix* matrix)
{
    if (holdsStorage(matrix))
        UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
}

void resetFields(_USparseMatrix* matrix)
{
    matrix->maxRowIndex = matrix->maxColumnIndex = 0;
    matrix->rowMatrixTable = nullptr;
    matrix->matrixBlockLength = matrix->matrixPageLength = 0;
    matrix->rootMemoryAllocatorRowGroupSizeShift = USparseMatrixSingleRootArena;
    matrix->rootMemoryAllocator = _UCMemoryAllocator {};
    matrix->rootMemoryAllocatorTable = nullptr;
    matrix->rootMemoryAllocatorCount = 0;
    matrix->rowChildMemoryStorageCapacity = 0;
}

// Leaves `from` as a default-constructed record.
void takeFields(_USparseMatrix* to, _USparseMatrix* from)
{
    to->maxRowIndex = from->maxRowIndex;
    to->maxColumnIndex = from->maxColumnIndex;
    to->rowMatrixTable = from->rowMatrixTable;
    to->matrixBlockLength = from->matrixBlockLength;
    to->matrixPageLength = from->matrixPageLength;
    to->rootMemoryAllocatorRowGroupSizeShift = from->rootMemoryAllocatorRowGroupSizeShift;
    to->rootMemoryAllocator = std::move(from->rootMemoryAllocator);
    to->rootMemoryAllocatorTable = from->rootMemoryAllocatorTable;
    to->rootMemoryAllocatorCount = from->rootMemoryAllocatorCount;
    to->rowChildMemoryStorageCapacity = from->rowChildMemoryStorageCapacity;
    resetFields(from);
    // The rows' child arenas point at the single root, which has moved with the record.
    if (to->rootMemoryAllocatorRowGroupSizeShift == USparseMatrixSingleRootArena
        && to->rowMatrixTable)
        for (quint64 r = 0; r < to->maxRowIndex; ++r)
            to->rowMatrixTable[r].childMemoryAllocator.rootMemoryAllocatorPtr
                = &to->rootMemoryAllocator;
}

void initWithChunkCapacity(_USparseMatrix* matrix, quint64 rowCount, quint64 columnCount,
    quint64 blockLength, quint64 pageLength, quint64 rowGroupSizeShift, quint64 chunk)
{
    requireEmpty(matrix);
    matrix->maxRowIndex = rowCount;
    matrix->maxColumnIndex = columnCount;
    matrix->matrixBlockLength = blockLength;
    matrix->matrixPageLength = pageLength;
    matrix->rootMemoryAllocatorRowGroupSizeShift = rowGroupSizeShift;
    matrix->rowChildMemoryStorageCapacity = chunk;
    if (rowGroupSizeShift == USparseMatrixSingleRootArena) {
        UCMemoryAllocatorInit(&matrix->rootMemoryAllocator,
            roundUp(chunk * rowCount / 2 + SingleRootExtraBytes, StoragePage), true);
    } else {
        const quint64 groupRows = quint64(1) << rowGroupSizeShift;
        matrix->rootMemoryAllocatorCount = (rowCount + groupRows - 1) / groupRows;
        matrix->rootMemoryAllocatorTable
            = new _UCMemoryAllocator[matrix->rootMemoryAllocatorCount]();
        for (quint64 g = 0; g < matrix->rootMemoryAllocatorCount; ++g)
            UCMemoryAllocatorInit(&matrix->rootMemoryAllocatorTable[g],
                roundUp(chunk * groupRows / 2 + RowGroupExtraBytes, StoragePage), true);
    }
    matrix->rowMatrixTable = new _USparseMatrixRowMatrix[rowCount];
    for (quint64 r = 0; r < rowCount; ++r)
        USparseMatrixRowInit(&matrix->rowMatrixTable[r], r, rootArenaOfRow(matrix, r), chunk);
}

} // namespace

void USparseMatrixInit(_USparseMatrix* matrix, quint64 rowCount, quint64 columnCount,
    quint64 blockLength, quint64 pageLength, quint64 rowGroupSizeShift, double memoryFactor)
{
    initWithChunkCapacity(matrix, rowCount, columnCount, blockLength, pageLength, rowGroupSizeShift,
        USparseMatrixRowChunkCapacity(blockLength, pageLength, memoryFactor));
}

void USparseMatrixSetPageAdvice(_USparseMatrix* matrix, UMemoryHugePageAdvice advice)
{
    UCMemoryAllocatorSetPageAdvice(&matrix->rootMemoryAllocator, advice);
    for (quint64 g = 0; g < matrix->rootMemoryAllocatorCount; ++g)
        UCMemoryAllocatorSetPageAdvice(&matrix->rootMemoryAllocatorTable[g], advice);
}

void USparseMatrixReserveRowPages(_USparseMatrix* matrix, const std::vector<quint64>& pageCounts)
{
    const auto aligned = [](quint64 bytes) { return roundUp(bytes, UMemoryAllocatorAlignment); };
    const quint64 pageBytes = aligned(matrix->matrixPageLength * sizeof(double*))
        + matrix->matrixPageLength * aligned(matrix->matrixBlockLength * sizeof(double));
    const bool singleRoot
        = matrix->rootMemoryAllocatorRowGroupSizeShift == USparseMatrixSingleRootArena;
    std::vector<quint64> rootBytes(singleRoot ? 1 : matrix->rootMemoryAllocatorCount, 0);
    for (quint64 r = 0; r < matrix->maxRowIndex; ++r) {
        const quint64 rowBytes = pageCounts[r] * pageBytes;
        matrix->rowMatrixTable[r].childMemoryAllocator.memoryStorageCapacity = rowBytes;
        rootBytes[singleRoot ? 0 : r >> matrix->rootMemoryAllocatorRowGroupSizeShift] += rowBytes;
    }
    for (quint64 g = 0; g < rootBytes.size(); ++g) {
        _UCMemoryAllocator& root
            = singleRoot ? matrix->rootMemoryAllocator : matrix->rootMemoryAllocatorTable[g];
        root.memoryStorageCapacity = roundUp(std::max<quint64>(rootBytes[g], 1), StoragePage);
    }
}

void USparseMatrixTakeReservedStorages(_USparseMatrix* matrix)
{
    if (matrix->rootMemoryAllocatorRowGroupSizeShift == USparseMatrixSingleRootArena) {
        UCMemoryAllocatorTakeFirstStorage(&matrix->rootMemoryAllocator);
        return;
    }
    for (quint64 g = 0; g < matrix->rootMemoryAllocatorCount; ++g)
        UCMemoryAllocatorTakeFirstStorage(&matrix->rootMemoryAllocatorTable[g]);
}

void USparseMatrixDestroy(_USparseMatrix* matrix)
{
    if (matrix->rowMatrixTable) {
        for (quint64 r = 0; r < matrix->maxRowIndex; ++r)
            USparseMatrixRowClear(&matrix->rowMatrixTable[r]);
        delete[] matrix->rowMatrixTable;
    }
    if (matrix->rootMemoryAllocatorTable) {
        for (quint64 g = 0; g < matrix->rootMemoryAllocatorCount; ++g)
            UCMemoryAllocatorDestroy(&matrix->rootMemoryAllocatorTable[g]);
        delete[] matrix->rootMemoryAllocatorTable;
    }
    UCMemoryAllocatorDestroy(&matrix->rootMemoryAllocator);
    resetFields(matrix);
}

_USparseMatrix::~_USparseMatrix()
{
    USparseMatrixDestroy(this);
}

_USparseMatrix::_USparseMatrix(_USparseMatrix&& other) noexcept
{
    takeFields(this, &other);
}

_USparseMatrix& _USparseMatrix::operator=(_USparseMatrix&& other) noexcept
{
    if (this != &other) {
        USparseMatrixDestroy(this);
        takeFields(this, &other);
    }
    return *this;
}

void USparseMatrixCopy(_USparseMatrix* destination, const _USparseMatrix* source)
{
    requireEmpty(destination);
    if (source->maxRowIndex == 0)
        return;
    initWithChunkCapacity(destination, source->maxRowIndex, source->maxColumnIndex,
        source->matrixBlockLength, source->matrixPageLength,
        source->rootMemoryAllocatorRowGroupSizeShift, source->rowChildMemoryStorageCapacity);
    USparseMatrixSetPageAdvice(destination,
        source->rootMemoryAllocatorCount > 0 ? source->rootMemoryAllocatorTable[0].pageAdvice
                                             : source->rootMemoryAllocator.pageAdvice);
    for (quint64 r = 0; r < source->maxRowIndex; ++r) {
        _USparseMatrixRowMatrix* row = &destination->rowMatrixTable[r];
        const _USparseMatrixRowMatrix& sourceRow = source->rowMatrixTable[r];
        for (quint64 p = 0; p < sourceRow.columnIndexSet.size(); ++p) {
            double** page = USparseMatrixPageCreate(destination, r, sourceRow.columnIndexSet[p]);
            double* const* sourcePage = sourceRow.columnPageTable[p];
            for (quint64 slot = 0; slot < source->matrixPageLength; ++slot)
                if (sourcePage[slot])
                    USparseMatrixNewPageCopy(destination, row, page, slot, sourcePage[slot]);
        }
    }
}

double** USparseMatrixPageAt(const _USparseMatrix* matrix, quint64 row, quint64 column)
{
    const _USparseMatrixRowMatrix& record = matrix->rowMatrixTable[row];
    const quint64 position = findColumn(record, column);
    return position < record.columnPageTable.size() ? record.columnPageTable[position] : nullptr;
}

double* USparseMatrixBlockAt(
    const _USparseMatrix* matrix, quint64 row, quint64 column, quint64 blockIndex)
{
    double** page = USparseMatrixPageAt(matrix, row, column);
    return page ? page[blockIndex] : nullptr;
}

const USparseMatrixIndexSet& USparseMatrixRowColumnIndexSet(
    const _USparseMatrix* matrix, quint64 row)
{
    return matrix->rowMatrixTable[row].columnIndexSet;
}

quint64 USparseMatrixRowColumnCount(const _USparseMatrix* matrix, quint64 row)
{
    return matrix->rowMatrixTable[row].columnIndexSet.size();
}

bool USparseMatrixRowIntersectsIndexSet(
    const _USparseMatrix* matrix, quint64 row, const USparseMatrixIndexSet& indexSet)
{
    const USparseMatrixIndexSet& columns = matrix->rowMatrixTable[row].columnIndexSet;
    if (indexSet.empty() || columns.empty() || indexSet.back() < columns.front()
        || columns.back() < indexSet.front())
        return false;
    const bool walkColumns = columns.size() < indexSet.size();
    const USparseMatrixIndexSet& walked = walkColumns ? columns : indexSet;
    const USparseMatrixIndexSet& other = walkColumns ? indexSet : columns;
    return std::any_of(walked.begin(), walked.end(),
        [&](quint64 index) { return std::binary_search(other.begin(), other.end(), index); });
}

quint64 USparseMatrixGetRowPagesForIndexSet(double*** outTable, const _USparseMatrix* matrix,
    quint64 row, const USparseMatrixIndexSet& indexSet)
{
    return USparseMatrixGetRowPagesForIndexRange(outTable, matrix, row, indexSet, 0, ~quint64(0));
}

quint64 USparseMatrixGetRowPagesForIndexRange(double*** outTable, const _USparseMatrix* matrix,
    quint64 row, const USparseMatrixIndexSet& indexSet, quint64 location, quint64 length)
{
    const quint64 end = length > ~quint64(0) - location ? ~quint64(0) : location + length;
    const auto first = std::lower_bound(indexSet.begin(), indexSet.end(), location);
    const auto last = std::lower_bound(first, indexSet.end(), end);
    const _USparseMatrixRowMatrix& record = matrix->rowMatrixTable[row];
    const USparseMatrixIndexSet& columns = record.columnIndexSet;
    // Merge walk of two ascending sets.
    quint64 c = 0;
    quint64 n = 0;
    for (auto it = first; it != last; ++it, ++n) {
        while (c < columns.size() && columns[c] < *it)
            ++c;
        outTable[n]
            = (c < columns.size() && columns[c] == *it) ? record.columnPageTable[c] : nullptr;
    }
    return n;
}

double** USparseMatrixRowPageCreate(
    _USparseMatrixRowMatrix** outRow, _USparseMatrix* matrix, quint64 row, quint64 column)
{
    _USparseMatrixRowMatrix* record = &matrix->rowMatrixTable[row];
    if (outRow)
        *outRow = record;
    auto& set = record->columnIndexSet;
    const auto it = std::lower_bound(set.begin(), set.end(), column);
    const auto position = it - set.begin();
    if (it != set.end() && *it == column)
        return record->columnPageTable[position];
    auto** page
        = static_cast<double**>(allocZeroed(record, matrix->matrixPageLength * sizeof(double*)));
    // Room first, so that the second insertion cannot fail after the first; grown as a vector
    // grows, not by one.
    auto& pages = record->columnPageTable;
    if (pages.capacity() < set.size() + 1)
        pages.reserve(std::max<std::size_t>(2 * pages.capacity(), set.size() + 1));
    set.insert(it, column);
    record->columnPageTable.insert(record->columnPageTable.begin() + position, page);
    return page;
}

double** USparseMatrixPageCreate(_USparseMatrix* matrix, quint64 row, quint64 column)
{
    return USparseMatrixRowPageCreate(nullptr, matrix, row, column);
}

double* USparseMatrixBlockCreate(
    _USparseMatrix* matrix, quint64 row, quint64 column, quint64 blockIndex)
{
    _USparseMatrixRowMatrix* record = nullptr;
    double** page = USparseMatrixRowPageCreate(&record, matrix, row, column);
    if (!page[blockIndex])
        USparseMatrixNewPageZeroed(matrix, record, page, blockIndex);
    return page[blockIndex];
}

double* USparseMatrixNewPageZeroed(
    const _USparseMatrix* matrix, _USparseMatrixRowMatrix* rowRecord, double** page, quint64 slot)
{
    page[slot]
        = static_cast<double*>(allocZeroed(rowRecord, matrix->matrixBlockLength * sizeof(double)));
    return page[slot];
}

double* USparseMatrixNewPageCopy(const _USparseMatrix* matrix, _USparseMatrixRowMatrix* rowRecord,
    double** page, quint64 slot, const double* sourceBlock)
{
    const quint64 bytes = matrix->matrixBlockLength * sizeof(double);
    page[slot] = static_cast<double*>(
        UCChildMemoryAllocatorAlloc(&rowRecord->childMemoryAllocator, bytes));
    std::memcpy(page[slot], sourceBlock, bytes);
    return page[slot];
}

quint64 USparseMatrixCountPagesAndBlocks(
    quint64* outPages, const _USparseMatrix* matrix, quint64 firstRow, quint64 rowCount)
{
    quint64 pages = 0;
    quint64 blocks = 0;
    for (quint64 r = firstRow; r < firstRow + rowCount; ++r) {
        for (double** page : matrix->rowMatrixTable[r].columnPageTable) {
            ++pages;
            for (quint64 slot = 0; slot < matrix->matrixPageLength; ++slot)
                blocks += page[slot] != nullptr;
        }
    }
    if (outPages)
        *outPages = pages;
    return blocks;
}

quint64 USparseMatrixCountAllPagesAndBlocks(quint64* outPages, const _USparseMatrix* matrix)
{
    return USparseMatrixCountPagesAndBlocks(outPages, matrix, 0, matrix->maxRowIndex);
}

quint64 USparseMatrixRowCountBlocks(quint64* outPages, const _USparseMatrix* matrix, quint64 row)
{
    return USparseMatrixCountPagesAndBlocks(outPages, matrix, row, 1);
}

quint64 USparseMatrixValueMemorySize(
    const _USparseMatrix* matrix, quint64 firstRow, quint64 rowCount)
{
    quint64 pages = 0;
    const quint64 blocks = USparseMatrixCountPagesAndBlocks(&pages, matrix, firstRow, rowCount);
    return (blocks * matrix->matrixBlockLength + pages * matrix->matrixPageLength) * 8;
}

quint64 USparseMatrixTotalMemoryCapacity(_USparseMatrix* matrix)
{
    if (matrix->rootMemoryAllocatorRowGroupSizeShift == USparseMatrixSingleRootArena)
        return UCMemoryAllocatorTotalCapacity(&matrix->rootMemoryAllocator);
    quint64 total = 0;
    for (quint64 g = 0; g < matrix->rootMemoryAllocatorCount; ++g)
        total += UCMemoryAllocatorTotalCapacity(&matrix->rootMemoryAllocatorTable[g]);
    return total;
}

std::vector<_UCMemoryStorage> USparseMatrixStorages(const _USparseMatrix* matrix)
{
    std::vector<_UCMemoryStorage> storages;
    auto append = [&](const _UCMemoryAllocator& root) {
        const _UCMemoryStorageArray& array = root.memoryStorageArray;
        storages.insert(storages.end(), array.table, array.table + array.count);
    };
    append(matrix->rootMemoryAllocator);
    for (quint64 g = 0; g < matrix->rootMemoryAllocatorCount; ++g)
        append(matrix->rootMemoryAllocatorTable[g]);
    return storages;
}

std::pair<quint64, quint64> USparseMatrixFreeRowGroupMemory(
    _USparseMatrix* matrix, quint64 firstRow, quint64 rowCount)
{
    const quint64 endRow = firstRow + rowCount;
    if (matrix->rootMemoryAllocatorRowGroupSizeShift == USparseMatrixSingleRootArena) {
        if (firstRow != 0 || endRow != matrix->maxRowIndex)
            return { 0, 0 };
        UCMemoryAllocatorFreeStorages(&matrix->rootMemoryAllocator);
        return { 0, rowCount };
    }
    const quint64 shift = matrix->rootMemoryAllocatorRowGroupSizeShift;
    const quint64 groupRows = quint64(1) << shift;
    const quint64 firstGroup = (firstRow + groupRows - 1) >> shift;
    const quint64 endGroup
        = endRow >= matrix->maxRowIndex ? matrix->rootMemoryAllocatorCount : endRow >> shift;
    if (endGroup <= firstGroup)
        return { firstGroup, 0 };
    for (quint64 g = firstGroup; g < endGroup; ++g)
        UCMemoryAllocatorFreeStorages(&matrix->rootMemoryAllocatorTable[g]);
    return { firstGroup, endGroup - firstGroup };
}
