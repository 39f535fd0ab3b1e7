#pragma once

#include "cards/loads/UFemCaseLinkedCard.h"
#include "cards/loads/UFemRestraintSource.h"

// Prescribes the displacement of one degree of freedom of one node.
class ForceDisp : public UFemOneNodeCaseLinkedCard, public UFemRestraintSource {
public:
    static constexpr quint64 restraintDegreeOfFreedomColumnIndex = 2;
    static constexpr quint64 displacementValueColumnIndex = 3;

    explicit ForceDisp(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // One prescribed displacement. Never fails.
    [[nodiscard]] bool putRestraintToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const override;

    std::optional<QString> toolTipStringAddition() const override;

    const UFemCardColumn& restraintDegreeOfFreedomColumn() const
    {
        return column(restraintDegreeOfFreedomColumnIndex);
    }
    const UFemCardColumn& displacementValueColumn() const
    {
        return column(displacementValueColumnIndex);
    }

protected:
    UFemCardName* drawingNodeCardName() const override;
};
