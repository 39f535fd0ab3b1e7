#pragma once

#include "calculation/UFemNodeStiffnessTarget.h"
#include "calculation/UFemRestraintObjectList.h"
#include "calculation/UFemWFCalculationSlotLayout.h"
#include "calculation/UFemWFMatrixCalculationDelegate.h"
#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"
#include "calculation/solver/UFemWFMatrixCalculatorDelegate.h"
#include "calculation/solver/UFemWFNodeMatrices.h"
#include "calculation/solver/UFemWFSolutionFigures.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

// One restraint set of one calculation: the cards put stiffness, loads and restraints into it by
// card name; it turns names into numbers through its delegate, keeps the node equations, checks,
// orders and applies the restraints, lays the equations out in node order, solves them on the
// thread pool with pause, resume and quit, and gives the displacements with the restrained values
// written back.
//
// Order of use, on the calculation thread: setupTo_1_SetStiffnessMatrix, stiffness from the
// element cards, (copy for every further restraint set), setCalculationIndex, setCaseNoIndexSet,
// setupTo_2_SetForceMatrix, loads, setupTo_3_SetRestraint, restraints,
// setupTo_4_RunMatrixCalculation, prepareMatrixCalculation, runMatrixCalculation,
// finalizeMatrixCalculation, getDisplacementMatrixValueTable, finish. The progress and control
// operations may be called from any thread at any time.
class UFemWFMatrixCalculator : public UFemMatrixCalculator,
                               public UFemWFMatrixCalculationDelegate,
                               public UFemNodeOrdererDelegate,
                               public UFemNodeStiffnessTarget {
public:
    UFemWFMatrixCalculator(UFemWFMatrixCalculatorDelegate* delegate, quint64 nodeCount);
    ~UFemWFMatrixCalculator() override;
    UFemWFMatrixCalculator& operator=(const UFemWFMatrixCalculator&) = delete;
    // A calculator for a further restraint set, taken while this one holds stiffness only.
    std::unique_ptr<UFemWFMatrixCalculator> copy() const;

    // ---- Set-up
    [[nodiscard]] bool setupTo_1_SetStiffnessMatrix(UErrorPtr* error);
    void setCalculationIndex(quint64 calculationIndex) { calculationIndex_ = calculationIndex; }
    quint64 calculationIndex() const { return calculationIndex_; }
    // Ascending case numbers of this restraint set.
    void setCaseNoIndexSet(const std::vector<quint64>& caseNoIndexSet);
    const std::vector<quint64>& caseNoIndexSet() const { return caseNoIndexSet_; }
    quint64 caseCount() const { return caseCount_; }
    quint64 nodeCount() const { return nodeCount_; }
    [[nodiscard]] bool setupTo_2_SetForceMatrix(UErrorPtr* error);
    [[nodiscard]] bool setupTo_3_SetRestraint(UErrorPtr* error);
    // Checks and applies the restraints (21008, 21009), decides the DOF states and orders nodes.
    [[nodiscard]] bool setupTo_4_RunMatrixCalculation(UErrorPtr* error);
    // A node-number table for the ordering's main path (all ones divides runs); 0 clears it.
    [[nodiscard]] bool setNodeOrderingMainPathTransitNodeNoTable(
        const quint64* table, quint64 count, UErrorPtr* error);
    // Threads of the solution, the calling one included; 0 (the default) takes the preference.
    void setCalculationThreadCount(quint64 threadCount) { threadCount_ = threadCount; }
    // Bytes the solution may take (81001 beyond them); 0 (the default) takes the memory available.
    void setCalculationMemoryLimit(quint64 memoryLimit) { memoryLimit_ = memoryLimit; }
    // How the matrices' large storages take their pages; before setupTo_1_SetStiffnessMatrix.
    void setCalculationPagePolicy(UMemoryPagePolicy policy) { pagePolicy_ = policy; }

    // ---- Card operations
    void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1, quint64 rotation1,
        const UFemCardName& nodeName2, quint64 rotation2) override;
    void addForceMatrix(const double* matrix, const UFemCardName& nodeName, quint64 rotation,
        const UFemCardName& caseName) override;
    // The element assembly's way in: on several threads, each with rows of its own.
    quint64 stiffnessNodeNoOf(const UFemCardName& nodeName) const override
    {
        return nodeNoOf(nodeName);
    }
    void addStiffnessBlock(const double* matrix, quint64 nodeNo1, quint64 rotation1,
        quint64 nodeNo2, quint64 rotation2) override;
    void addFixDisplacementRestraintWithNodeName(
        const UFemCardName& nodeName, quint64 rotation, quint64 direction) override;
    void addForceDisplacementRestraintWithDisplacementValue(double displacementValue,
        const UFemCardName& nodeName, quint64 rotation, quint64 direction) override;
    void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(
        quint64 numberOfRestraintEquationComponent,
        const _UFemRestraintEquationTableComponent* restraintEquationTablePtr,
        const UFemCardName& nodeName, quint64 rotation, quint64 direction) override;

    // ---- Running
    // True when a solver task was built; false without an error when there is nothing to solve,
    // 81001 when memory runs out while the matrices are built.
    [[nodiscard]] bool prepareMatrixCalculation(UErrorPtr* error);
    // True when solved or when there is nothing to solve; 21099 when quit, the solver's error when
    // the system is singular or memory ran out.
    [[nodiscard]] bool runMatrixCalculation(UErrorPtr* error);
    // Lays out the displacements and writes the restrained values back.
    [[nodiscard]] bool finalizeMatrixCalculation(UErrorPtr* error);
    // Rows of the displacement table (see UFemWFNodeMatrices); 0 and null tables before finalize.
    quint64 getDisplacementMatrixValueTable(const double** valueTable, const quint64** nodeNoTable,
        const _UFemNode3DOFState** nodeDOFStateTable) const;
    // Releases the equations and the solver, keeping the last progress figures.
    void finish();

    // ---- Progress and control (any thread)
    bool isCalculationPausing() const;
    quint64 calculatingThreadCount() const;
    quint64 progressTotalLength() const;
    quint64 currentProgress() const;
    quint64 computingCount() const;
    quint64 calculationMemoryCapacity() const;
    static quint64 progressUnitFlotingOperations();
    void pauseCalculationWithFlag(bool flag);
    void quitCalculation();
    double nodeOrderingTimeInterval() const { return nodeOrderingTimeInterval_; }
    double buildCalculationMatrixTimeInterval() const
    {
        return buildCalculationMatrixTimeInterval_;
    }
    double runCalculationTimeInterval() const { return runCalculationTimeInterval_; }
    QString calculationErrorString() const;
    // Of the solution being run, or of the last one after finish.
    UFemWFSolutionFigures solutionFigures() const;

    // ---- Log of this restraint set: one line "date - text" per entry.
    void appendCalculationLogString(const QString& text);
    QString calculationLogString() const;

    // ---- Look-ups, for the orderer and the solver
    QString nodeNameStringWithNodeNo(quint64 nodeNo) const override;
    bool getNodeNameStringAndDirection(
        QString* nodeName, quint64* direction6, quint64 calculationDOFIndex) const override;
    const UFemRestraintObjectList& restraintObjectList() const { return restraintObjectList_; }
    const UFemWFCalculationSlotLayout& slotLayout() const { return slotLayout_; }
    const UFemWFNodeMatrices* nodeMatrices() const { return nodeMatrices_.get(); }

