// Restraints taken into the node equations: for u = T q + u_forced the equations become
// K' = T^T K T and f' = T^T (f - K u_forced), with the restrained rows and columns left at zero.

#include "calculation/solver/UFemWFNodeMatrices.h"

#include "calculation/solver/UFemWFNodeMatrix.h"
#include "foundation/errors/UException.h"

#include <algorithm>
#include <array>

namespace {

const char* const SameDOFReason = "Restraint applied to the same DOF.";

bool isZero3(double a, double b, double c)
{
    return a == 0.0 && b == 0.0 && c == 0.0;
}

// Consecutive forced components of one node and rotation.
struct ForcedDisplacementGroup {
    quint64 nodeNo = 0;
    quint64 rotation = 0;
    std::array<bool, 3> isForced {};
    std::array<double, 3> value {};
};

std::vector<ForcedDisplacementGroup> groupForcedDisplacements(
    const _UFemForceDisplacementRestraintTableComponent_nodeNo* table, quint64 count)
{
    std::vector<ForcedDisplacementGroup> groups;
    for (quint64 i = 0; i < count; ++i) {
        const auto& component = table[i];
        if (groups.empty() || groups.back().nodeNo != component.nodeNo
            || groups.back().rotation != component.rotation)
            groups.push_back({ component.nodeNo, component.rotation, {}, {} });
        groups.back().isForced[component.direction] = true;
        groups.back().value[component.direction] = component.value;
    }
    return groups;
}

} // namespace

void UFemWFNodeMatrices::applyFixDisplacementRestraintWithNodeNo(
    quint64 nodeNo, quint64 rotation, quint64 direction)
{
    requireDOF(nodeNo, rotation, direction);
    quint8& state = stateByte(nodeNo, rotation, direction);
    if (state == UFemNodeDOFStateRestrained)
        UFemRaiseProgramError(QString::fromLatin1(SameDOFReason));
    if (state != UFemNodeDOFStateZeroStiffness) {
        clearColumn(nodeNo, rotation, direction);
        clearRow(nodeNo, rotation, direction);
    }
    clearForce(nodeNo, rotation, direction);
    state = UFemNodeDOFStateRestrained;
}

void UFemWFNodeMatrices::applyRestraintEquationRestraintWithNodeNo(quint64 nodeNo, quint64 rotation,
    quint64 direction, const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    checkRestraintEquation(nodeNo, rotation, direction, table, count);
    quint8& state = stateByte(nodeNo, rotation, direction);
    if (state != UFemNodeDOFStateZeroStiffness) {
        // Columns first, while the dependent is still Valid, so that its coupling with itself
        // reaches the terms' columns and then, with the rows, their rows.
        moveEquationColumns(nodeNo, rotation, direction, table, count);
        moveEquationRows(nodeNo, rotation, direction, table, count);
    }
    moveEquationForces(nodeNo, rotation, direction, table, count);
    state = UFemNodeDOFStateRestrained;
}

void UFemWFNodeMatrices::checkRestraintEquation(quint64 nodeNo, quint64 rotation, quint64 direction,
    const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    requireDOF(nodeNo, rotation, direction);
    for (quint64 k = 0; k < count; ++k) {
        const auto& term = table[k];
        requireDOF(term.nodeNo, term.rotation, term.direction);
        if (term.nodeNo == nodeNo && term.rotation == rotation && term.direction == direction)
            UFemRaiseProgramError(QStringLiteral(
                "One of independent DOF in RestraintEquation is the restraint DOF."));
        const quint8 termState = stateByte(term.nodeNo, term.rotation, term.direction);
        if (termState & UFemNodeDOFStateRestrained)
            UFemRaiseProgramError(
                QStringLiteral("Independent DOF of RestraintEquation is restrained already."));
        if (termState != UFemNodeDOFStateValid)
            UFemRaiseProgramError(QStringLiteral("Unexpected DOF State for reference DOF."));
    }
    if (stateByte(nodeNo, rotation, direction) == UFemNodeDOFStateRestrained)
        UFemRaiseProgramError(QString::fromLatin1(SameDOFReason));
}

