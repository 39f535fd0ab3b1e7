#pragma once

#include "cards/loads/UFemCaseLinkedCard.h"
#include "cards/loads/UFemRestraintSource.h"

// Fixes the chosen degrees of freedom of one node at zero displacement.
class FixNode : public UFemOneNodeCaseLinkedCard, public UFemRestraintSource {
public:
    static constexpr quint64 fixNodeNameColumnIndex = 2;
    // Tx, Ty, Tz, Rx, Ry, Rz follow.
    static constexpr quint64 txFixFlagColumnIndex = 3;

    explicit FixNode(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // One fixed restraint per set flag, Tx to Rz. Never fails.
    [[nodiscard]] bool putRestraintToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const override;

    std::optional<QString> toolTipStringAddition() const override;

    const UFemCardColumn& fixNodeNameColumn() const { return column(fixNodeNameColumnIndex); }
    // 0..5 for Tx, Ty, Tz, Rx, Ry, Rz.
    const UFemCardColumn& fixFlagColumn(quint64 direction6) const
    {
        return column(txFixFlagColumnIndex + direction6);
    }

protected:
    UFemCardName* drawingNodeCardName() const override;
};