private:
    static double secondsSince(std::chrono::steady_clock::time_point start);
    double pausedSecondsOfRun() const;
    void recordPauseWithFlag_whileLocked(bool flag);
    UFemWFSolutionFigures figuresOfTask_whileLocked() const;
    UFemWFMatrixCalculator(const UFemWFMatrixCalculator& other);

    quint64 nodeNoOf(const UFemCardName& nodeName) const;
    quint64 solutionThreadCount() const;
    UFemWFNodeMatrices& requireNodeMatrices() const;
    [[nodiscard]] bool applyRestraintToMatrixCalculator(UErrorPtr* error);
    void writeRestraintToDisplacementMatrix();
    [[nodiscard]] bool executeNodeOrdering(UErrorPtr* error);
    void noteNonFiniteInput(const double* values, quint64 count, quint64 nodeNo, quint64 rotation,
        const QString& caseName);
    [[nodiscard]] bool checkNonFiniteInput(UErrorPtr* error) const;
    void noteUnstiffenedForcedDisplacement(
        const std::vector<_UFemForceDisplacementRestraintTableComponent_nodeNo>& forced);
    [[nodiscard]] bool checkLoadsToSolve(UErrorPtr* error) const;
    [[nodiscard]] bool checkDisplacements(UErrorPtr* error) const;
    bool failOnDOF(const char* description, const char* recoverySuggestion,
        const UFemWFDOFOfCase& dof, UErrorPtr* error) const;

    // The first load or forced displacement that is not a finite number.
    struct NonFiniteInput {
        quint64 nodeNo;
        quint64 direction6;
        QString caseName; // empty for a forced displacement
    };

    UFemWFMatrixCalculatorDelegate* delegate_;
    quint64 calculationIndex_ = UFemNotFound;
    quint64 nodeCount_;
    quint64 caseCount_ = 0;
    std::vector<quint64> caseNoIndexSet_;
    std::unique_ptr<UFemWFNodeMatrices> nodeMatrices_;
    UFemRestraintObjectList restraintObjectList_;
    UFemWFCalculationSlotLayout slotLayout_;
    std::vector<quint64> mainPathTransitNodeNoTable_;
    std::optional<NonFiniteInput> nonFiniteInput_;
    std::optional<UFemWFDOFOfCase> unstiffenedForcedDisplacement_;
    quint64 threadCount_ = 0;
    quint64 memoryLimit_ = 0;
    UMemoryPagePolicy pagePolicy_ = UMemoryPagePolicy::adaptivePages;

    // The solver and the requests for it, guarded by taskMutex_; only the calculation thread
    // creates and releases the task, so it reads the pointer without the lock.
    mutable std::mutex taskMutex_;
    std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> task_;
    bool pauseFlag_ = false;
    bool quitFlag_ = false;
    bool isFinished_ = false;
    // Time spent paused, so that the run's time counts only work.
    std::optional<std::chrono::steady_clock::time_point> pauseStart_;
    std::chrono::steady_clock::duration pausedDuration_ {};
    quint64 progressTotalLength_noMatrixCalculator_ = ~quint64(0);
    quint64 currentProgress_noMatrixCalculator_ = 0;
    quint64 computingCount_noMatrixCalculator_ = 0;
    QString calculationErrorString_;
    UFemWFSolutionFigures solutionFigures_;

    std::atomic<double> nodeOrderingTimeInterval_ { 0.0 };
    std::atomic<double> buildCalculationMatrixTimeInterval_ { 0.0 };
    std::atomic<double> runCalculationTimeInterval_ { 0.0 };

    mutable std::mutex calculationLogStringLock_;
    QString calculationLogString_;
};
