#pragma once

#include "cards/loads/UFemCaseLinkedCard.h"
#include "cards/loads/UFemForceSource.h"

// A concentrated force and moment at one node, in global axes.
class Force : public UFemOneNodeCaseLinkedCard, public UFemForceSource {
public:
    static constexpr quint64 forceNodeNameColumnIndex = 2;
    static constexpr quint64 forceCoordNameColumnIndex = 3;
    static constexpr quint64 forceXValueColumnIndex = 4;
    static constexpr quint64 momentXValueColumnIndex = 7;
    static constexpr quint64 lastColumnIndex = 9;

    explicit Force(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // Puts the force and the moment times the factor, each unless all its components are zero;
    // nothing for a factor of zero. Never fails.
    [[nodiscard]] bool putForceMatrixToMatrixCalculator(UFemMatrixCalculator& matrixCalculator,
        double forceFactor, const UFemCardName& caseName, UErrorPtr* error) const override;

    // Copies the column objects of indexes location..location+length-1 (nullptr for index 0);
    // a range past the last column stops the program.
    void getCardColumns(UFemCardColumn** cardColumns, quint64 location, quint64 length);

    std::optional<QString> toolTipStringAddition() const override;

    const UFemCardColumn& forceNodeNameColumn() const { return column(forceNodeNameColumnIndex); }
    const UFemCardColumn& forceCoordNameColumn() const { return column(forceCoordNameColumnIndex); }
    const UFemCardColumn& forceXValueColumn() const { return column(forceXValueColumnIndex); }
    const UFemCardColumn& forceYValueColumn() const { return column(forceXValueColumnIndex + 1); }
    const UFemCardColumn& forceZValueColumn() const { return column(forceXValueColumnIndex + 2); }
    const UFemCardColumn& momentXValueColumn() const { return column(momentXValueColumnIndex); }
    const UFemCardColumn& momentYValueColumn() const { return column(momentXValueColumnIndex + 1); }
    const UFemCardColumn& momentZValueColumn() const { return column(momentXValueColumnIndex + 2); }

protected:
    UErrorPtr checkOwnErrorToRegister() const override;
    UFemCardName* drawingNodeCardName() const override;
    // The force and the moment as arrows, each unless all its components are zero.
    void drawAtNode(UGLDrawingBuffer* drawingBuffer, const double* nodePosition,
        const _UGLColor* color, const UFemGraphicDrawingInfo& drawingInfo) const override;

private:
    // The three values from the column index on.
    void getVector(double vector[3], quint64 firstColumnIndex) const;
};
