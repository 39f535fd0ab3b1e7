#pragma once

#include "cards/elements/UFemElementCard.h"
#include "cards/elements/UFemQuad4cGeometry.h"

// The four-node shell element: a Shell Prop card and Node 1 to Node 4 around the element, which
// fix its natural coordinates and the side of its normal. Every operation works on its own
// storage and only reads the model and the results, so values, centres and drawing may be asked
// from several threads while the calculation takes the stiffness.
class Quad4c : public UFemElementCard {
public:
    static constexpr quint64 shellPropNameColumnIndex = propertyNameColumnIndex;

    explicit Quad4c(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    bool isRotationDisplacementValid() const override { return true; }
    UFemCardName* nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const override;
    // The quadrilateral with its edges, its corners coloured by value when values are given.
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;
    bool isSelectDrawingViewIndependent() const override { return true; }

    // 0.0 with the error when it fails.
    double thickness(UErrorPtr* error) const;

    [[nodiscard]] bool getQuadElementMatrixWholeElementInfo(
        UFemQuad4cElementMatrixWholeElementInfo* elementInfo, UErrorPtr* error) const;
    // 24 x 24, row-major. A folded, collapsed or zero-thickness element fails with an error
    // naming the card instead of giving non-finite entries.
    [[nodiscard]] bool getElementStiffnessMatrix(double* stiffnessMatrix, UErrorPtr* error) const;
    [[nodiscard]] bool putElementStiffnessMatrixToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const override;

    // n x 6 strains or stresses at the natural points in the points' local frames.
    [[nodiscard]] bool getStrainMatrixTable(double* strainTable, const double (*naturalPoints)[3],
        quint64 numberOfPoint, const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getStressMatrixTable(double* stressTable, const double (*naturalPoints)[3],
        quint64 numberOfPoint, const UFemCard* caseCard, UErrorPtr* error) const;

    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const override;

    const UFemCardColumn& shellPropNameColumn() const { return propertyNameColumn(); }

protected:
    UErrorPtr checkOwnErrorToRegister() const override;
    UErrorPtr checkOwnErrorToRun() const override;

private:
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);
    // Translations and rotations of Node 1 to Node 4 in the case, 24 values.
    [[nodiscard]] bool getNodeDisplacementTable(
        double* displacement, const UFemCard* caseCard, UErrorPtr* error) const;
    // The stresses at the eight corner-face output points.
    [[nodiscard]] bool getOutputPointStresses(
        double* stressTable, const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getNodeForces(
        double* nodeForces, const UFemCard* caseCard, UErrorPtr* error) const;
    // The point-related value (not Thickness and the material values) of a type answered.
    [[nodiscard]] bool getResultCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const;

    static inline quint32 vonMisesStressCardValueType_ = 0;
    static inline quint32 elementStressCardValueType_ = 0;
    static inline quint32 elementStrainCardValueType_ = 0;
    static inline quint32 elementNodeForceCardValueType_ = 0;
    static inline quint32 shellForceCardValueType_ = 0;
    static inline quint32 thicknessCardValueType_ = 0;
    static inline quint32 youngsModulusCardValueType_ = 0;
    static inline quint32 poissonsRatioCardValueType_ = 0;
    static inline quint32 nodeMinorCardValueType_ = 0;
    static inline quint32 shellFaceMinorCardValueType_ = 0;
};
