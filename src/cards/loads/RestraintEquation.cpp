#include "cards/loads/RestraintEquation.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "cards/UFemCardDrawing.h"
#include "cards/UFemDegreeOfFreedom.h"
#include "foundation/errors/UException.h"
#include "graphics/primitives/UGLBallPrimitives.h"
#include "graphics/primitives/UGLBandPrimitives.h"

#include <algorithm>
#include <array>

namespace {

const UFemCardColumnShape restraintEquationColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemRestraintCardType },
    { "Base Factor", CARD_COLUMN_TYPE_FLOAT_VALUE },
    { "Restraint DOF", UFemDegreeOfFreedomColumnType },
};

const UFemConcreteCardClassShape restraintEquationShape { "RestraintEquation",
    UFemRestraintCardType, 130, restraintEquationColumns };

constexpr quint64 initialArgumentColumnCapacity = 8;

QString columnLabel(quint64 columnIndex)
{
    static const std::array<const char*, RestraintEquation::firstArgumentColumnIndex> labels {
        "RestraintEquation", "Card Name", "Base Factor", "Restraint DOF"
    };
    if (columnIndex < labels.size())
        return QString::fromUtf8(labels[columnIndex]);
    const quint64 position = columnIndex - RestraintEquation::firstArgumentColumnIndex;
    return UFormattedString(position % 2 == 0 ? "Value %lu" : "DOF %lu", position / 2);
}

UFemCardClassDescription restraintEquationClassDescription()
{
    UFemCardClassDescription description
        = UFemMakeCardClassDescription<RestraintEquation>(restraintEquationShape);
    description.numberOfColumns = UFemColumnExpandableNumberOfColumns;
    description.columnLabelStringAtIndex = columnLabel;
    return description;
}

} // namespace

RestraintEquation::RestraintEquation(UFemCardDataController* dataController)
    : UFemCaseLinkedCard(cardClassObject(), restraintEquationShape, dataController)
{
    restraintEquationArgumentColumnArray_.reserve(initialArgumentColumnCapacity);
}

RestraintEquation::~RestraintEquation()
{
    RestraintEquation::invalidiate();
}

const UFemCardClass& RestraintEquation::cardClassObject()
{
    static const UFemCardClass cardClass(restraintEquationClassDescription());
    return cardClass;
}

UFemCardColumn* RestraintEquation::cardColumnAtIndex(quint64 columnIndex)
{
    if (columnIndex < firstArgumentColumnIndex)
        return UFemCaseLinkedCard::cardColumnAtIndex(columnIndex);
    auto& arguments = restraintEquationArgumentColumnArray_;
    const quint64 position = columnIndex - firstArgumentColumnIndex;
    while (arguments.size() <= position) {
        const quint64 k = arguments.size();
        const qint32 columnType
            = k % 2 == 0 ? CARD_COLUMN_TYPE_FLOAT_VALUE : UFemDegreeOfFreedomColumnType;
        arguments.push_back(
            std::make_unique<UFemCardColumn>(this, k + firstArgumentColumnIndex, columnType, 0));
    }
    return arguments[position].get();
}

UFemCardColumn* RestraintEquation::columnPointerAtIndex(quint64 columnIndex) const
{
    if (columnIndex == 0)
        return nullptr;
    if (columnIndex < firstArgumentColumnIndex)
        return const_cast<UFemCardColumn*>(&column(columnIndex));
    return restraintEquationArgumentColumnArray_[columnIndex - firstArgumentColumnIndex].get();
}

const UFemCardColumn& RestraintEquation::argumentColumn(quint64 position) const
{
    if (position >= restraintEquationArgumentColumnArray_.size())
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    return *restraintEquationArgumentColumnArray_[position];
}

