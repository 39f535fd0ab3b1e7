#pragma once

#include "cards/elements/UFemElementCard.h"
#include "cards/elements/UFemHexaElementMatrix.h"

// The 8-node trilinear solid: Solid Prop, then Node 1 to Node 8 (1-4 on one face, 5-8 on the
// opposite one in the same turning order). Strains and stresses are in global axes, evaluated at
// the nodes themselves.
class Hexa : public UFemElementCard {
public:
    explicit Hexa(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    UFemCardName* nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const override;

    // A volume that is zero, negative or not finite stops the run.
    UErrorPtr checkWarningToRun() const override;

    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const override;

    // The solid with its edges, its nodes coloured by value when values are given.
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;
    bool isSelectDrawingViewIndependent() const override { return true; }
    bool addSolidFacesToSharedFaceTable(
        UGLSharedFaceTable* table, const double* nodePositionTable) const override;

    [[nodiscard]] bool putElementStiffnessMatrixToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const override;

    // The material, then the node locations.
    [[nodiscard]] bool getHexaElementMatrixWholeElementInfo(
        __UFemHexaElementMatrixWholeElementInfo* info, UErrorPtr* error) const;
    // 24 x 24, node-major.
    [[nodiscard]] bool getElementStiffnessMatrix(double* stiffnessMatrix, UErrorPtr* error) const;
    // 0.0 on error.
    double volume(UErrorPtr* error) const;
    // Six strains (stresses) per natural point of `eTable` (three coordinates each).
    [[nodiscard]] bool getStrainMatrixTable(double* strainTable, const double* eTable,
        quint64 numberOfPoint, const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getStressMatrixTable(double* stressTable, const double* eTable,
        quint64 numberOfPoint, const UFemCard* caseCard, UErrorPtr* error) const;

    const UFemCardColumn& solidPropNameColumn() const { return propertyNameColumn(); }

protected:
    UErrorPtr checkOwnErrorToRegister() const override;
    UErrorPtr checkOwnErrorToRun() const override;

private:
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);
    [[nodiscard]] bool getElementInfoAndTranslations(__UFemHexaElementMatrixWholeElementInfo* info,
        double* displacement, const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getNodeForceValue(
        double* cardValue, const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getNodeStressValue(
        double* cardValue, bool isVonMises, const UFemCard* caseCard, UErrorPtr* error) const;

    static inline quint32 volumeCardValueType_ = 0;
    static inline quint32 gaussPointMinorCardValueType_ = 0;
};