void UFemWFNodeMatrices::moveEquationColumns(quint64 nodeNo, quint64 rotation, quint64 direction,
    const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    const quint64 d = direction;
    // New term blocks in row nodeNo add columns to it: walk the set as it was.
    const USparseMatrixIndexSet columns = USparseMatrixRowColumnIndexSet(&stiffnessMatrix_, nodeNo);
    for (const quint64 c : columns) {
        for (quint64 i = 0; i < 2; ++i) {
            double* B
                = UFemWFStiffnessBlockAddressIfPresent(&stiffnessMatrix_, c, i, nodeNo, rotation);
            if (!B || isZero3(B[d], B[3 + d], B[6 + d]))
                continue;
            const double v[3] = { B[d], B[3 + d], B[6 + d] };
            const _UFemNode3DOFState rowStates = nodeDOFStateTable_[2 * c + i];
            for (quint64 k = 0; k < count; ++k) {
                const auto& term = table[k];
                double* T = UFemWFStiffnessBlockAddress(
                    &stiffnessMatrix_, c, i, term.nodeNo, term.rotation);
                for (quint64 e = 0; e < 3; ++e) {
                    if (rowStates.state[e] == UFemNodeDOFStateValid)
                        T[3 * e + term.direction] += term.factor * v[e];
                }
            }
            B[d] = B[3 + d] = B[6 + d] = 0.0;
        }
    }
}

void UFemWFNodeMatrices::moveEquationRows(quint64 nodeNo, quint64 rotation, quint64 direction,
    const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    const quint64 d = direction;
    // The live set: the column step may have added the terms' nodes to this row. No block made here
    // lies in row nodeNo outside its set, so the set does not change while it is walked.
    const USparseMatrixIndexSet& columns
        = USparseMatrixRowColumnIndexSet(&stiffnessMatrix_, nodeNo);
    for (quint64 position = 0; position < columns.size(); ++position) {
        const quint64 c = columns[position];
        for (quint64 j = 0; j < 2; ++j) {
            double* B
                = UFemWFStiffnessBlockAddressIfPresent(&stiffnessMatrix_, nodeNo, rotation, c, j);
            if (!B || isZero3(B[3 * d], B[3 * d + 1], B[3 * d + 2]))
                continue;
            const double w[3] = { B[3 * d], B[3 * d + 1], B[3 * d + 2] };
            const _UFemNode3DOFState columnStates = nodeDOFStateTable_[2 * c + j];
            for (quint64 k = 0; k < count; ++k) {
                const auto& term = table[k];
                double* T = UFemWFStiffnessBlockAddress(
                    &stiffnessMatrix_, term.nodeNo, term.rotation, c, j);
                for (quint64 e = 0; e < 3; ++e) {
                    if (columnStates.state[e] == UFemNodeDOFStateValid)
                        T[3 * term.direction + e] += term.factor * w[e];
                }
            }
            B[3 * d] = B[3 * d + 1] = B[3 * d + 2] = 0.0;
        }
    }
}

void UFemWFNodeMatrices::moveEquationForces(quint64 nodeNo, quint64 rotation, quint64 direction,
    const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    if (!isInitialisedForceMatrix())
        return;
    for (quint64 b = 0; b < caseBlockCount(); ++b) {
        const quint64 firstCase = b * UFemWFNodeForceCasesPerBlock;
        double* F = UFemWFForceVectorAddressIfPresent(&forceMatrix_, nodeNo, rotation, firstCase);
        if (!F)
            continue;
        const quint64 cases = casesInBlock(b);
        for (quint64 k = 0; k < count; ++k) {
            const auto& term = table[k];
            double* T
                = UFemWFForceVectorAddress(&forceMatrix_, term.nodeNo, term.rotation, firstCase);
            for (quint64 q = 0; q < cases; ++q)
                T[3 * q + term.direction] += term.factor * F[3 * q + direction];
        }
        for (quint64 q = 0; q < cases; ++q)
            F[3 * q + direction] = 0.0;
    }
}

