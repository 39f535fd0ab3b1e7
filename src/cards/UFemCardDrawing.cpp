#include "cards/UFemCardDrawing.h"

#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "foundation/strings/UFormattedString.h"
#include "graphics/colorscale/UFemColorScale.h"

bool UFemGetElementNodeColors(const QString& cardInfoString, quint64 nodeCount,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
    const UFemColorScale* colorScale, _UGLColor* colors, const _UGLColor** nodeColors,
    UErrorPtr* error)
{
    if (colorCardValueArraySize == nullptr || colorCardValueArraySize->numberOfPoints == 0)
        return true;
    const _UFemCardValueArraySize& size = *colorCardValueArraySize;
    if ((size.numberOfPoints != 1 && size.numberOfPoints != nodeCount)
        || size.numberOfSectionPoints != 1 || size.numberOfVectorValues != 1) {
        UFemSetError(error,
            UFemDrawingCardColorCardValueArraySizeError_withCardInfoString(cardInfoString, size,
                UFormattedString("Number of points: 1 or %lu, Number of section points: 1, "
                                 "Number of vector values: 1",
                    nodeCount)));
        return false;
    }
    if (colorScale == nullptr)
        return true;
    for (quint64 node = 0; node < nodeCount; ++node) {
        colorScale->getUGLColor(&colors[node], colorCardValue[size.numberOfPoints == 1 ? 0 : node]);
        nodeColors[node] = &colors[node];
    }
    return true;
}
