#pragma once

#include "cards/elements/UFemElementCard.h"

// The two-node axial bar between Node 1 and Node 2: axial force only, the three translations of
// each node. Strains and stresses are in rod axes (x along the rod), node forces in global axes.
class Rod : public UFemElementCard {
public:
    explicit Rod(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    UFemCardName* nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const override;

    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const override;

    // A band or a cylinder of the rod diameter, its ends coloured by value when values are given.
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;

    [[nodiscard]] bool putElementStiffnessMatrixToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const override;

    double length(UErrorPtr* error) const;
    // The section area of the property card; error 42014 naming it when there is none.
    double sectionArea(UErrorPtr* error) const;
    // 6 x 6, Node 1 x, y, z then Node 2 x, y, z.
    [[nodiscard]] bool getElementStiffnessMatrix(double* stiffnessMatrix, UErrorPtr* error) const;
    [[nodiscard]] bool getRodStrainMatrix(
        double* strain, const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getRodStressMatrix(
        double* stress, const UFemCard* caseCard, UErrorPtr* error) const;

    const UFemCardColumn& rodPropNameColumn() const { return propertyNameColumn(); }
    const UFemCardColumn& node1NameColumn() const { return nodeNameColumn(0); }
    const UFemCardColumn& node2NameColumn() const { return nodeNameColumn(1); }

protected:
    UErrorPtr checkOwnErrorToRegister() const override;
    UErrorPtr checkOwnErrorToRun() const override;

private:
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);
    // The axial strain in the case, with the material.
    [[nodiscard]] bool getAxialStrain(double* axialStrain, _UFemMaterialProperty* materialProperty,
        const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getNodeForceValue(
        double* cardValue, const UFemCard* caseCard, UErrorPtr* error) const;
    // "ElementStress", "VonMisesStress" or "RodForce" at both nodes.
    [[nodiscard]] bool getStressValue(
        double* cardValue, quint32 major, const UFemCard* caseCard, UErrorPtr* error) const;
    // "Length", "SectionArea", "YoungsModulus" or "PoissonsRatio".
    [[nodiscard]] bool getElementValue(double* cardValue, quint32 major, UErrorPtr* error) const;

    static inline quint32 rodForceCardValueType_ = 0;
    static inline quint32 lengthCardValueType_ = 0;
    static inline quint32 sectionAreaCardValueType_ = 0;
};