quint64 RestraintEquation::getCardColumnsToCardColumnTable(
    UFemCardColumn** cardColumnTable, quint64 cardColumnTableSize, quint64* nextCardColumnIndex)
{
    const quint64 n = numberOfCurrentColumns();
    const quint64 start = *nextCardColumnIndex;
    const quint64 count = start < n ? std::min(cardColumnTableSize, n - start) : 0;
    for (quint64 i = 0; i < count; ++i)
        cardColumnTable[i] = columnPointerAtIndex(start + i);
    *nextCardColumnIndex = start + count < n ? start + count : 0;
    return count;
}

quint64 RestraintEquation::numberOfCurrentColumns() const
{
    return firstArgumentColumnIndex + restraintEquationArgumentColumnArray_.size();
}

void RestraintEquation::resetColumnsAfterIndex(quint64 columnIndex)
{
    auto& arguments = restraintEquationArgumentColumnArray_;
    if (columnIndex >= firstArgumentColumnIndex) {
        const quint64 position = columnIndex - firstArgumentColumnIndex;
        if (position < arguments.size())
            arguments.erase(arguments.begin() + qsizetype(position), arguments.end());
        return;
    }
    for (quint64 index = std::max<quint64>(columnIndex, 1); index < firstArgumentColumnIndex;
         ++index)
        UFemCaseLinkedCard::cardColumnAtIndex(index)->resetColumn();
    arguments.clear();
}

void RestraintEquation::invalidiate()
{
    UFemCaseLinkedCard::invalidiate();
    restraintEquationArgumentColumnArray_.clear();
}

bool RestraintEquation::isRequiredColumnAtIndex(quint64 columnIndex) const
{
    return columnIndex >= 1;
}

quint64 RestraintEquation::numberOfColumnsToCheckForEmpty() const
{
    return numberOfCurrentColumns() + restraintEquationArgumentColumnArray_.size() % 2;
}

UErrorPtr RestraintEquation::checkOwnErrorToRegister() const
{
    const quint64 pairs = numberOfRestraintEquationPairs();
    if (pairs < 1) {
        return UFemCardRegisterError("No 'Factor'-'DOF(Independent)' pare. Minimum one pare of "
                                     "'Factor'-'DOF' are required.");
    }
    const UFemCardColumn& dependent = restraintDegreeOfFreedomColumn();
    for (quint64 pair = 0; pair < pairs; ++pair) {
        const UFemCardColumn& independent = dofColumnOfPair(pair);
        if (independent.nodeCardName() == dependent.nodeCardName()
            && independent.direction6() == dependent.direction6()) {
            return UFemCardRegisterError("'%@' (%@) is also in Independent DOF.",
                dependent.columnString().value_or(QString()), "Restraint DOF");
        }
    }
    if (restraintDegreeOfFreedomBaseValueColumn().doubleValue() == 0.0)
        return UFemCardRegisterError("'%@' (column 3) is Zero.", "Base Factor");
    return nullptr;
}

quint64 RestraintEquation::numberOfRestraintEquationPairs() const
{
    const quint64 count = restraintEquationArgumentColumnArray_.size();
    if (count % 2 != 0) {
        UFemRaiseCardClassProgramError(
            QStringLiteral("([restraintEquationArgumentColumnArray count] & 1) != 0."));
    }
    return count / 2;
}

bool RestraintEquation::putRestraintToMatrixCalculator(
    UFemMatrixCalculator& matrixCalculator, UErrorPtr*) const
{
    const quint64 pairs = numberOfRestraintEquationPairs();
    const UFemCardColumn& dependentColumn = restraintDegreeOfFreedomColumn();
    const UFemCardName* dependentName = dependentColumn.nodeCardName();
    if (dependentName == nullptr)
        return true;
    const double k = -1.0 / restraintDegreeOfFreedomBaseValueColumn().doubleValue();
    std::vector<_UFemRestraintEquationTableComponent> table;
    table.reserve(pairs);
    for (quint64 pair = 0; pair < pairs; ++pair) {
        const UFemCardColumn& dofColumn = dofColumnOfPair(pair);
        if (dofColumn.nodeCardName() == nullptr)
            return true;
        const UFemDegreeOfFreedom dof = UFemDegreeOfFreedomOfDirection6(dofColumn.direction6());
        table.push_back({ dofColumn.nodeCardName(), qint8(dof.rotation), dof.direction,
            valueColumnOfPair(pair).doubleValue() * k });
    }
    const UFemDegreeOfFreedom dependent
        = UFemDegreeOfFreedomOfDirection6(dependentColumn.direction6());
    matrixCalculator.addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(
        pairs, table.data(), *dependentName, dependent.rotation, dependent.direction);
    return true;
}

