#pragma once

#include "calculation/solver/UFemBlockKernels.h"

#include <QtGlobal>

// Layout of the paged equations. A slot is one DOF triple; 4 slots make a node block, the 12 rows
// of a 12x12 block; 4 node blocks make a page of 48 DOFs, stored as 4x4 blocks. In a stiffness
// block, value (row, column) sits at 12 x column + row. The force and Y matrices have one row of
// pages whose block (case block, node block) holds 12 DOFs of 12 cases, value (DOF, case) at
// 12 x DOF + case; the X table has the same blocks, laid out page by page.
inline constexpr quint64 UFemWFSlotsPerNodeBlock = 4;
inline constexpr quint64 UFemWFGroupsPerPage = 4; // node blocks per page
inline constexpr quint64 UFemWFSlotsPerPage = UFemWFSlotsPerNodeBlock * UFemWFGroupsPerPage;
inline constexpr quint64 UFemWFPageBlockCount = UFemWFGroupsPerPage * UFemWFGroupsPerPage;
inline constexpr quint64 UFemWFPageDOFCount = UFemWFGroupsPerPage * UFemBlockDimension;
inline constexpr quint64 UFemWFCasesPerBlock = UFemBlockDimension;
inline constexpr quint64 UFemWFDPairsPerPage = 2 * UFemWFPageDOFCount; // {D, 1/D} per DOF
inline constexpr quint64 UFemWFXAreaDoubles
    = UFemWFGroupsPerPage * UFemBlockValueCount; // page x case block

static_assert(3 * UFemWFSlotsPerNodeBlock == UFemBlockDimension);

namespace UFemWFPageLayout {

constexpr quint64 pageOf(quint64 slot)
{
    return slot / UFemWFSlotsPerPage;
}
constexpr quint64 blockInPage(quint64 slot)
{
    return (slot / UFemWFSlotsPerNodeBlock) % UFemWFGroupsPerPage;
}
constexpr quint64 firstRowOf(quint64 slot)
{
    return 3 * (slot % UFemWFSlotsPerNodeBlock);
}
constexpr quint64 pageCount(quint64 slotCount)
{
    return (slotCount + UFemWFSlotsPerPage - 1) / UFemWFSlotsPerPage;
}

constexpr quint64 pageOfDOF(quint64 dof)
{
    return dof / UFemWFPageDOFCount;
}
constexpr quint64 blockOfDOF(quint64 dof)
{
    return dof % UFemWFPageDOFCount / UFemBlockDimension;
}
constexpr quint64 rowInBlock(quint64 dof)
{
    return dof % UFemBlockDimension;
}

constexpr quint64 caseBlockCount(quint64 caseCount)
{
    return (caseCount + UFemWFCasesPerBlock - 1) / UFemWFCasesPerBlock;
}
constexpr quint64 caseBlockOf(quint64 caseIndex)
{
    return caseIndex / UFemWFCasesPerBlock;
}
constexpr quint64 caseInBlock(quint64 caseIndex)
{
    return caseIndex % UFemWFCasesPerBlock;
}

// Stiffness and L pages
constexpr quint64 blockIndex(quint64 rowBlock, quint64 columnBlock)
{
    return UFemWFGroupsPerPage * rowBlock + columnBlock;
}
constexpr quint64 diagonalBlockIndex(quint64 block)
{
    return blockIndex(block, block);
}
constexpr quint64 valueIndex(quint64 row, quint64 column)
{
    return UFemBlockDimension * column + row;
}
constexpr quint64 diagonalValueIndex(quint64 row)
{
    return valueIndex(row, row);
}

// Force and Y pages
constexpr quint64 forceBlockIndex(quint64 nodeBlock, quint64 caseBlock)
{
    return nodeBlock + UFemWFGroupsPerPage * caseBlock;
}
constexpr quint64 forceValueIndex(quint64 row, quint64 caseIndex)
{
    return UFemWFCasesPerBlock * row + caseInBlock(caseIndex);
}

} // namespace UFemWFPageLayout

// Index of the value of DOF triple t, direction 0, case c in the X table; directions 1 and 2
// follow at +12 and +24.
constexpr quint64 UFemWFXMatrixEntryIndex(quint64 t, quint64 c, quint64 caseBlockCount)
{
    using namespace UFemWFPageLayout;
    const quint64 area = pageOf(t) * caseBlockCount + caseBlockOf(c);
    return area * UFemWFXAreaDoubles + UFemBlockValueCount * blockInPage(t)
        + forceValueIndex(firstRowOf(t), c);
}
