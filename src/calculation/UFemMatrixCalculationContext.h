#pragma once

#include "calculation/solver/UFemWFMatrixCalculatorDelegate.h"
#include "calculation/solver/UFemWFSolutionFigures.h"
#include "cardmodel/data/UFemCalculationControl.h"
#include "foundation/UFemNotFound.h"
#include "foundation/containers/UMemoryStorage.h"
#include "foundation/errors/UError.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

class UFemCard;
class UFemCardName;
class UFemDataController;
class UFemResultDataManagerImpl;
class UFemWFMatrixCalculator;

// One whole calculation of one model: numbers its nodes and cases, assembles the element
// stiffness once, makes one matrix calculator per restraint set (the copies taken before any load
// enters), and solves them in turn on the calculation thread into a new result data manager. A
// failing restraint set stores its error text for its cases and the others go on. Pause, quit and
// the progress questions may come from any thread.
class UFemMatrixCalculationContext final : public UFemWFMatrixCalculatorDelegate,
                                           public UFemCalculationControl {
public:
    // The restraint set of a case, and the case's place among that set's cases.
    struct _UFemMatrixCalculationCaseInfoRecord {
        quint64 calculationIndex = UFemNotFound;
        quint64 caseIndex = UFemNotFound;
    };
    struct _UFemMatrixCalculationCalculatorInfoRecord {
        const UFemCardName* restraintCardName = nullptr; // the model's, not owned
        std::vector<quint64> caseNoIndexSet; // ascending
    };

    explicit UFemMatrixCalculationContext(UFemDataController* dataController);
    ~UFemMatrixCalculationContext() override;
    UFemMatrixCalculationContext(const UFemMatrixCalculationContext&) = delete;
    UFemMatrixCalculationContext& operator=(const UFemMatrixCalculationContext&) = delete;

    UFemDataController* dataController() const { return dataController_; }
    // Threads of each restraint set's solution; 0 (the default) takes the preference.
    void setCalculationThreadCount(quint64 threadCount) { threadCount_ = threadCount; }
    // Bytes each restraint set's solution may take; 0 (the default) takes the memory available.
    void setCalculationMemoryLimit(quint64 memoryLimit) { memoryLimit_ = memoryLimit; }
    // How the solutions' matrices take their pages (adaptive by default); results are the same
    // under every policy.
    void setCalculationPagePolicy(UMemoryPagePolicy policy) { pagePolicy_ = policy; }

    // ---- Calculation thread: the set-up, then the run, once each.
    [[nodiscard]] bool setupToRunCalculation(UErrorPtr* error);
    [[nodiscard]] bool runCalculation(UErrorPtr* error);
    [[nodiscard]] std::shared_ptr<UFemResultDataManagerImpl> resultDataManager(
        UErrorPtr* error) const;

    // ---- Any thread
    void pauseCalculationWithFlag(bool flag) override;
    void quitCalculation() override;
    bool isCalculationPausing() const override;
    quint64 calculatingThreadCount() const override;
    quint64 progressTotalLength() const override;
    quint64 currentProgress() const override;
    quint64 computingCount() const override;
    static quint64 progressUnitFlotingOperations();

    // ---- Names and numbers
    quint64 nodeCount() const { return nodeCount_; }
    quint64 caseCount() const { return caseCount_; }
    QString calculationInfoString() const { return calculationInfoString_; }
    const std::vector<_UFemMatrixCalculationCalculatorInfoRecord>&
    matrixCalculatorInfoRecordTable() const
    {
        return matrixCalculatorInfoRecordTable_;
    }
    const _UFemMatrixCalculationCaseInfoRecord& caseInfoRecord(quint64 caseNo) const;
    // Whether the set's calculator works on a copy of the assembled stiffness.
    bool isCopiedCalculator(quint64 calculationIndex) const
    {
        return calculationIndex + 1 < matrixCalculatorInfoRecordTable_.size();
    }
    quint64 nodeNoWithNodeNameString(const QString& nodeNameString) const override;
    quint64 nodeNoWithNodeCardName(const UFemCardName& nodeName) const override;
    QString nodeNameStringWithNodeNo(quint64 nodeNo) const override;
    QString caseNameStringWithCaseNo(quint64 caseNo) const;
    quint64 caseNoWithCaseNameString(const QString& caseNameString) const;
    quint64 caseIndexWithCaseNo(quint64 caseNo, quint64 calculationIndex) const;
    quint64 caseNoWithCaseIndex(quint64 caseIndex, quint64 calculationIndex) const;
    quint64 caseIndexWithCaseNameString(
        const QString& caseNameString, quint64 calculationIndex) const override;
    QString caseNameStringWithCaseIndex(quint64 caseIndex, quint64 calculationIndex) const override;
    void getNodeLocation(double* location, quint64 nodeNo) const override;
    // Size, cost and times of each restraint set's solution, by calculation index; complete after
    // the run.
    std::vector<UFemWFSolutionFigures> solutionFiguresArray() const;
    // A node ordering hint (node name texts, anything else divides) as node numbers, all ones for
    // a divider.
    [[nodiscard]] bool getNodeOrderingMainPathTransitNodeNoTable(std::vector<quint64>* table,
        const QVariantList& mainPathTransitNodeNameStringArray, UErrorPtr* error) const;

private:
    using Calculators = std::vector<std::unique_ptr<UFemWFMatrixCalculator>>;

    // The threads the set-up and the run's own work take: the set count, else the preference's.
    quint64 calculationThreadCount() const;
    // The sum of a progress figure over the calculators; 0 without them.
    quint64 sumOverCalculators(quint64 (UFemWFMatrixCalculator::*figure)() const) const;
    [[nodiscard]] bool setupNamesAndCalculators(UErrorPtr* error);
    [[nodiscard]] bool buildMatrixCalculatorArray(UErrorPtr* error);
    [[nodiscard]] bool putStiffness(UFemWFMatrixCalculator& calculator, UErrorPtr* error);
    void groupCasesByRestraintSet();
    [[nodiscard]] bool completeCalculator(
        UFemWFMatrixCalculator& calculator, quint64 calculationIndex, UErrorPtr* error);
    [[nodiscard]] bool putForces(
        UFemWFMatrixCalculator& calculator, quint64 caseNo, UErrorPtr* error);
    [[nodiscard]] bool putRestraints(
        UFemWFMatrixCalculator& calculator, const UFemCardName* restraintName, UErrorPtr* error);
    // Waits while paused; false with the cancel error once quit was asked for.
    [[nodiscard]] bool checkQuitAndWaitWhilePaused(UErrorPtr* error);
    // False only when the run must stop (quit, or the result data refused an error text).
    // The run's result data, once it is ready.
    using ResultDataAccess = std::function<UFemResultDataManagerImpl&()>;
    [[nodiscard]] bool runMatrixCalculator(UFemWFMatrixCalculator& calculator,
        quint64 calculationIndex, const ResultDataAccess& results, UErrorPtr* error);
    [[nodiscard]] bool solveMatrixCalculator(UFemWFMatrixCalculator& calculator, UErrorPtr* error);
    [[nodiscard]] bool storeDisplacements(UFemWFMatrixCalculator& calculator,
        quint64 calculationIndex, UFemResultDataManagerImpl& manager, UErrorPtr* error);
    void dropCalculators();

    UFemDataController* dataController_;
    quint64 threadCount_ = 0;
    quint64 memoryLimit_ = 0;
    UMemoryPagePolicy pagePolicy_ = UMemoryPagePolicy::adaptivePages;
    quint64 nodeCount_ = 0;
    quint64 caseCount_ = 0;
    QStringList nodeNameStrings_;
    // Standard maps: a failed insert into a QHash ends the program (its insert is noexcept).
    std::unordered_map<QString, quint64> nodeNoOfName_;
    // By the node cards' own name objects, which the cards that name a node share.
    std::unordered_map<const UFemCardName*, quint64> nodeNoOfCardName_;
    std::vector<std::array<double, 3>> nodeLocations_;
    QStringList caseNameStrings_;
    std::unordered_map<QString, quint64> caseNoOfName_;
    std::vector<UFemCard*> caseCards_;

    mutable std::mutex matrixCalculatorLock_;
    std::condition_variable matrixCalculatorCondition_;
    Calculators matrixCalculatorArray_;
    std::vector<UFemWFSolutionFigures> solutionFiguresArray_;
    std::vector<_UFemMatrixCalculationCaseInfoRecord> matrixCalculationCaseInfoRecordTable_;
    std::vector<_UFemMatrixCalculationCalculatorInfoRecord> matrixCalculatorInfoRecordTable_;
    bool pauseCalculationRequested_ = false;
    bool quitCalculationRequested_ = false;
    std::shared_ptr<UFemResultDataManagerImpl> resultDataManager_;
    QString calculationInfoString_;
    QDateTime calculationStartDate_;
};