std::optional<QString> RestraintEquation::toolTipStringAddition() const
{
    QString text = UFormattedString("( (%@)×%@",
        restraintDegreeOfFreedomBaseValueColumn().columnString().value_or(QString()),
        restraintDegreeOfFreedomColumn().columnString().value_or(QString()));
    const quint64 completePairs = restraintEquationArgumentColumnArray_.size() / 2;
    for (quint64 pair = 0; pair < completePairs; ++pair) {
        text += UFormattedString(" + (%@)×%@",
            valueColumnOfPair(pair).columnString().value_or(QString()),
            dofColumnOfPair(pair).columnString().value_or(QString()));
    }
    return text + QStringLiteral(" = 0.0 )");
}

quint64 RestraintEquation::numberOfNodeForDrawing() const
{
    return numberOfRestraintEquationPairs() + 1;
}

UFemCardName* RestraintEquation::nodeCardNameForDrawing(quint64 nodeNo) const
{
    if (nodeNo == 0)
        return restraintDegreeOfFreedomColumn().nodeCardName();
    return dofColumnOfPair(nodeNo - 1).nodeCardName();
}

void RestraintEquation::drawAtNodes(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color, const _UFemCardValueArraySize*,
    const double*, const UFemColorScale*, const UFemGraphicDrawingInfo& drawingInfo) const
{
    const double r = drawingInfo.restraintSize();
    UGLWriteNodeMarker(drawingBuffer, nodePositionTable, color, &drawingInfo, r);
    const quint64 pairs = numberOfNodeForDrawing() - 1;
    if (pairs == 0)
        return;
    drawLinesToIndependentNodes(drawingBuffer, nodePositionTable, pairs, color, drawingInfo);
    const double m = independentNodeMarkerDiameter(r, drawingInfo.nodeSize());
    for (quint64 node = 1; node <= pairs; ++node)
        UGLWriteNodeMarker(drawingBuffer, nodePositionTable + node * UFemNodePositionTableStride,
            color, &drawingInfo, m);
}

void RestraintEquation::drawLinesToIndependentNodes(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, quint64 pairs, const _UGLColor* color,
    const UFemGraphicDrawingInfo& drawingInfo)
{
    const double width
        = std::max(lineWidthPerRestraintSize * drawingInfo.restraintSize(), minimumLineWidth);
    // Each group: the dependent node, then up to a group's independent nodes.
    double points[3 * (linesPerGroup + 1)];
    quint64 pairTable[2 * linesPerGroup];
    std::copy_n(nodePositionTable, 3, points);
    for (quint64 first = 1; first <= pairs; first += linesPerGroup) {
        const quint64 count = std::min(linesPerGroup, pairs + 1 - first);
        for (quint64 k = 0; k < count; ++k) {
            std::copy_n(nodePositionTable + (first + k) * UFemNodePositionTableStride, 3,
                points + 3 * (k + 1));
            pairTable[2 * k] = 0;
            pairTable[2 * k + 1] = k + 1;
        }
        UGLWriteLineSegmentBands(
            drawingBuffer, points, pairTable, count, color, &drawingInfo, width);
    }
}

double RestraintEquation::independentNodeMarkerDiameter(double restraintSize, double nodeSize)
{
    const double half = 0.5 * restraintSize;
    if (half < smallMarkerLimit)
        return half;
    return std::min(restraintSize, std::max({ minimumMarkerDiameter, 1.4 * nodeSize, half }));
}
