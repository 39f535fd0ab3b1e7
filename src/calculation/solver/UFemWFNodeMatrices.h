#pragma once

#include "calculation/UFemRestraintTableComponentsNodeNo.h"
#include "calculation/solver/USparseMatrix.h"
#include "cardmodel/card/UFemNode3DOFState.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

using UFemWFNodeNameLookup = std::function<QString(quint64 nodeNo)>;

// One degree of freedom in one case of the set, for messages.
struct UFemWFDOFOfCase {
    quint64 nodeNo;
    quint64 direction6;
    quint64 caseIndex;
};

// The equations of one restraint set on the node level: the assembled stiffness and the loads of
// the set's cases as 3x3 node blocks, the state of every degree of freedom, the restraints taken
// into both, and after the solution the displacement of every listed DOF triple for every case.
//
// Degrees of freedom come in triples: triple 2 x nodeNo + rotation (0 translations, 1 rotations),
// direction 0..2 within it; one number for one DOF is 6 x nodeNo + 3 x rotation + direction.
//
// Order of use: setupNodeStiffnessMatrix, addStiffnessMatrix...; (copy for further restraint sets);
// setCaseCount, setupNodeForceMatrix, addForceMatrix...; buildNodeDOFStateTable; the restraints
// (equations, then fixed, then forced); updateNodeDOFStateTableAndCalculationMatrixInfo; ordering
// and solution elsewhere; finalizeMatrixCalculation; the write-back (forced, fixed, then equations
// last applied first); getDisplacementMatrixValueTable.
class UFemWFNodeMatrices {
public:
    UFemWFNodeMatrices(
        quint64 nodeCount, UMemoryPagePolicy pagePolicy = UMemoryPagePolicy::adaptivePages);
    // A deep copy of every table and matrix that exists.
    UFemWFNodeMatrices(const UFemWFNodeMatrices& other);
    UFemWFNodeMatrices& operator=(const UFemWFNodeMatrices&) = delete;
    ~UFemWFNodeMatrices();
    // Frees every table and both matrices and zeroes the counts.
    void finish();

    quint64 nodeCount() const { return nodeCount_; }
    quint64 caseCount() const { return caseCount_; }
    // Before setupNodeForceMatrix.
    void setCaseCount(quint64 caseCount) { caseCount_ = caseCount; }

    // Assembly. Blocks and vectors put on one place add up; a block is never mirrored, so callers
    // put the (a, b) and the (b, a) block alike and the pattern stays symmetric.
    void setupNodeStiffnessMatrix();
    void addStiffnessMatrix(const double* matrix, quint64 nodeNo1, quint64 rotation1,
        quint64 nodeNo2, quint64 rotation2);
    void setupNodeForceMatrix();
    void addForceMatrix(const double* matrix, quint64 nodeNo, quint64 rotation, quint64 caseIndex);

    const _USparseMatrix* stiffnessMatrix() const { return &stiffnessMatrix_; }
    const _USparseMatrix* forceMatrix() const { return &forceMatrix_; }

    // DOF states: built all Valid, turned Restrained by the restraints, ZeroStiffness by the
    // update.
    void buildNodeDOFStateTable();
    // 2 x nodeCount entries by triple index; null before buildNodeDOFStateTable.
    const _UFemNode3DOFState* nodeDOFStateTable() const;

