#include "cards/elements/Quad4c.h"

#include "cardmodel/card/UFemCardType.h"
#include "cards/Node.h"
#include "cards/UFemCardDrawing.h"
#include "cards/elements/UFemElementMatrixAddition.h"
#include "cards/elements/UFemQuad4cStiffness.h"
#include "cards/properties/UFemMaterialPropertySource.h"
#include "cards/properties/UFemThicknessSource.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "graphics/primitives/UGLSolidPrimitives.h"

#include <cmath>

namespace {

const UFemCardColumnShape quadColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemElementCardType },
    { "Shell Prop", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemElementPropCardType },
    { "Node 1", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 2", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 3", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 4", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
};

const UFemConcreteCardClassShape quadShape { "Quad", UFemElementCardType, 142, quadColumns };

} // namespace

Quad4c::Quad4c(UFemCardDataController* dataController)
    : UFemElementCard(cardClassObject(), quadShape, dataController, UFemQuad4cNodeCount)
{
}

const UFemCardClass& Quad4c::cardClassObject()
{
    return UFemCardClassObject<Quad4c>(quadShape, registerCardValueTypes);
}

UErrorPtr Quad4c::checkOwnErrorToRegister() const
{
    return sameNodeErrorToRegister("Some of Nodes ( Node 1 ~ Node 4 ) are same.");
}

UErrorPtr Quad4c::checkOwnErrorToRun() const
{
    const UFemCard* shellProp = shellPropNameColumn().card();
    if (dynamic_cast<const UFemThicknessSource*>(shellProp) != nullptr
        && dynamic_cast<const UFemMaterialPropertySource*>(shellProp) != nullptr)
        return nullptr;
    return UFemCardRunError("Card '%@' (%@) does not return 'Thickness', or 'Material Property'.",
        shellPropNameColumn().cardNameString().value_or(QString()), "Shell Prop");
}

UFemCardName* Quad4c::nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const
{
    if (nodeNo >= UFemQuad4cNodeCount)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    return nodeNameColumn(nodeNo).cardName();
}

bool Quad4c::drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
    const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const
{
    _UGLColor cornerColors[UFemQuad4cNodeCount];
    const _UGLColor* corners[UFemQuad4cNodeCount] = {};
    if (!UFemGetElementNodeColors(cardInfoString(), UFemQuad4cNodeCount, colorCardValueArraySize,
            colorCardValue, colorScale, cornerColors, corners, error))
        return true;
    const UFemGraphicDrawingInfo* graphicDrawingInfo = UFemGraphicDrawingInfoOf(drawingInfo);
    if (graphicDrawingInfo == nullptr)
        return true;
    const auto position
        = [&](quint64 node) { return nodePositionTable + node * UFemNodePositionTableStride; };
    UGLWriteQuadrilateral(drawingBuffer, position(0), corners[0], position(1), corners[1],
        position(2), corners[2], position(3), corners[3], color,
        graphicDrawingInfo->edgeDrawingInfoPtr(), graphicDrawingInfo);
    return true;
}

double Quad4c::thickness(UErrorPtr* error) const
{
    const auto* source = dynamic_cast<const UFemThicknessSource*>(shellPropNameColumn().card());
    if (source == nullptr) {
        UFemSetError(error,
            UFemNoCardRegisteredToGetValueForCardNameError_withCardNameString(
                shellPropNameColumn().cardNameString().value_or(QString())));
        return 0.0;
    }
    return source->thickness(error);
}

bool Quad4c::getQuadElementMatrixWholeElementInfo(
    UFemQuad4cElementMatrixWholeElementInfo* elementInfo, UErrorPtr* error) const
{
    if (!getMaterialProperty(&elementInfo->materialProperty, error))
        return false;
    UErrorPtr thicknessError;
    elementInfo->thickness = thickness(&thicknessError);
    if (thicknessError) {
        UFemSetError(error, thicknessError);
        return false;
    }
    double nodeLocations[UFemQuad4cNodeCount][3];
    for (quint64 nodeNo = 0; nodeNo < UFemQuad4cNodeCount; ++nodeNo)
        if (!getNodeLocation(nodeLocations[nodeNo], nodeNo, error))
            return false;
    UFemQuad4cFillElementGeometry(elementInfo, nodeLocations);
    if (UFemQuad4cHasRegularFrames(*elementInfo))
        return true;
    UFemSetError(error,
        UFemCalculationFailedWhileSetupError_withDescription(
            ULocalizedFormattedString("The nodes of %@ '%@' coincide or fold the element.",
                cardLabelString(), cardNameString().value_or(QString())),
            ULocalizedString("Check that the four nodes are apart and run around the element.")));
    return false;
}

bool Quad4c::getElementStiffnessMatrix(double* stiffnessMatrix, UErrorPtr* error) const
{
    UFemQuad4cElementMatrixWholeElementInfo elementInfo;
    if (!getQuadElementMatrixWholeElementInfo(&elementInfo, error))
        return false;
    UFemQuad4cMakeElementStiffnessMatrix(stiffnessMatrix, elementInfo);
    if (UFemIsEveryEntryFinite(stiffnessMatrix, UFemQuad4cNodalDOFCount * UFemQuad4cNodalDOFCount))
        return true;
    UFemSetError(error,
        UFemCalculationFailedWhileSetupError_withDescription(
            ULocalizedFormattedString("The stiffness of %@ '%@' is not finite.", cardLabelString(),
                cardNameString().value_or(QString())),
            ULocalizedString("Check that the element's thickness and material are not zero.")));
    return false;
}

bool Quad4c::putElementStiffnessMatrixToMatrixCalculator(
    UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const
{
    double stiffnessMatrix[UFemQuad4cNodalDOFCount * UFemQuad4cNodalDOFCount];
    if (!getElementStiffnessMatrix(stiffnessMatrix, error))
        return false;
    const UFemCardName* nodeCardNames[UFemQuad4cNodeCount];
    for (quint64 nodeNo = 0; nodeNo < UFemQuad4cNodeCount; ++nodeNo)
        nodeCardNames[nodeNo] = nodeCardNameForDrawingWithNodeNo(nodeNo);
    UFemQuad4cPutElementStiffnessBlocks(matrixCalculator, stiffnessMatrix, nodeCardNames);
    return true;
}
