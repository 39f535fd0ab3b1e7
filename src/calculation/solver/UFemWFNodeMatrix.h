#pragma once

#include "calculation/solver/USparseMatrix.h"

// The node-level matrices of a matrix calculator over the block store.
//
// Node stiffness: nodes x nodes; a page holds the four 3x3 blocks of two nodes, block index
// 2 x rotation1 + rotation2, entry [3i + j] coupling direction i of (node1, rotation1) with
// direction j of (node2, rotation2).
// Node force: 1 x nodes; a page holds 2 x ceil(cases / 12) blocks, block index
// 2 x (case / 12) + rotation, each block twelve cases of three directions at [(case mod 12) x 3 +
// d].

inline constexpr quint64 UFemWFNodeStiffnessBlockLength = 9;
inline constexpr quint64 UFemWFNodeForceBlockLength = 36;
inline constexpr quint64 UFemWFNodeForceCasesPerBlock = 12;

inline quint64 UFemWFNodeStiffnessBlockIndex(quint64 rotation1, quint64 rotation2)
{
    return rotation1 * 2 + rotation2;
}

inline quint64 UFemWFNodeForceBlockIndex(quint64 rotation, quint64 caseIndex)
{
    return caseIndex / UFemWFNodeForceCasesPerBlock * 2 + rotation;
}

inline quint64 UFemWFNodeForceCaseBlockCount(quint64 caseCount)
{
    return (caseCount + UFemWFNodeForceCasesPerBlock - 1) / UFemWFNodeForceCasesPerBlock;
}

void UFemWFSetupNodeStiffnessMatrix(_USparseMatrix* matrix, quint64 nodeCount);
void UFemWFSetupNodeForceMatrix(_USparseMatrix* matrix, quint64 nodeCount, quint64 caseCount);

void UFemWFAddStiffnessBlock(_USparseMatrix* matrix, const double* block, quint64 nodeNo1,
    quint64 rotation1, quint64 nodeNo2, quint64 rotation2);
double* UFemWFStiffnessBlockAddress(
    _USparseMatrix* matrix, quint64 nodeNo1, quint64 rotation1, quint64 nodeNo2, quint64 rotation2);
double* UFemWFStiffnessBlockAddressIfPresent(const _USparseMatrix* matrix, quint64 nodeNo1,
    quint64 rotation1, quint64 nodeNo2, quint64 rotation2);

// The three doubles of (node, rotation, case); the twelve cases of its block follow each other.
void UFemWFAddForceVector(_USparseMatrix* matrix, const double* vector, quint64 nodeNo,
    quint64 rotation, quint64 caseIndex);
double* UFemWFForceVectorAddress(
    _USparseMatrix* matrix, quint64 nodeNo, quint64 rotation, quint64 caseIndex);
double* UFemWFForceVectorAddressIfPresent(
    const _USparseMatrix* matrix, quint64 nodeNo, quint64 rotation, quint64 caseIndex);
