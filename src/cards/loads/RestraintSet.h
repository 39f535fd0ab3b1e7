#pragma once

#include "cards/loads/UFemRestraintSource.h"
#include "cards/loads/UFemSetCard.h"

// Adds the cards of a restraint name to the restraint name of the card.
class RestraintSet : public UFemSetCard, public UFemRestraintSource {
public:
    static constexpr quint64 restraintNameColumnIndex = 2;

    explicit RestraintSet(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // Puts every member; the first member error stops it.
    [[nodiscard]] bool putRestraintToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const override;

    const UFemCardColumn& restraintNameColumn() const { return column(restraintNameColumnIndex); }
};
