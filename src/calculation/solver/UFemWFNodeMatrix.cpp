#include "calculation/solver/UFemWFNodeMatrix.h"

namespace {

constexpr quint64 NodeStiffnessPageLength = 4;
constexpr double NodeStiffnessMemoryFactor = 24.0;
constexpr quint64 ForceMemoryRowsPerFactor = 16;

quint64 forceOffset(quint64 caseIndex)
{
    return caseIndex % UFemWFNodeForceCasesPerBlock * 3;
}

} // namespace

void UFemWFSetupNodeStiffnessMatrix(_USparseMatrix* matrix, quint64 nodeCount)
{
    USparseMatrixInit(matrix, nodeCount, nodeCount, UFemWFNodeStiffnessBlockLength,
        NodeStiffnessPageLength, USparseMatrixSingleRootArena, NodeStiffnessMemoryFactor);
}

void UFemWFSetupNodeForceMatrix(_USparseMatrix* matrix, quint64 nodeCount, quint64 caseCount)
{
    USparseMatrixInit(matrix, 1, nodeCount, UFemWFNodeForceBlockLength,
        2 * UFemWFNodeForceCaseBlockCount(caseCount), USparseMatrixSingleRootArena,
        double(nodeCount / ForceMemoryRowsPerFactor + 1));
}

void UFemWFAddStiffnessBlock(_USparseMatrix* matrix, const double* block, quint64 nodeNo1,
    quint64 rotation1, quint64 nodeNo2, quint64 rotation2)
{
    double* target = UFemWFStiffnessBlockAddress(matrix, nodeNo1, rotation1, nodeNo2, rotation2);
    for (quint64 i = 0; i < UFemWFNodeStiffnessBlockLength; ++i)
        target[i] += block[i];
}

double* UFemWFStiffnessBlockAddress(
    _USparseMatrix* matrix, quint64 nodeNo1, quint64 rotation1, quint64 nodeNo2, quint64 rotation2)
{
    return USparseMatrixBlockCreate(
        matrix, nodeNo1, nodeNo2, UFemWFNodeStiffnessBlockIndex(rotation1, rotation2));
}

double* UFemWFStiffnessBlockAddressIfPresent(const _USparseMatrix* matrix, quint64 nodeNo1,
    quint64 rotation1, quint64 nodeNo2, quint64 rotation2)
{
    return USparseMatrixBlockAt(
        matrix, nodeNo1, nodeNo2, UFemWFNodeStiffnessBlockIndex(rotation1, rotation2));
}

void UFemWFAddForceVector(_USparseMatrix* matrix, const double* vector, quint64 nodeNo,
    quint64 rotation, quint64 caseIndex)
{
    double* target = UFemWFForceVectorAddress(matrix, nodeNo, rotation, caseIndex);
    for (quint64 d = 0; d < 3; ++d)
        target[d] += vector[d];
}

double* UFemWFForceVectorAddress(
    _USparseMatrix* matrix, quint64 nodeNo, quint64 rotation, quint64 caseIndex)
{
    double* block = USparseMatrixBlockCreate(
        matrix, 0, nodeNo, UFemWFNodeForceBlockIndex(rotation, caseIndex));
    return block + forceOffset(caseIndex);
}

double* UFemWFForceVectorAddressIfPresent(
    const _USparseMatrix* matrix, quint64 nodeNo, quint64 rotation, quint64 caseIndex)
{
    double* block
        = USparseMatrixBlockAt(matrix, 0, nodeNo, UFemWFNodeForceBlockIndex(rotation, caseIndex));
    return block ? block + forceOffset(caseIndex) : nullptr;
}
