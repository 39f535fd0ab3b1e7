#pragma once

#include "cards/loads/UFemForceSource.h"
#include "cards/loads/UFemSetCard.h"

// Adds the cards of a force name, times a factor, to the force name of the card.
class ForceSet : public UFemSetCard, public UFemForceSource {
public:
    static constexpr quint64 forceMultipleValueColumnIndex = 2;
    static constexpr quint64 forceNameColumnIndex = 3;

    explicit ForceSet(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // Puts every member with Factor times the given factor; nothing when that is zero. The first
    // member error stops it.
    [[nodiscard]] bool putForceMatrixToMatrixCalculator(UFemMatrixCalculator& matrixCalculator,
        double forceFactor, const UFemCardName& caseName, UErrorPtr* error) const override;

    const UFemCardColumn& forceMultipleValueColumn() const
    {
        return column(forceMultipleValueColumnIndex);
    }
    const UFemCardColumn& forceNameColumn() const { return column(forceNameColumnIndex); }

protected:
    // "(Factor)×Force".
    QString memberNameText() const override;
    bool drawsMembers() const override;
    // A copy whose force scale factor is multiplied by Factor; the moment scale factor is kept.
    const UGLDrawingInfo* drawingInfoForMembers(const UGLDrawingInfo* drawingInfo,
        std::optional<UFemGraphicDrawingInfo>* changedDrawingInfo) const override;
};
