#pragma once

#include "cards/loads/UFemCaseLinkedCard.h"
#include "cards/loads/UFemRestraintSource.h"

// A linear multi-point constraint:
//   Base Factor x u(Restraint DOF) + Value 0 x u(DOF 0) + Value 1 x u(DOF 1) + ... = 0.
// After its three fixed columns come value/DOF pairs, as many as the card is given: the class's
// column count is unbounded, so nothing is ever sized by it.
class RestraintEquation : public UFemCaseLinkedCard, public UFemRestraintSource {
public:
    static constexpr quint64 restraintDegreeOfFreedomBaseValueColumnIndex = 2;
    static constexpr quint64 restraintDegreeOfFreedomColumnIndex = 3;
    static constexpr quint64 firstArgumentColumnIndex = 4;

    explicit RestraintEquation(UFemCardDataController* dataController);
    ~RestraintEquation() override;

    static const UFemCardClass& cardClassObject();

    // Index 4 or more creates the missing argument columns up to it.
    UFemCardColumn* cardColumnAtIndex(quint64 columnIndex) override;
    // Pages through the fixed and argument columns, never more than the table size at a time.
    quint64 getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
        quint64 cardColumnTableSize, quint64* nextCardColumnIndex) override;
    quint64 numberOfCurrentColumns() const override;
    // Up to 3: empties the fixed columns from the index and removes every argument column;
    // from 4: removes the argument columns from that index on.
    void resetColumnsAfterIndex(quint64 columnIndex) override;
    void invalidiate() override;

    // The number of value/DOF pairs; an incomplete pair stops the program.
    quint64 numberOfRestraintEquationPairs() const;
    quint64 numberOfArgumentColumns() const { return restraintEquationArgumentColumnArray_.size(); }

    // u(dependent) = sum of (-Value i / Base Factor) x u(DOF i). Never fails.
    [[nodiscard]] bool putRestraintToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const override;

    std::optional<QString> toolTipStringAddition() const override;

    // The dependent node first, then the node of each pair.
    quint64 numberOfNodeForDrawing() const override;
    bool doesDrawWhenNotAllNodeValid() const override { return true; }

    const UFemCardColumn& restraintDegreeOfFreedomBaseValueColumn() const
    {
        return column(restraintDegreeOfFreedomBaseValueColumnIndex);
    }
    const UFemCardColumn& restraintDegreeOfFreedomColumn() const
    {
        return column(restraintDegreeOfFreedomColumnIndex);
    }
    const UFemCardColumn& valueColumnOfPair(quint64 pairNo) const
    {
        return argumentColumn(2 * pairNo);
    }
    const UFemCardColumn& dofColumnOfPair(quint64 pairNo) const
    {
        return argumentColumn(2 * pairNo + 1);
    }

protected:
    bool isRequiredColumnAtIndex(quint64 columnIndex) const override;
    // One past the current columns when the last pair lacks its DOF.
    quint64 numberOfColumnsToCheckForEmpty() const override;
    UErrorPtr checkOwnErrorToRegister() const override;
    UFemCardName* nodeCardNameForDrawing(quint64 nodeNo) const override;
    // A restraint marker at the dependent node, lines to the independent ones and smaller markers
    // there.
    void drawAtNodes(UGLDrawingBuffer* drawingBuffer, const double* nodePositionTable,
        const _UGLColor* color, const _UFemCardValueArraySize* colorCardValueArraySize,
        const double* colorCardValue, const UFemColorScale* colorScale,
        const UFemGraphicDrawingInfo& drawingInfo) const override;

private:
    // Lines from the dependent node to the independent ones, in groups of a few segments.
    static constexpr quint64 linesPerGroup = 8;
    static constexpr double lineWidthPerRestraintSize = 0.1;
    static constexpr double minimumLineWidth = 1.0;
    // Independent node markers: half the restraint size when that is below the limit, else
    // between the minimum and the restraint size, and no smaller than 1.4 node sizes.
    static constexpr double smallMarkerLimit = 1.4;
    static constexpr double minimumMarkerDiameter = 4.0;

    static void drawLinesToIndependentNodes(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, quint64 pairs, const _UGLColor* color,
        const UFemGraphicDrawingInfo& drawingInfo);
    static double independentNodeMarkerDiameter(double restraintSize, double nodeSize);
    const UFemCardColumn& argumentColumn(quint64 position) const;
    UFemCardColumn* columnPointerAtIndex(quint64 columnIndex) const;

    // Argument column k has column index k + 4: a value for even k, a DOF for odd k.
    std::vector<std::unique_ptr<UFemCardColumn>> restraintEquationArgumentColumnArray_;
};
