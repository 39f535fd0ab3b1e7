#pragma once

#include "cardmodel/card/UFemMatrixCalculator.h"

#include <array>

// A matrix calculator that only measures: it keeps the largest squared force and moment vector
// that force cards put into it and forgets everything else.
class UFemMaxForceCalculatorAsDummyMatrixCalculator final : public UFemMatrixCalculator {
public:
    void reset() { maxForceMomentSquare_ = {}; }

    double maxForceSize() const;
    double maxMomentSize() const;
    const std::array<double, 2>& maxForceMomentSquare() const { return maxForceMomentSquare_; }

    void addForceMatrix(const double* matrix, const UFemCardName& nodeName, quint64 rotation,
        const UFemCardName& caseName) override;
    void addStiffnessMatrix(
        const double*, const UFemCardName&, quint64, const UFemCardName&, quint64) override
    {
    }
    void addFixDisplacementRestraintWithNodeName(const UFemCardName&, quint64, quint64) override { }
    void addForceDisplacementRestraintWithDisplacementValue(
        double, const UFemCardName&, quint64, quint64) override
    {
    }
    void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(quint64,
        const _UFemRestraintEquationTableComponent*, const UFemCardName&, quint64, quint64) override
    {
    }

private:
    // Entry 0 forces, entry 1 moments.
    std::array<double, 2> maxForceMomentSquare_ {};
};
