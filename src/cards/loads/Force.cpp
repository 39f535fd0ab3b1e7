#include "cards/loads/Force.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "cards/UFemCardDrawing.h"
#include "foundation/errors/UException.h"
#include "graphics/primitives/UGLArrowPrimitives.h"

namespace {

const UFemCardColumnShape forceColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemForceCardType },
    { "Node", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Coord", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemCoordCardType, false },
    { "Fx", CARD_COLUMN_TYPE_FLOAT_VALUE, 0, false },
    { "Fy", CARD_COLUMN_TYPE_FLOAT_VALUE, 0, false },
    { "Fz", CARD_COLUMN_TYPE_FLOAT_VALUE, 0, false },
    { "Mx", CARD_COLUMN_TYPE_FLOAT_VALUE, 0, false },
    { "My", CARD_COLUMN_TYPE_FLOAT_VALUE, 0, false },
    { "Mz", CARD_COLUMN_TYPE_FLOAT_VALUE, 0, false },
};

const UFemConcreteCardClassShape forceShape { "Force", UFemForceCardType, 110, forceColumns };

constexpr quint64 forceRotation = 0;
constexpr quint64 momentRotation = 1;

bool isZeroVector(const double vector[3])
{
    return vector[0] == 0.0 && vector[1] == 0.0 && vector[2] == 0.0;
}

} // namespace

Force::Force(UFemCardDataController* dataController)
    : UFemOneNodeCaseLinkedCard(cardClassObject(), forceShape, dataController)
{
}

const UFemCardClass& Force::cardClassObject()
{
    return UFemCardClassObject<Force>(forceShape);
}

UErrorPtr Force::checkOwnErrorToRegister() const
{
    if (forceCoordNameColumn().isEmptyColumn())
        return nullptr;
    return UFemCardRegisterError("Column '%@' (column 4) must be empty.", "Coord");
}

UFemCardName* Force::drawingNodeCardName() const
{
    return forceNodeNameColumn().cardName();
}

void Force::getVector(double vector[3], quint64 firstColumnIndex) const
{
    for (quint64 i = 0; i < 3; ++i)
        vector[i] = column(firstColumnIndex + i).doubleValue();
}

bool Force::putForceMatrixToMatrixCalculator(UFemMatrixCalculator& matrixCalculator,
    double forceFactor, const UFemCardName& caseName, UErrorPtr*) const
{
    const UFemCardName* nodeName = forceNodeNameColumn().cardName();
    if (forceFactor == 0.0 || nodeName == nullptr)
        return true;
    const std::pair<quint64, quint64> parts[] = {
        { forceXValueColumnIndex, forceRotation },
        { momentXValueColumnIndex, momentRotation },
    };
    for (const auto& [firstColumnIndex, rotation] : parts) {
        double vector[3];
        getVector(vector, firstColumnIndex);
        if (isZeroVector(vector))
            continue;
        for (double& value : vector)
            value *= forceFactor;
        matrixCalculator.addForceMatrix(vector, *nodeName, rotation, caseName);
    }
    return true;
}

void Force::getCardColumns(UFemCardColumn** cardColumns, quint64 location, quint64 length)
{
    if (location > lastColumnIndex || length > lastColumnIndex + 1 - location)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    for (quint64 i = 0; i < length; ++i)
        cardColumns[i] = location + i == 0 ? nullptr : cardColumnAtIndex(location + i);
}

std::optional<QString> Force::toolTipStringAddition() const
{
    QString values[6];
    for (quint64 i = 0; i < 6; ++i)
        values[i]
            = column(forceXValueColumnIndex + i).columnString().value_or(QStringLiteral("0.0"));
    return UFormattedString("( %@, %@, %@, %@, %@, %@ )", values[0], values[1], values[2],
        values[3], values[4], values[5]);
}

void Force::drawAtNode(UGLDrawingBuffer* drawingBuffer, const double* nodePosition,
    const _UGLColor* color, const UFemGraphicDrawingInfo& drawingInfo) const
{
    struct Arrow {
        quint64 firstColumnIndex;
        double scaleFactor;
        UGLForceArrowStyle style;
    };
    const Arrow arrows[] = {
        { forceXValueColumnIndex, drawingInfo.forceScaleFactor(), UGLForceArrowStyleForce },
        { momentXValueColumnIndex, drawingInfo.forceMomentScaleFactor(), UGLForceArrowStyleMoment },
    };
    for (const Arrow& arrow : arrows) {
        double vector[3];
        getVector(vector, arrow.firstColumnIndex);
        if (isZeroVector(vector))
            continue;
        for (double& value : vector)
            value *= drawingInfo.lengthPerPixel() * arrow.scaleFactor;
        UGLWriteForceArrow(drawingBuffer, nodePosition, vector, arrow.style, color, &drawingInfo,
            drawingInfo.forceArrowRodWidth(), drawingInfo.forceArrowHeadSize());
    }
}