    // Restraints into the equations: the restrained DOF's row and column leave K, its load leaves F
    // and its state becomes Restrained. Inconsistent calls raise a program error before changing
    // anything.
    void applyRestraintEquationRestraintWithNodeNo(quint64 nodeNo, quint64 rotation,
        quint64 direction, const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);
    void applyFixDisplacementRestraintWithNodeNo(
        quint64 nodeNo, quint64 rotation, quint64 direction);
    // All forced DOFs of the set at once; components of one node and rotation stand together.
    void applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
        quint64 count, const _UFemForceDisplacementRestraintTableComponent_nodeNo* table);

    // After all restraints: a Valid DOF whose diagonal is exactly 0.0 becomes ZeroStiffness; a
    // negative or non-finite diagonal fails (21011 naming the DOF). Records the diagonal extremes.
    [[nodiscard]] bool updateNodeDOFStateTableAndCalculationMatrixInfo(
        const UFemWFNodeNameLookup& nodeNameStringWithNodeNo, UErrorPtr* error);
    double stiffnessMatrixMaxValue() const { return stiffnessMatrixMaxValue_; }
    quint64 stiffnessMatrixMaxValueNodeDOFIndex() const
    {
        return stiffnessMatrixMaxValueNodeDOFIndex_;
    }
    // The diagonal of the DOF as the stiffness stands now; 0.0 where no block is.
    double stiffnessDiagonal(quint64 nodeNo, quint64 rotation, quint64 direction) const;
    // After the update: the first load that is not finite, or that is not zero on a ZeroStiffness
    // DOF (nothing would carry it).
    std::optional<UFemWFDOFOfCase> firstNonFiniteLoad() const;
    std::optional<UFemWFDOFOfCase> firstUnstiffenedLoad() const;
    // After the write-back: the first displacement that is not finite.
    std::optional<UFemWFDOFOfCase> firstNonFiniteDisplacement() const;
    double stiffnessMatrixMinValue() const { return stiffnessMatrixMinValue_; }
    quint64 stiffnessMatrixMinValueNodeDOFIndex() const
    {
        return stiffnessMatrixMinValueNodeDOFIndex_;
    }

    // Lays out the displacement table from the solution: `slotTableByTriple` gives each triple's
    // calculation slot (all ones when not solved) and `X_MatrixTable` the solver's solution in its
    // layout. Both may be null when nothing was solved. Restrained directions read NaN and
    // ZeroStiffness ones 0.0 until the write-back.
    void finalizeMatrixCalculation(const quint64* slotTableByTriple, const double* X_MatrixTable);

    // Restrained values into the displacement table, for every case.
    void applyForceDisplacementRestraint_toDisplacementMatrix_WithForcedDisplacementRestraintTable(
        const _UFemForceDisplacementRestraintTableComponent_nodeNo* table, quint64 count);
    void applyFixDisplacementRestraint_toDisplacementMatrix_WithNodeNo(
        quint64 nodeNo, quint64 rotation, quint64 direction);
    void applyRestraintEquationRestraint_toDisplacementMatrix_WithNodeNo(quint64 nodeNo,
        quint64 rotation, quint64 direction,
        const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);

    // The number of listed triples; hands out (not copies) the values (row i, case c, direction d
    // at (i x caseCount + c) x 3 + d), the ascending triple indexes of the rows and the DOF state
    // table. All null with a count of 0.
    quint64 getDisplacementMatrixValueTable(const double** valueTable, const quint64** nodeNoTable,
        const _UFemNode3DOFState** nodeDOFStateTable) const;
    // The row of a triple in the displacement table, all ones when it has none.
    quint64 displacementMatrixRowOfTriple(quint64 tripleIndex) const;

private:
    quint8& stateByte(quint64 nodeNo, quint64 rotation, quint64 direction);
    void requireNode(quint64 nodeNo, quint64 rotation) const;
    void requireDOF(quint64 nodeNo, quint64 rotation, quint64 direction) const;
    quint64 caseBlockCount() const;
    bool isInitialisedForceMatrix() const { return forceMatrix_.rowMatrixTable != nullptr; }
    quint64 casesInBlock(quint64 caseBlock) const;
    template <typename Rejects>
    std::optional<UFemWFDOFOfCase> firstLoadWhere(Rejects rejects) const;

    // Restraint steps
    void checkRestraintEquation(quint64 nodeNo, quint64 rotation, quint64 direction,
        const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);
    void moveEquationColumns(quint64 nodeNo, quint64 rotation, quint64 direction,
        const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);
    void moveEquationRows(quint64 nodeNo, quint64 rotation, quint64 direction,
        const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);
    void moveEquationForces(quint64 nodeNo, quint64 rotation, quint64 direction,
        const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count);
    void clearColumn(quint64 nodeNo, quint64 rotation, quint64 direction);
    void clearRow(quint64 nodeNo, quint64 rotation, quint64 direction);
    void clearForce(quint64 nodeNo, quint64 rotation, quint64 direction);
    void addToEveryCase(quint64 nodeNo, quint64 rotation, const double* vector);

    // Displacement table
    void fillDisplacementRow(quint64 row, quint64 tripleIndex, const quint64* slotTableByTriple,
        const double* X_MatrixTable);
    double* displacementRowForWriteBack(quint64 nodeNo, quint64 rotation);

    quint64 nodeCount_ = 0;
    UMemoryHugePageAdvice pageAdvice_ = UMemorySystemHugePageAdvice;
    quint64 caseCount_ = 0;
    std::vector<_UFemNode3DOFState> nodeDOFStateTable_;
    _USparseMatrix stiffnessMatrix_ {};
    _USparseMatrix forceMatrix_ {};
    double stiffnessMatrixMaxValue_ = 0.0;
    quint64 stiffnessMatrixMaxValueNodeDOFIndex_ = 0;
    double stiffnessMatrixMinValue_ = 0.0;
    quint64 stiffnessMatrixMinValueNodeDOFIndex_ = 0;
    std::vector<quint64> displacementMatrixNodeNoTable_;
    quint64 displacementMatrixNodeNoCount_ = 0;
    std::vector<quint64> displacementMatrixNodeIndexTable_;
    std::vector<double> displacementMatrixValueTable_;
};
