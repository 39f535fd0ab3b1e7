#pragma once

#include "calculation/solver/UFemWFMatrixCalculator.h"
#include "cardmodel/card/UFemCardName.h"

#include <array>
#include <memory>
#include <vector>

// A model as cards would put it into a matrix calculator: node and case names, stiffness blocks,
// loads and restraints, and its dense solution for checking.
class CalculatorTestModel : public UFemWFMatrixCalculatorDelegate {
public:
    struct Block {
        quint64 node1, rotation1, node2, rotation2;
        std::array<double, 9> values;
    };
    struct Load {
        quint64 node, rotation, caseIndex;
        std::array<double, 3> values;
    };
    struct Term {
        quint64 node, rotation, direction;
        double factor;
    };
    enum class Kind { Fixed, Forced, Equation };
    struct Restraint {
        Kind kind;
        quint64 node, rotation, direction;
        double value = 0.0;
        std::vector<Term> terms;
    };

    CalculatorTestModel(std::vector<std::array<double, 3>> locations, quint64 caseCount);

    quint64 nodeCount() const { return locations_.size(); }
    quint64 caseCount() const { return caseNames_.size(); }
    const UFemCardName& nodeName(quint64 n) const { return *nodeNames_[n]; }

    // A bar of axial stiffness EA/L between two nodes (translations only).
    void addBar(quint64 a, quint64 b, double EA);
    // A spring of stiffness k between the translations `direction` of two nodes.
    void addSpring(quint64 a, quint64 b, quint64 direction, double k);
    void addBlock(const Block& block) { blocks_.push_back(block); }
    void addLoad(quint64 node, quint64 rotation, quint64 caseIndex, std::array<double, 3> values);
    void fix(quint64 node, quint64 rotation, quint64 direction);
    void force(quint64 node, quint64 rotation, quint64 direction, double value);
    void equation(quint64 node, quint64 rotation, quint64 direction, std::vector<Term> terms);

    // Puts everything through the card interface and runs the set-up up to the ordering.
    std::unique_ptr<UFemWFMatrixCalculator> setUpCalculator(
        UErrorPtr* error, UMemoryPagePolicy pagePolicy = UMemoryPagePolicy::adaptivePages);
    // Puts the stiffness only (before a copy).
    std::unique_ptr<UFemWFMatrixCalculator> stiffnessCalculator(
        UMemoryPagePolicy pagePolicy = UMemoryPagePolicy::adaptivePages);
    // Loads and restraints into a calculator that holds the stiffness; then set-up step 4.
    bool completeCalculator(UFemWFMatrixCalculator& calculator, UErrorPtr* error);

    // 6 x nodes x cases values, DOF-major ([6n + 3r + d][c]), from the dense equations with the
    // restraints as u = T q + u0; degrees of freedom without stiffness are 0.
    std::vector<double> denseSolution() const;

    // UFemWFMatrixCalculatorDelegate
    quint64 nodeNoWithNodeNameString(const QString& nodeNameString) const override;
    QString nodeNameStringWithNodeNo(quint64 nodeNo) const override;
    quint64 caseIndexWithCaseNameString(const QString& caseNameString, quint64) const override;
    QString caseNameStringWithCaseIndex(quint64 caseIndex, quint64) const override;
    void getNodeLocation(double* location, quint64 nodeNo) const override;

private:
    std::vector<std::array<double, 3>> locations_;
    std::vector<std::shared_ptr<UFemCardName>> nodeNames_;
    std::vector<std::shared_ptr<UFemCardName>> caseNames_;
    std::vector<Block> blocks_;
    std::vector<Load> loads_;
    std::vector<Restraint> restraints_;
};

// The calculator's displacements in the dense layout of denseSolution(); triples without a row
// read 0.
std::vector<double> calculatorSolution(
    const UFemWFMatrixCalculator& calculator, quint64 nodeCount, quint64 caseCount);
// Runs prepare, run and finalize; false with the error of the first failing step.
bool solveCalculator(UFemWFMatrixCalculator& calculator, UErrorPtr* error);
// Largest difference relative to the largest reference value.
double relativeDifference(const std::vector<double>& value, const std::vector<double>& reference);