void UFemWFNodeMatrices::
    applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
        quint64 count, const _UFemForceDisplacementRestraintTableComponent_nodeNo* table)
{
    for (quint64 i = 0; i < count; ++i)
        requireDOF(table[i].nodeNo, table[i].rotation, table[i].direction);
    const std::vector<ForcedDisplacementGroup> groups = groupForcedDisplacements(table, count);
    for (const auto& group : groups) {
        for (quint64 d = 0; d < 3; ++d) {
            if (group.isForced[d]
                && (stateByte(group.nodeNo, group.rotation, d) & UFemNodeDOFStateRestrained))
                UFemRaiseProgramError(QString::fromLatin1(SameDOFReason));
        }
    }
    USparseMatrixIndexSet rows;
    for (const auto& group : groups) {
        const auto& columns = USparseMatrixRowColumnIndexSet(&stiffnessMatrix_, group.nodeNo);
        rows.insert(rows.end(), columns.begin(), columns.end());
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    // -K u_forced into the loads of every row, then the forced columns out of K.
    for (const quint64 c : rows) {
        double correction[6] = {};
        for (const auto& group : groups) {
            for (quint64 i = 0; i < 2; ++i) {
                double* B = UFemWFStiffnessBlockAddressIfPresent(
                    &stiffnessMatrix_, c, i, group.nodeNo, group.rotation);
                if (!B)
                    continue;
                for (quint64 d = 0; d < 3; ++d) {
                    if (!group.isForced[d])
                        continue;
                    for (quint64 e = 0; e < 3; ++e)
                        correction[3 * i + e] -= group.value[d] * B[3 * e + d];
                    B[d] = B[3 + d] = B[6 + d] = 0.0;
                }
            }
        }
        for (quint64 i = 0; i < 2; ++i) {
            if (!isZero3(correction[3 * i], correction[3 * i + 1], correction[3 * i + 2]))
                addToEveryCase(c, i, correction + 3 * i);
        }
    }
    for (const auto& group : groups) {
        for (quint64 d = 0; d < 3; ++d) {
            if (!group.isForced[d])
                continue;
            clearRow(group.nodeNo, group.rotation, d);
            clearForce(group.nodeNo, group.rotation, d);
            stateByte(group.nodeNo, group.rotation, d) = UFemNodeDOFStateRestrained;
        }
    }
}

void UFemWFNodeMatrices::clearColumn(quint64 nodeNo, quint64 rotation, quint64 direction)
{
    for (const quint64 c : USparseMatrixRowColumnIndexSet(&stiffnessMatrix_, nodeNo)) {
        for (quint64 i = 0; i < 2; ++i) {
            if (double* B
                = UFemWFStiffnessBlockAddressIfPresent(&stiffnessMatrix_, c, i, nodeNo, rotation))
                B[direction] = B[direction + 3] = B[direction + 6] = 0.0;
        }
    }
}

void UFemWFNodeMatrices::clearRow(quint64 nodeNo, quint64 rotation, quint64 direction)
{
    for (const quint64 c : USparseMatrixRowColumnIndexSet(&stiffnessMatrix_, nodeNo)) {
        for (quint64 j = 0; j < 2; ++j) {
            if (double* B
                = UFemWFStiffnessBlockAddressIfPresent(&stiffnessMatrix_, nodeNo, rotation, c, j))
                B[3 * direction] = B[3 * direction + 1] = B[3 * direction + 2] = 0.0;
        }
    }
}

void UFemWFNodeMatrices::clearForce(quint64 nodeNo, quint64 rotation, quint64 direction)
{
    if (!isInitialisedForceMatrix())
        return;
    for (quint64 b = 0; b < caseBlockCount(); ++b) {
        double* F = UFemWFForceVectorAddressIfPresent(
            &forceMatrix_, nodeNo, rotation, b * UFemWFNodeForceCasesPerBlock);
        if (!F)
            continue;
        for (quint64 q = 0; q < casesInBlock(b); ++q)
            F[3 * q + direction] = 0.0;
    }
}

void UFemWFNodeMatrices::addToEveryCase(quint64 nodeNo, quint64 rotation, const double* vector)
{
    if (!isInitialisedForceMatrix())
        return;
    for (quint64 b = 0; b < caseBlockCount(); ++b) {
        double* F = UFemWFForceVectorAddress(
            &forceMatrix_, nodeNo, rotation, b * UFemWFNodeForceCasesPerBlock);
        for (quint64 q = 0; q < casesInBlock(b); ++q) {
            for (quint64 e = 0; e < 3; ++e)
                F[3 * q + e] += vector[e];
        }
    }
}
